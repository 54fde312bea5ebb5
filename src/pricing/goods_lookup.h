#pragma once

#include "base/bill.h"
#include "pricing/price_determination.h"

#include <cstddef>
#include <string>

namespace pos {

// The substring search, the last key of the goods input, reads its matches for the pick
// list this many at a time, in goods order: the goods table may hold a million rows.
inline constexpr std::size_t kGoodsMatchPage = 100;

// Turns the goods input of the register into a bill line. The goods are looked up on the
// database of the working mode by bar code, goods code, price-embedded label, package
// bar code, extra bar code, search code and substring, in that order; several matches
// go to the pick list. Without a given price (0) the price comes from DeterminePrice. The
// quantity is merged into the current line when it has the same goods, price, discount
// and price kind; otherwise a line is appended and nextOrderId advances. Goods not found, or
// at price 0, get a message and leave the bill unchanged. `input` is the trimmed text;
// `discount` the percentage of the discount box.
void AddGoodsByInput(const PricingContext& c, const std::string& input, double givenPrice, double quantity, double discount,
                     Bill& bill, int& nextOrderId);

}  // namespace pos
