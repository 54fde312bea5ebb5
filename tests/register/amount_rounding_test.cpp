#include "base/gbk.h"
#include "peripherals/receipt_text.h"
#include "pricing/bill_arithmetic.h"
#include "register/refresh_totals.h"
#include "register/register_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

struct Rounding {
    int digit;
    double price;
    double quantity;
    const char* screen;   // edtAmount, "%7.2f"
    const char* receipt;  // after "应收金额："
};

// Halves at every number of decimals a line amount may carry.
const Rounding kRoundings[] = {
    {0, 2.5, 1, "   3.00", "3"},        {1, 2.25, 1, "   2.30", "2.3"},
    {2, 9.9, 2.85, "  28.22", "28.22"}, {3, 2.675, 1, "   2.68", "2.68"},
    {3, 0.125, 1, "   0.13", "0.13"},   {3, -2.675, 1, "  -2.68", "-2.68"},
    {4, 1.005, 1, "   1.01", "1.01"},   {4, 1.0049, 1, "   1.00", "1"},
};

// What follows a label on the receipt, up to the next blank.
std::string afterLabel(const std::string& receipt, const std::string& label)
{
    const std::size_t at = receipt.find(utf8ToGbk(label));
    if (at == std::string::npos)
        return "(no " + label + ")";
    std::size_t from = receipt.find_first_not_of(' ', at + utf8ToGbk(label).size());
    return receipt.substr(from, receipt.find_first_of(" \r", from) - from);
}

TEST_F(RegisterTest, ScreenAndReceiptRoundTheAmountDueAlikeForEveryDigit)
{
    for (const Rounding& r : kRoundings) {
        SCOPED_TRACE(std::to_string(r.digit) + " decimals, price " + std::to_string(r.price));
        f.state.Digit = r.digit;
        reg.sale.bill.detail.clear();
        const std::size_t line = reg.sale.bill.detail.append();
        reg.sale.bill.line(line).goodsId() = 101;
        reg.sale.bill.line(line).price() = r.price;
        reg.sale.bill.line(line).quantity() = r.quantity;
        reg.sale.bill.line(line).discount() = 100.0;
        LineAmount(reg.sale.bill, line, r.digit);

        const TotalsShown shown = RefreshTotals(f.state, reg.sale);
        EXPECT_EQ(shown.amountDue, r.screen);
        const std::string receipt = ReceiptText(f.settings, reg.sale, 40, ReceiptHeader::of(f.state));
        EXPECT_EQ(afterLabel(receipt, "应收金额："), r.receipt);
    }
}

}  // namespace
}  // namespace pos
