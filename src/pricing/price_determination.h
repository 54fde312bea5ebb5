#pragma once

#include "pricing/price_kind.h"
#include "base/bill.h"
#include "base/clock.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "base/sale.h"
#include "pricing/pricing_statements.h"

#include <cstddef>
#include <string>

namespace pos {

// What the goods input and the price rules use: the statements of the working mode, the
// person told of limits, the working mode's clock, the signed-on state and the member card.
struct PricingContext {
    PricingStatements& sql;
    Person& person;
    const Clock& clock;
    const TPosState& state;
    const CurrentMember& member;
};

struct DeterminedPrice {
    double price = 0;  // 0: no pricing row, or every applicable price is 0
    PriceKind kind = PriceKind::Regular;
};

// The unit price of goods about to be added to the bill, by promotion, special price,
// member price or regular price, in that order. A bill that holds the promotion's limit
// per bill gets no promotion; otherwise that limit and what is left of the promotion may
// lower `quantity` (with a message). A promotional sale takes its quantity from the
// goods' promotion counter at once, on the database of the working mode.
DeterminedPrice DeterminePrice(const PricingContext& c, int goodsId, double& quantity, Bill& bill);

// Before the quantity of a bill line changes: a promotional line keeps its promotion's
// limits, so the counter moves by the difference. More than the limits allow is told
// with the limit message and refused (false), leaving the counter as it was. Other
// lines are always let through.
bool ChangePromotionalQuantity(const PricingContext& c, Bill& bill, std::size_t line, double quantity);

// Sum of Quantity over the bill's lines of these goods; leaves the current line on the
// last line of the bill, as walking the line list does.
double SumQuantityOfGoods(int goodsId, Bill& bill);

// PriceLevel of a member card; 0 when there is no such card.
int MemberPriceLevel(PricingStatements& sql, const std::string& cardNo);

}  // namespace pos
