#include "register/new_bill.h"
#include "register/refresh_totals.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class NewBillTest : public ::testing::Test {
protected:
    NewBillTest()
    {
        reg_.bill = Bill::open(fx_.dm.conClient());
        TPosState& s = fx_.state;
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
        Bill& b = reg_.bill;
        b.exeManId() = 8;
        b.insiderCode() = "M001";
        b.discount() = 90.0;
        b.cashAmount() = 50.0;
        b.cardNo() = "C1";
        b.memo() = "x";
        b.isCloseOff() = true;
        fx_.state.ExeManCode = "E8";
        fx_.state.ExeManName = "李四";
        fx_.member = {"M001", "王五", 2, 3, 95.0, 300.0, 12.0, 40.0};
        fx_.totals = {4.0, 6.5, 7.5};
        fx_.state.DiscountState = 2;
    }

    void addLine(double quantity, double amount, double regularPrice)
    {
        const BillLine line = reg_.bill.line(reg_.bill.detail.append());
        line.quantity() = quantity;
        line.amount() = amount;
        line.sPrice1() = regularPrice;
    }

    test::TerminalFixture fx_;
    RegisterState reg_;
};

TEST_F(NewBillTest, EveryNewBillStartsAfreshOnTheOneMasterRecord)
{
    const BillHeader first = NewBill(fx_.terminal, reg_);
    fillBillInProgress();
    const BillHeader second = NewBill(fx_.terminal, reg_);

    const Bill& b = reg_.bill;
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

    EXPECT_EQ(fx_.state.ExeManCode, "");
    EXPECT_EQ(fx_.member.VIPCardNo, "");
    EXPECT_EQ(fx_.member.VIPHolderName, "");
    EXPECT_EQ(fx_.member.VIPTotalAmount, 0);
    EXPECT_EQ(fx_.member.VIPUsedCount, 0);
    EXPECT_EQ(fx_.totals.DisAmount, 0);
    EXPECT_EQ(fx_.totals.NoPointAmount, 0);
    // Left to the callers, or only read together with a card number.
    EXPECT_EQ(fx_.member.VIPCardKind, 2);
    EXPECT_EQ(fx_.member.VIPDiscountType, 3);
    EXPECT_EQ(fx_.member.VIPDiscount, 95.0);
    EXPECT_EQ(fx_.member.VIPCardBalance, 40.0);
    EXPECT_EQ(fx_.state.DiscountState, 2);
    EXPECT_EQ(fx_.totals.TotalQty, 4.0);
}

TEST_F(NewBillTest, BillDateFollowsTheWorkingMode)
{
    fx_.clock.set({2020, 1, 2, 3, 4, 5});
    fx_.state.NetMode = Offline;
    NewBill(fx_.terminal, reg_);
    EXPECT_EQ(reg_.bill.billDate().toString(), "2020-01-02 03:04:05");

    fx_.state.NetMode = Online;
    NewBill(fx_.terminal, reg_);
    const std::string serverDay =
        fx_.office.accountSet().query("select current_date::text as d").first("d").toString();
    EXPECT_EQ(reg_.bill.billDate().toString().substr(0, 10), serverDay);
}

TEST_F(NewBillTest, MemberCaptionJoinsCardAndHolderWithTwoBlanks)
{
    NewBill(fx_.terminal, reg_);
    fx_.member.VIPCardNo = "M001";
    fx_.member.VIPHolderName = "王五";
    EXPECT_EQ(currentBillHeader(fx_.terminal, reg_).member, "M001  王五");
}

TEST_F(NewBillTest, RefreshTotalsSumsTheLinesIntoTheMasterAndTheScreen)
{
    NewBill(fx_.terminal, reg_);
    TotalsShown empty = RefreshTotals(fx_.terminal, reg_);
    EXPECT_EQ(empty.totalQty, "0");
    EXPECT_EQ(empty.amountDue, "   0.00");

    addLine(2, 7.0, 4.0);
    addLine(0.5, 1234.567, 2469.134);
    const TotalsShown shown = RefreshTotals(fx_.terminal, reg_);
    EXPECT_EQ(shown.totalQty, "2.5");
    EXPECT_EQ(shown.amountDue, "1241.57");
    EXPECT_DOUBLE_EQ(fx_.totals.TotalQty, 2.5);
    EXPECT_DOUBLE_EQ(fx_.totals.DisAmount, 1.0);
    EXPECT_DOUBLE_EQ(reg_.bill.amount().toDouble(), 1241.567);
    EXPECT_DOUBLE_EQ(reg_.bill.realAmount().toDouble(), 1241.567);
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
