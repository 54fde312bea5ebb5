#pragma once

#include "base/bill.h"
#include "base/number_format.h"
#include "base/pos_state.h"
#include "base/sale.h"

#include <cstddef>

namespace pos {

// Price × Quantity × Discount / 100, rounded to `digit` decimals; a discount whose whole
// part is 0 charges the full price.
double lineAmountOf(double price, double quantity, double discount, int digit);

// Sets Amount of one bill line from its Price, Quantity and Discount. Runs whenever one
// of those three changes.
void LineAmount(Bill& bill, std::size_t line, int digit);

// Lays one discount rate over every line of the bill, amounts included; the current
// line stays where it was.
void ApplyBillDiscount(Bill& bill, double rate, int digit);

struct BillSums {
    double quantity = 0;
    double amount = 0;
    double discount = 0;  // what the customer saves against the regular prices
};

// Sums the lines, writes Amount and RealAmount of the bill master and sets DisAmount and
// NoPointAmount of the totals. The caller keeps the quantity in TotalQty as it shows it.
BillSums ComputeBillTotals(Bill& bill, const TPosState& state, BillTotals& totals);

// The part of the bill's lines that earns no points: the amounts of the lines whose Memo
// marks a price the settings exclude from points.
double NoPointAmountOf(const Bill& bill, const TPosState& state);

// Points a bill earns: (RealAmount − the amount that earns none) ÷ PointRate, rounded
// to two decimals, halves away from zero. A PointRate of 0 counts as 1.
double BillPoints(double realAmount, double noPointAmount, int pointRate);

}  // namespace pos
