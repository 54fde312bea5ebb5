#include "pricing/auto_discount.h"
#include "pricing/bill_arithmetic.h"
#include "pricing/price_kind.h"
#include "pricing_fixture.h"
#include "support/memory_bill.h"

#include <cmath>
#include <gtest/gtest.h>

namespace pos {
namespace {

TEST(RoundHalfUp, RoundsTheDecimalValueHalvesAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {2.345, 2, 2.35},
        {-2.345, 2, -2.35},
        {1.005, 2, 1.01},  // stored as 1.00499999999999989...
        {-1.005, 2, -1.01},
        {12.5, 0, 13},
        {-12.5, 0, -13},
        {9.90 * 3 * 0.95, 2, 28.22},  // 28.215 formed in binary
        {-9.90 * 3 * 0.95, 2, -28.22},
        {2.675, 2, 2.68},
        {3.335, 2, 3.34},
        {99.995, 2, 100},
        {123456.785, 2, 123456.79},
        {0.005, 2, 0.01},
        {1.00005, 4, 1.0001},
        // Just below a half stays below: only binary noise is forgiven.
        {1.00499999, 2, 1.0},
        {1.004999999999, 2, 1.01},  // within the tolerance of a half
        {28.21499999, 2, 28.21},
        {-0.0049999, 2, 0},
        {2.344, 2, 2.34},
        {0.001, 2, 0},
        {7.0, 2, 7.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundHalfUp(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals << " decimals";
    EXPECT_FALSE(std::signbit(RoundHalfUp(-0.004, 2))) << "a return rounded to nothing must not print as -0.00";
}

TEST(LineAmount, PriceTimesQuantityTimesDiscountRoundedToDigit)
{
    struct Case {
        double price, quantity, discount;
        int digit;
        double expected;
    };
    const Case cases[] = {
        {9.90, 3, 95, 2, 28.22},
        {3.335, 1, 100, 2, 3.34},
        {10, 3, 33, 2, 9.9},
        {5, 2, 0, 2, 10},    // discount 0 is no discount, not free
        {5, 2, 0.5, 2, 10},  // its whole part is 0 as well
        {2.5, -2, 90, 2, -4.5},
        {9.90, -3, 95, 2, -28.22},
        {7.77, 1, 100, 0, 8},
        {1.23456, 1, 100, 4, 1.2346},
        {3.99, 2, 95.5, 2, 7.62},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lineAmountOf(c.price, c.quantity, c.discount, c.digit), c.expected)
            << c.price << " x " << c.quantity << " at " << c.discount;
}

// Quantity, Price, Discount, SPrice1 and Memo of a line; amounts follow by LineAmount.
struct LineValues {
    double quantity, price, discount, regular;
    Value memo;
};

LineValues line(double quantity, double price, double discount, double regular, Value memo = {})
{
    return {quantity, price, discount, regular, std::move(memo)};
}

// A bill held in memory only, with the columns of the register's line records.
Bill billOf(const std::vector<LineValues>& lines)
{
    Bill bill = test::memoryBill();
    bill.master.append();
    bill.billNo() = "B1";
    bill.amount() = 0.0;
    bill.realAmount() = 0.0;
    for (const LineValues& v : lines) {
        const BillLine added = bill.line(bill.detail.append());
        added.billNo() = "B1";
        added.orderId() = 1;
        added.goodsId() = 1;
        added.quantity() = v.quantity;
        added.price() = v.price;
        added.discount() = v.discount;
        added.sPrice1() = v.regular;
        added.memo() = v.memo;
        added.code() = "C";
        added.barCode() = "B";
        added.name() = "N";
        added.unit1() = "U";
    }
    return bill;
}

Bill pricedBill(const std::vector<LineValues>& lines)
{
    Bill bill = billOf(lines);
    for (std::size_t r = 0; r < bill.detail.size(); ++r)
        LineAmount(bill, r, 2);
    return bill;
}

TEST(ApplyBillDiscount, LaysTheRateOverEveryLineAndKeepsTheCursor)
{
    Bill bill = pricedBill({line(2, 8, 100, 10, kPromotionTag), line(3, 9.90, 100, 9.90), line(1, 4.5, 95, 5)});
    bill.currentLine = 1;
    ApplyBillDiscount(bill, 90, 2);
    const double expected[] = {14.4, 26.73, 4.05};
    for (std::size_t r = 0; r < bill.detail.size(); ++r) {
        EXPECT_EQ(bill.line(r).discount().toDouble(), 90);
        EXPECT_EQ(bill.line(r).amount().toDouble(), expected[r]);
    }
    EXPECT_EQ(bill.currentLine, 1u);
}

TEST(ComputeBillTotals, SumsTheLinesAndTheDiscountAgainstRegularPrices)
{
    Bill bill = pricedBill({line(2, 8, 100, 10, kPromotionTag),  // saves 4.00
                            line(1, 0, 100, 5, kGiveAwayTag),    // saves 5.00
                            line(3, 9.90, 95, 9.90),             // 28.22, saves 1.48
                            line(-1, 2.5, 100, 2.5)});           // a return
    TPosState state;
    BillTotals totals;
    const BillSums sums = ComputeBillTotals(bill, state, totals);
    EXPECT_DOUBLE_EQ(sums.quantity, 5);
    EXPECT_DOUBLE_EQ(sums.amount, 16 + 28.22 - 2.5);
    EXPECT_DOUBLE_EQ(sums.discount, 4 + 5 + (29.7 - 28.22));
    EXPECT_DOUBLE_EQ(bill.amount().toDouble(), sums.amount);
    EXPECT_DOUBLE_EQ(bill.realAmount().toDouble(), sums.amount);
    EXPECT_DOUBLE_EQ(totals.DisAmount, sums.discount);
    EXPECT_EQ(totals.NoPointAmount, 0);
}

TEST(ComputeBillTotals, NonPointAmountFollowsTheTagsSwitchedOff)
{
    // Promotion 16.00, special 7.50, member 9.00, regular 20.00.
    Bill bill = pricedBill({line(2, 8, 100, 10, kPromotionTag), line(1, 7.5, 100, 8, kSpecialTag),
                            line(1, 9, 100, 10, kMemberTag), line(2, 10, 100, 10)});
    struct Case {
        bool sp, lp, ip;
        double expected;
    };
    const Case cases[] = {{false, false, false, 0}, {true, false, false, 16},  {false, true, false, 7.5},
                          {false, false, true, 9},  {true, true, true, 32.5}};
    for (const Case& c : cases) {
        TPosState state;
        state.NotPointSP = c.sp;
        state.NotPointLP = c.lp;
        state.NotPointIP = c.ip;
        BillTotals totals{0, 0, 123};
        ComputeBillTotals(bill, state, totals);
        EXPECT_DOUBLE_EQ(totals.NoPointAmount, c.expected) << c.sp << c.lp << c.ip;
    }
}

TEST(BillPoints, AmountThatEarnsPointsPerPointRateToTwoDecimals)
{
    struct Case {
        double realAmount, noPoint;
        int pointRate;
        double expected;
    };
    const Case cases[] = {
        {123.45, 23.45, 10, 10.00}, {123.45, 23.45, 0, 100.00}, {123.45, 0, 1, 123.45}, {20, 0, 3, 6.67},
        {0.125, 0, 1, 0.13},        {-0.125, 0, 1, -0.13},      {-56.7, 0, 1, -56.7},   {-100, -20, 10, -8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BillPoints(c.realAmount, c.noPoint, c.pointRate), c.expected) << c.realAmount << " / " << c.pointRate;
}

class AutoDiscountTest : public test::PricingTest {};

TEST_P(AutoDiscountTest, FirstBandHoldingThePurchasesGivesTheRate)
{
    for (auto [down, up, rate] : {std::tuple{0, 1000, 98.0}, {1000, 5000, 95.0}, {800, 2000, 50.0}})
        side().execute("insert into B_AutoDiscount(DownAmount, UpAmount, Discount) values($1, $2, $3)",
                       {down, up, rate});
    // The overlapping third band never wins where the first two hold.
    const std::pair<double, double> cases[] = {{1000, 95}, {999.99, 98}, {0, 98}, {4999.5, 95}, {5000, 100}, {-1, 100}};
    for (auto [purchases, expected] : cases)
        EXPECT_EQ(AutoDiscountRate(t.db().statements<PricingStatements>(), purchases), expected) << purchases;
}

INSTANTIATE_BOTH_MODES(AutoDiscountTest);

}  // namespace
}  // namespace pos
