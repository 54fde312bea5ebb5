#include "pricing/bill_arithmetic.h"

#include "base/number_format.h"
#include "pricing/price_kind.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pos {

double lineAmountOf(double price, double quantity, double discount, int digit)
{
    const double factor = static_cast<long long>(discount) == 0 ? 1.0 : discount / 100;
    return RoundHalfUp(price * quantity * factor, digit);
}

void LineAmount(Bill& bill, std::size_t line, int digit)
{
    const BillLine row = bill.line(line);
    row.amount() = lineAmountOf(row.price().toDouble(), row.quantity().toDouble(), row.discount().toDouble(),
                                digit);
}

void ApplyBillDiscount(Bill& bill, double rate, int digit)
{
    for (std::size_t line = 0; line < bill.detail.size(); ++line) {
        bill.line(line).discount() = rate;
        LineAmount(bill, line, digit);
    }
}

namespace {

bool earnsNoPoints(const std::string& memo, const TPosState& state)
{
    return (memo == kPromotionTag && state.NotPointSP) || (memo == kSpecialTag && state.NotPointLP)
        || (memo == kMemberTag && state.NotPointIP);
}

}  // namespace

double NoPointAmountOf(const Bill& bill, const TPosState& state)
{
    double noPoint = 0;
    for (std::size_t line = 0; line < bill.detail.size(); ++line) {
        const ConstBillLine row = bill.line(line);
        if (earnsNoPoints(row.memo().toString(), state))
            noPoint += row.amount().toDouble();
    }
    return noPoint;
}

BillSums ComputeBillTotals(Bill& bill, const TPosState& state, BillTotals& totals)
{
    BillSums sums;
    for (std::size_t line = 0; line < bill.detail.size(); ++line) {
        const BillLine row = bill.line(line);
        const double amount = row.amount().toDouble();
        const double quantity = row.quantity().toDouble();
        sums.amount += amount;
        sums.discount += row.sPrice1().toDouble() * quantity - amount;
        sums.quantity += quantity;
    }
    bill.amount() = sums.amount;
    bill.realAmount() = sums.amount;
    totals.DisAmount = sums.discount;
    totals.NoPointAmount = NoPointAmountOf(bill, state);
    return sums;
}

double BillPoints(double realAmount, double noPointAmount, int pointRate)
{
    // Two decimals as the fixed-point text gives them, read back.
    double points = 0;
    parseNumber(twoDecimals((realAmount - noPointAmount) / (pointRate == 0 ? 1 : pointRate)), points);
    return points;
}

}  // namespace pos
