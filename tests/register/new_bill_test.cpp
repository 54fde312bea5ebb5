#include "db/local_schema.h"
#include "register/new_bill.h"
#include "register/refresh_totals.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class NewBillTest : public ::testing::Test {
protected:
    // Only the local file: it holds the bill counter and shapes the bill.
    NewBillTest()
    {
        EXPECT_TRUE(local_.open(dir_.file("POS.mdb"), "test-key"));
        migrateLocalSchema(local_);
        sale_.bill = Bill::open(local_);
        TPosState& s = state_;
        s.OperatorId = 1;
        s.OperatorCode = "01";
        s.ClassId = 2;
        s.ClassName = "早班";
        s.MachineId = 5;
        s.MachineCode = "07";
        s.MachineName = "七号机";
        s.StoreId = 3;
    }

    // A bill as it stands after a sale with member, salesman and payment.
    void fillBillInProgress()
    {
        Bill& b = sale_.bill;
        b.exeManId() = 8;
        b.insiderCode() = "M001";
        b.discount() = 90.0;
        b.cashAmount() = 50.0;
        b.cardNo() = "C1";
        b.memo() = "x";
        b.isCloseOff() = true;
        sale_.ExeManCode = "E8";
        sale_.ExeManName = "李四";
        sale_.member = {"M001", "王五", MemberCardKind::StoredValue, MemberDiscountType::CardDiscount, 95.0, 300.0, 12.0, 40.0};
        sale_.totals = {4.0, 6.5, 7.5};
        sale_.DiscountState = BillDiscountState::WholeBill;
    }

    void addLine(double quantity, double amount, double regularPrice)
    {
        const BillLine line = sale_.bill.line(sale_.bill.detail.append());
        line.quantity() = quantity;
        line.amount() = amount;
        line.sPrice1() = regularPrice;
    }

    BillHeader newBill() { return NewBill(numbering_, clock_, state_, sale_); }

    test::TempDir dir_;
    SqliteDatabase local_;
    test::FixedClock clock_;
    BillNumbering numbering_{local_.statements<NumberingStatements>(), clock_};
    TPosState state_;
    Sale sale_;
};

TEST_F(NewBillTest, EveryNewBillStartsAfreshOnTheOneMasterRecord)
{
    const BillHeader first = newBill();
    fillBillInProgress();
    const BillHeader second = newBill();

    const Bill& b = sale_.bill;
    ASSERT_EQ(b.master.size(), 1u);
    EXPECT_EQ(second.billNo, first.billNo) << "the number is only peeked at";
    EXPECT_EQ(b.billNo().toString(), "07202403150001");
    EXPECT_TRUE(b.exeManId().isNull());
    EXPECT_EQ(b.insiderCode().toString(), "");
    EXPECT_DOUBLE_EQ(b.discount().toDouble(), 100);
    EXPECT_DOUBLE_EQ(b.cashAmount().toDouble(), 0);
    EXPECT_EQ(b.cardNo().toString(), "");
    EXPECT_EQ(b.memo().toString(), "");
    EXPECT_FALSE(b.isCloseOff().toBool());
    EXPECT_EQ(b.storeId().toInt(), 3);
    EXPECT_EQ(b.operatorId().toInt(), 1);
    EXPECT_EQ(b.classId().toInt(), 2);
    EXPECT_EQ(b.machineId().toInt(), 5);

    EXPECT_EQ(second.operatorCode, "01");
    EXPECT_EQ(second.machineName, "七号机");
    EXPECT_EQ(second.className, "早班");
    EXPECT_EQ(second.member, "");
    EXPECT_EQ(second.exeMan, "");

    EXPECT_EQ(sale_.ExeManCode, "");
    EXPECT_EQ(sale_.member.VIPCardNo, "");
    EXPECT_EQ(sale_.member.VIPHolderName, "");
    EXPECT_EQ(sale_.member.VIPTotalAmount, 0);
    EXPECT_EQ(sale_.member.VIPUsedCount, 0);
    EXPECT_EQ(sale_.totals.DisAmount, 0);
    EXPECT_EQ(sale_.totals.NoPointAmount, 0);
    // Left to the callers, or only read together with a card number.
    EXPECT_EQ(sale_.member.VIPCardKind, MemberCardKind::StoredValue);
    EXPECT_EQ(sale_.member.VIPDiscountType, MemberDiscountType::CardDiscount);
    EXPECT_EQ(sale_.member.VIPDiscount, 95.0);
    EXPECT_EQ(sale_.member.VIPCardBalance, 40.0);
    EXPECT_EQ(sale_.DiscountState, BillDiscountState::WholeBill);
    EXPECT_EQ(sale_.totals.TotalQty, 4.0);
}

TEST_F(NewBillTest, BillDateIsTheTimeOfTheWorkingModesClock)
{
    clock_.set({2020, 1, 2, 3, 4, 5});
    newBill();
    EXPECT_EQ(sale_.bill.billDate().toString(), "2020-01-02 03:04:05");
}

TEST_F(NewBillTest, MemberCaptionJoinsCardAndHolderWithTwoBlanks)
{
    newBill();
    sale_.member.VIPCardNo = "M001";
    sale_.member.VIPHolderName = "王五";
    EXPECT_EQ(currentBillHeader(state_, sale_).member, "M001  王五");
}

TEST_F(NewBillTest, RefreshTotalsSumsTheLinesIntoTheMasterAndTheScreen)
{
    newBill();
    TotalsShown empty = RefreshTotals(state_, sale_);
    EXPECT_EQ(empty.totalQty, "0");
    EXPECT_EQ(empty.amountDue, "   0.00");

    addLine(2, 7.0, 4.0);
    addLine(0.5, 1234.567, 2469.134);
    const TotalsShown shown = RefreshTotals(state_, sale_);
    EXPECT_EQ(shown.totalQty, "2.5");
    EXPECT_EQ(shown.amountDue, "1241.57");
    EXPECT_DOUBLE_EQ(sale_.totals.TotalQty, 2.5);
    EXPECT_DOUBLE_EQ(sale_.totals.DisAmount, 1.0);
    EXPECT_DOUBLE_EQ(sale_.bill.amount().toDouble(), 1241.567);
    EXPECT_DOUBLE_EQ(sale_.bill.realAmount().toDouble(), 1241.567);
}

// The next sale keeps nothing of this one but the amounts the screen shows under
// "上单", and a bill of the same shape ready for NewBill.
TEST_F(NewBillTest, TheNextSaleStartsEmptyAndKeepsOnlyThePreviousAmounts)
{
    newBill();
    fillBillInProgress();
    addLine(2, 7.0, 4.0);
    sale_.NextOrderId = 5;
    sale_.previous = {16.5, 20, 3.5};

    Sale next = sale_.next();
    EXPECT_EQ(next.bill.detail.size(), 0u);
    EXPECT_EQ(next.bill.master.size(), 1u);
    EXPECT_TRUE(next.bill.billNo().isNull());
    EXPECT_EQ(next.member.VIPCardNo, "");
    EXPECT_EQ(next.member.VIPCardKind, MemberCardKind::Unknown);
    EXPECT_EQ(next.ExeManName, "");
    EXPECT_EQ(next.DiscountState, BillDiscountState::None);
    EXPECT_EQ(next.NextOrderId, 1);
    EXPECT_EQ(next.totals.TotalQty, 0);
    EXPECT_DOUBLE_EQ(next.previous.ClientAmount, 20);

    newBill();
    const std::size_t line = next.bill.detail.append();
    next.bill.line(line).quantity() = 1.0;  // the shape is the bill's own
    EXPECT_EQ(NewBill(numbering_, clock_, state_, next).billNo, "07202403150001");
}

TEST(RegisterFormats, AmountsKeepTheirScreenWidths)
{
    EXPECT_EQ(amountDueText(3.456), "   3.46");
    EXPECT_EQ(previousAmountText(0), "     0.00");
    EXPECT_EQ(previousAmountText(123456.5), "123456.50");
    EXPECT_EQ(previousAmountText(12345678.9), "12345678.90") << "wider amounts are not cut";
}

}  // namespace
}  // namespace pos
