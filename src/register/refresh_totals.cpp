#include "register/refresh_totals.h"

#include "base/number_format.h"
#include "pricing/bill_arithmetic.h"
#include "config/terminal.h"

namespace pos {

std::string amountDueText(double amount) { return twoDecimals(amount, 7); }

std::string previousAmountText(double amount) { return twoDecimals(amount, 9); }

TotalsShown RefreshTotals(const TPosState& state, BillTotals& totals, RegisterState& reg)
{
    const BillSums sums = ComputeBillTotals(reg.bill, state, totals);
    totals.TotalQty = sums.quantity;
    return TotalsShown{generalNumber(sums.quantity), amountDueText(sums.amount)};
}

}  // namespace pos
