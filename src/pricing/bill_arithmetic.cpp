#include "pricing/bill_arithmetic.h"

#include "pricing/price_kind.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pos {

double RoundHalfUp(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    // The magnitude as 15 significant decimal digits, correctly rounded: the binary
    // noise below them (1.005 is stored as 1.00499999999999989...) is gone, while every
    // amount the shop can write keeps its digits.
    constexpr int kDigits = 15;
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", kDigits - 1, std::fabs(value));
    std::string digits(1, text[0]);
    digits.append(text + 2, kDigits - 1);
    const int exponent = std::atoi(text + kDigits + 2);  // after "d.<14 digits>e"

    // The magnitude is 0.<digits> × 10^(exponent + 1); keep the digits above the
    // rounding position and look at the first one below it.
    const int keep = exponent + 1 + decimals;
    if (keep >= kDigits)
        return value;
    if (keep < 0)
        return 0.0;
    long long units = keep == 0 ? 0 : std::stoll(digits.substr(0, static_cast<std::size_t>(keep)));
    if (digits[static_cast<std::size_t>(keep)] >= '5')
        ++units;
    // units × 10^-decimals, read back as the nearest binary value.
    const std::string rounded = std::to_string(units) + "e" + std::to_string(-decimals);
    const double magnitude = std::strtod(rounded.c_str(), nullptr);
    return value < 0 ? -magnitude : magnitude;
}

double lineAmountOf(double price, double quantity, double discount, int digit)
{
    const double factor = static_cast<long long>(discount) == 0 ? 1.0 : discount / 100;
    return RoundHalfUp(price * quantity * factor, digit);
}

void LineAmount(Bill& bill, std::size_t line, int digit)
{
    RowSet& d = bill.detail;
    d.at(line, "Amount") = lineAmountOf(d.at(line, "Price").toDouble(), d.at(line, "Quantity").toDouble(),
                                        d.at(line, "Discount").toDouble(), digit);
}

void ApplyBillDiscount(Bill& bill, double rate, int digit)
{
    for (std::size_t line = 0; line < bill.detail.size(); ++line) {
        bill.detail.at(line, "Discount") = rate;
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

BillSums ComputeBillTotals(Bill& bill, const TPosState& state, BillTotals& totals)
{
    BillSums sums;
    double noPoint = 0;
    const RowSet& d = bill.detail;
    for (std::size_t line = 0; line < d.size(); ++line) {
        const double amount = d.at(line, "Amount").toDouble();
        const double quantity = d.at(line, "Quantity").toDouble();
        sums.amount += amount;
        sums.discount += d.at(line, "SPrice1").toDouble() * quantity - amount;
        sums.quantity += quantity;
        if (earnsNoPoints(d.at(line, "Memo").toString(), state))
            noPoint += amount;
    }
    bill.m("Amount") = sums.amount;
    bill.m("RealAmount") = sums.amount;
    totals.DisAmount = sums.discount;
    totals.NoPointAmount = noPoint;
    return sums;
}

double BillPoints(double realAmount, double noPointAmount, int pointRate)
{
    return RoundHalfUp((realAmount - noPointAmount) / (pointRate == 0 ? 1 : pointRate), 2);
}

}  // namespace pos
