#pragma once

#include "register/register_state.h"

#include <string>

namespace pos {

struct Terminal;

// The totals the register shows under the lines.
struct TotalsShown {
    std::string totalQty;   // lblTotalQty: general number format
    std::string amountDue;  // edtAmount: "%7.2f"
};

// Recomputes the bill's totals, writes Amount and RealAmount of the master record and
// TotalQty of BillTotals, and returns what the register shows.
TotalsShown RefreshTotals(Terminal& t, RegisterState& reg);

// Screen formats of amounts.
std::string amountDueText(double amount);       // "%7.2f"
std::string previousAmountText(double amount);  // "%9.2f"

}  // namespace pos
