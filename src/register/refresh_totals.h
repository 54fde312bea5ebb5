#pragma once

#include "base/pos_state.h"
#include "base/sale.h"

#include <string>

namespace pos {

// The totals the register shows under the lines.
struct TotalsShown {
    std::string totalQty;   // lblTotalQty: general number format
    std::string amountDue;  // edtAmount: "%7.2f"
};

// Recomputes the sale's totals by the bill arithmetic (Amount and RealAmount of the
// master record, DisAmount and NoPointAmount of its totals), keeps the quantity in
// TotalQty and returns what the register shows. The bill must have its master record.
TotalsShown RefreshTotals(const TPosState& state, Sale& sale);

// Screen formats of amounts.
std::string amountDueText(double amount);       // "%7.2f"
std::string previousAmountText(double amount);  // "%9.2f"

}  // namespace pos
