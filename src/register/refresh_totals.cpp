#include "register/refresh_totals.h"

#include "base/number_format.h"
#include "pricing/bill_arithmetic.h"

namespace pos {

std::string amountDueText(double amount) { return twoDecimals(amount, 7); }

std::string previousAmountText(double amount) { return twoDecimals(amount, 9); }

TotalsShown RefreshTotals(const TPosState& state, Sale& sale)
{
    const BillSums sums = ComputeBillTotals(sale.bill, state, sale.totals);
    sale.totals.TotalQty = sums.quantity;
    return TotalsShown{generalNumber(sums.quantity), amountDueText(sums.amount)};
}

}  // namespace pos
