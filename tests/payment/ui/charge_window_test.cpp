#include "payment/ui/frm_charge.h"

#include "payment/checkout_terminal.h"
#include "payment/recording_after_sale.h"
#include "support/ui/window_errors_to.h"
#include "support/ui/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <memory>

namespace pos {
namespace {

using test::press;
using test::type;

class ChargeWindowTest : public ::testing::Test {
protected:
    // Opens the dialog on a new bill of one line worth `amount`.
    TfrmCharge& open(double amount)
    {
        frm_.reset();
        checkout_.emplace(fx_.payment(), fx_.newSale(amount), devices_);
        frm_ = std::make_unique<TfrmCharge>(*checkout_, QStringLiteral("3"));
        EXPECT_TRUE(test::showActive(*frm_));
        return *frm_;
    }

    template <class W>
    W* control(const char* name)
    {
        return test::control<W>(*frm_, name);
    }
    QString box(const char* name) { return control<QLineEdit>(name)->text(); }
    std::size_t savedBills() { return fx_.savedBills(Online).size(); }

    test::CheckoutTerminal fx_;
    test::RecordingAfterSale devices_;
    std::optional<Checkout> checkout_;
    std::unique_ptr<TfrmCharge> frm_;
};

TEST_F(ChargeWindowTest, ShowsTheAmountDueWithThePaidBoxFocused)
{
    TfrmCharge& frm = open(95.5);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("收银"));
    EXPECT_EQ(box("edtSAmount"), QStringLiteral("95.50  "));
    EXPECT_EQ(box("edtCAmount"), QString());
    EXPECT_EQ(box("edtOAmount"), QStringLiteral("0.00"));
    EXPECT_EQ(control<QLabel>("lblQty")->text(), QStringLiteral("3"));
    EXPECT_EQ(control<QLabel>("lblPrintBill")->text(), QStringLiteral("状态：打印小票"));
    EXPECT_EQ(control<QLabel>("lblHelp")->text(),
              QStringLiteral("功能键：F5[是否打印]    * [抹零]     / [银行卡支付]   F8[购物券支付]"));
    QStringList captions;
    for (QLabel* label : frm.findChildren<QLabel*>())
        captions << label->text();
    for (const char* text : {"应收款", "客付款", "找　零", "数量合计:"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(text))) << text;

    QLineEdit* paid = control<QLineEdit>("edtCAmount");
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Down, Qt::Key_Up}) {
        press(frm, key);
        EXPECT_EQ(frm.focusWidget(), paid) << "the paid box cannot be left";
    }
    press(frm, Qt::Key_F5);
    EXPECT_EQ(control<QLabel>("lblPrintBill")->text(), QStringLiteral("状态：不打印小票"));
    press(frm, Qt::Key_F5);
    EXPECT_EQ(control<QLabel>("lblPrintBill")->text(), QStringLiteral("状态：打印小票"));
}

TEST_F(ChargeWindowTest, PaysCashShowsTheChangeAndClosesOnTheNextKey)
{
    TfrmCharge& frm = open(95);
    type(frm, QStringLiteral("90"));
    press(frm, Qt::Key_Return);

    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"客付金额不能小于应收金额！"});
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(control<QLineEdit>("edtCAmount")->selectedText(), QStringLiteral("90"));
    EXPECT_EQ(savedBills(), 0u);

    type(frm, QStringLiteral("100"));  // replaces the selected text
    press(frm, Qt::Key_Return);

    EXPECT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_TRUE(checkout_->completed());
    EXPECT_TRUE(frm.isVisible()) << "due, paid and change stay on screen";
    EXPECT_EQ(box("edtCAmount"), QStringLiteral("100"));
    EXPECT_EQ(box("edtOAmount"), QStringLiteral("5.00   "));
    EXPECT_EQ(savedBills(), 1u);
    const std::string billNo = fx_.sale.bill.billNo().toString();
    EXPECT_EQ(devices_.calls, (std::vector<std::string>{"display 2 100", "drawer", "print " + billNo, "display 3 5"}));

    type(frm, QStringLiteral("7"));

    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(frm.result(), QDialog::Accepted);
    EXPECT_EQ(savedBills(), 1u);
    const CheckoutAmounts amounts = checkout_->amounts();
    EXPECT_DOUBLE_EQ(amounts.due, 95);
    EXPECT_DOUBLE_EQ(amounts.paid, 100);
    EXPECT_DOUBLE_EQ(amounts.change, 5);
}

TEST_F(ChargeWindowTest, EnterOnAnEmptyBoxPaysTheExactAmountWithoutAReceiptWhenF5IsOff)
{
    TfrmCharge& frm = open(95);
    press(frm, Qt::Key_F5);
    press(frm, Qt::Key_Return);

    EXPECT_TRUE(checkout_->completed());
    EXPECT_EQ(box("edtCAmount"), QStringLiteral("95.00  "));
    EXPECT_EQ(box("edtOAmount"), QStringLiteral("0.00   "));
    EXPECT_EQ(devices_.calls, (std::vector<std::string>{"display 2 95", "drawer", "display 3 0"}));
    press(frm, Qt::Key_Escape);
    EXPECT_EQ(frm.result(), QDialog::Accepted);
}

TEST_F(ChargeWindowTest, EscBeforeCompletionLeavesTheBillUnsaved)
{
    TfrmCharge& frm = open(95);
    type(frm, QStringLiteral("100"));
    press(frm, Qt::Key_Escape);

    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(frm.result(), QDialog::Rejected);
    EXPECT_FALSE(checkout_->completed());
    EXPECT_EQ(savedBills(), 0u);
    EXPECT_TRUE(devices_.calls.empty());
}

TEST_F(ChargeWindowTest, F11IsRefusedWithoutRightSeven)
{
    TfrmCharge& frm = open(37.2);
    fx_.person.supervisors.push_back(std::nullopt);
    type(frm, QStringLiteral("50"));

    press(frm, Qt::Key_F11);

    EXPECT_EQ(fx_.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::GiveAway});
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_FALSE(checkout_->completed());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(box("edtCAmount"), QStringLiteral("50"));
    EXPECT_EQ(fx_.sale.bill.memo().toString(), "");
    EXPECT_EQ(savedBills(), 0u);
}

TEST_F(ChargeWindowTest, F12WithSupervisorSavesAFreeBill)
{
    TfrmCharge& frm = open(37.2);
    fx_.person.supervisors.push_back(Credentials{"9001", "999"});

    press(frm, Qt::Key_F12);

    EXPECT_TRUE(checkout_->completed());
    EXPECT_EQ(box("edtCAmount"), QStringLiteral("0"));
    EXPECT_EQ(box("edtOAmount"), QStringLiteral("0"));
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.first("Memo").toString(), "免单");
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 0);
}

TEST_F(ChargeWindowTest, WriteOffWithASupervisorLowersTheAmountDue)
{
    TfrmCharge& frm = open(95.5);
    fx_.person.supervisors.push_back(Credentials{"9001", "999"});
    fx_.person.inputs.push_back("0.5");
    type(frm, QStringLiteral("100"));

    type(frm, QStringLiteral("*"));

    EXPECT_EQ(fx_.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::WriteOff});
    EXPECT_EQ(box("edtSAmount"), QStringLiteral("95.00  "));
    EXPECT_EQ(box("edtCAmount"), QString()) << "cleared, and the \"*\" is not typed";

    press(frm, Qt::Key_Return);

    EXPECT_TRUE(checkout_->completed());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("Amount").toDouble(), 95.5);
    EXPECT_DOUBLE_EQ(saved.first("RealAmount").toDouble(), 95);
}

TEST_F(ChargeWindowTest, ErrorBehindAKeyIsReportedAndTheDialogStaysAsItWas)
{
    std::vector<std::string> reported;
    const test::WindowErrorsTo handler(
        [&](const std::string& operation, const std::exception&) { reported.push_back(operation); });
    TfrmCharge& frm = open(37.2);
    fx_.office.accountSet().execute("alter table PosOperatorRight rename to PosOperatorRightGone");
    type(frm, QStringLiteral("50"));

    EXPECT_NO_THROW(press(frm, Qt::Key_F11));

    EXPECT_EQ(reported, std::vector<std::string>{"收款"});
    EXPECT_FALSE(checkout_->completed());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(box("edtCAmount"), QStringLiteral("50"));
    EXPECT_EQ(fx_.sale.bill.memo().toString(), "");
    EXPECT_EQ(savedBills(), 0u);
}

TEST_F(ChargeWindowTest, FailedSaveKeepsTheDialogOpenForAnotherTry)
{
    fx_.office.accountSet().execute("insert into PosBill(BillNo,StoreId,OperatorId) values('07202403150001',2,3)");
    TfrmCharge& frm = open(95);
    type(frm, QStringLiteral("100"));

    press(frm, Qt::Key_Return);

    EXPECT_FALSE(checkout_->completed());
    EXPECT_TRUE(frm.isVisible());
    ASSERT_FALSE(fx_.person.messages.empty());
    EXPECT_EQ(fx_.person.messages.back().text, "保存数据失败！");
    EXPECT_TRUE(devices_.calls.empty());

    press(frm, Qt::Key_Return);

    EXPECT_TRUE(checkout_->completed());
    EXPECT_EQ(savedBills(), 2u);
}

}  // namespace
}  // namespace pos
