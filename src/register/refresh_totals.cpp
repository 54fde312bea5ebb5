#include "register/refresh_totals.h"

#include "config/number_format.h"
#include "register/terminal.h"

#include <fmt/format.h>

namespace pos {
namespace {

struct LineSums {
    double quantity = 0;
    double amount = 0;
};

// Plain sums of the lines; the bill arithmetic with discounts and points takes over here.
LineSums sumLines(const RowSet& lines)
{
    LineSums sums;
    for (std::size_t r = 0; r < lines.size(); ++r) {
        sums.quantity += lines.at(r, "Quantity").toDouble();
        sums.amount += lines.at(r, "Amount").toDouble();
    }
    return sums;
}

}  // namespace

std::string amountDueText(double amount) { return fmt::format("{:7.2f}", amount); }

std::string previousAmountText(double amount) { return fmt::format("{:9.2f}", amount); }

TotalsShown RefreshTotals(Terminal& t, RegisterState& reg)
{
    const LineSums sums = sumLines(reg.bill.detail);
    if (reg.bill.hasMaster()) {
        reg.bill.m("Amount") = sums.amount;
        reg.bill.m("RealAmount") = sums.amount;
    }
    t.totals.TotalQty = sums.quantity;
    return TotalsShown{generalNumber(sums.quantity), amountDueText(sums.amount)};
}

}  // namespace pos
