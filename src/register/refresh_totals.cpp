#include "register/refresh_totals.h"

#include "base/number_format.h"
#include "pricing/bill_arithmetic.h"
#include "config/terminal.h"

#include <fmt/format.h>

namespace pos {

std::string amountDueText(double amount) { return fmt::format("{:7.2f}", amount); }

std::string previousAmountText(double amount) { return fmt::format("{:9.2f}", amount); }

TotalsShown RefreshTotals(const TPosState& state, BillTotals& totals, RegisterState& reg)
{
    const BillSums sums = ComputeBillTotals(reg.bill, state, totals);
    totals.TotalQty = sums.quantity;
    return TotalsShown{generalNumber(sums.quantity), amountDueText(sums.amount)};
}

}  // namespace pos
