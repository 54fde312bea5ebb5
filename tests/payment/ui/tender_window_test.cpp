#include "payment/ui/frm_charge.h"
#include "payment/ui/frm_vip_card_pay.h"

#include "payment/checkout_terminal.h"
#include "payment/recording_after_sale.h"
#include "storage/bill_saving.h"
#include "support/member_cards.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <memory>

namespace pos {
namespace {

using test::press;
using test::type;

QString boxOf(QWidget& w, const char* name) { return test::control<QLineEdit>(w, name)->text(); }

class TenderWindowTest : public ::testing::Test {
protected:
    TenderWindowTest()
    {
        fx_.side(Online).execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('T100',100,0),('T50',50,0)");
        test::addMemberCard(fx_.side(Online), {.cardNo = "S2", .cardType = "储值卡", .amount = 60});
    }
    TfrmCharge& charge(double amount)
    {
        frm_.reset();
        checkout_.emplace(fx_.payment(), fx_.newSale(amount), devices_);
        frm_ = std::make_unique<TfrmCharge>(*checkout_, QStringLiteral("1"));
        EXPECT_TRUE(test::showActive(*frm_));
        return *frm_;
    }
    // Works the tender dialog the key opens, once it is up.
    void inTender(Qt::Key key, const QString& text, test::DialogPoller::Act work)
    {
        const test::DialogPoller tender(std::move(work));
        if (text.isEmpty())
            press(*frm_, key);
        else
            type(*frm_, text);
    }

    // "/" with `card` on the bank card and the cash the tender proposes for the rest,
    // confirmed while the bill's number is taken on the server, so that the save fails
    // and the checkout stays open.
    void cardTenderWhoseSaveFails(const QString& card)
    {
        fx_.side(Online).execute("insert into PosBill(BillNo,StoreId,OperatorId) values($1,2,3)", {kFirstNumber});
        inTender(Qt::Key_unknown, QStringLiteral("/"), [&](QWidget& d) {
            type(d, QStringLiteral("6222"));
            press(d, Qt::Key_Return);
            type(d, card);
            press(d, Qt::Key_Return);
            press(d, Qt::Key_Return);
            test::control<QPushButton>(d, "btnOK")->click();
        });
        ASSERT_FALSE(checkout_->completed());
        ASSERT_FALSE(fx_.person.messages.empty());
        ASSERT_EQ(fx_.person.messages.back().text, "保存数据失败！");
        fx_.person.messages.clear();
    }

    static constexpr const char* kFirstNumber = "07202403150001";

    test::CheckoutTerminal fx_;
    test::RecordingAfterSale devices_;
    std::optional<Checkout> checkout_;
    std::unique_ptr<TfrmCharge> frm_;
};

TEST_F(TenderWindowTest, SlashTakesABankCardAmountAndCompletesTheBill)
{
    TfrmCharge& frm = charge(95);
    inTender(Qt::Key_unknown, QStringLiteral("/"), [&](QWidget& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("银行卡支付"));
        EXPECT_EQ(test::control<QLabel>(d, "lblChargeAmount")->text(), QStringLiteral("95"));
        EXPECT_EQ(d.focusWidget(), test::control<QLineEdit>(d, "edtCardNo"));
        EXPECT_EQ(boxOf(d, "edtPayAmount"), QStringLiteral("95"));
        EXPECT_EQ(boxOf(d, "edtCashAmount"), QStringLiteral("0"));
        type(d, QStringLiteral("6222"));
        press(d, Qt::Key_Return);
        type(d, QStringLiteral("5a0"));  // the letter is dropped
        EXPECT_EQ(boxOf(d, "edtPayAmount"), QStringLiteral("50"));
        press(d, Qt::Key_Return);
        EXPECT_EQ(boxOf(d, "edtCashAmount"), QStringLiteral("45"));
        EXPECT_EQ(d.focusWidget(), test::control<QLineEdit>(d, "edtCashAmount"));
        type(d, QStringLiteral("50"));
        press(d, Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), test::control<QPushButton>(d, "btnOK"));
        test::control<QPushButton>(d, "btnOK")->click();
    });
    EXPECT_TRUE(checkout_->completed());
    EXPECT_EQ(boxOf(frm, "edtCAmount"), QStringLiteral("100"));
    EXPECT_EQ(boxOf(frm, "edtOAmount"), QStringLiteral("5.00   "));
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount1").toDouble(), 50);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 45);
}

TEST_F(TenderWindowTest, ACancelledBankCardTenderReturnsToThePaidBox)
{
    TfrmCharge& frm = charge(95);
    inTender(Qt::Key_unknown, QStringLiteral("/"), [](QWidget& d) { press(d, Qt::Key_Escape); });
    EXPECT_FALSE(checkout_->completed());
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.focusWidget(), test::control<QLineEdit>(frm, "edtCAmount"));
    EXPECT_EQ(boxOf(frm, "edtCAmount"), QString()) << "the slash is not typed into the paid box";
    EXPECT_TRUE(fx_.savedBills(Online).empty());
}

TEST_F(TenderWindowTest, F8TakesACouponWithItsChangeStyle)
{
    TfrmCharge& frm = charge(95);
    inTender(Qt::Key_F8, QString(), [&](QWidget& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("购物券支付"));
        EXPECT_FALSE(test::control<QLineEdit>(d, "edtPayAmount")->isEnabled());
        type(d, QStringLiteral("T100"));
        press(d, Qt::Key_Return);
        EXPECT_EQ(boxOf(d, "edtPayAmount"), QStringLiteral("100"));
        type(d, QStringLiteral("*"));
        type(d, QStringLiteral("*"));
        type(d, QStringLiteral("*"));  // 找现金, 不找零, 找现金
        QList<QRadioButton*> styles = d.findChildren<QRadioButton*>();
        ASSERT_EQ(styles.size(), 3);
        EXPECT_TRUE(styles[1]->isChecked());
        styles[2]->click();  // 找购物券 chosen directly
        test::control<QPushButton>(d, "btnOK")->click();
    });
    EXPECT_TRUE(checkout_->completed());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount2").toDouble(), 95);
    EXPECT_EQ(saved.first("CardNo").toString(), "T100");
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 0);
}

// One bill through the bank card, the coupon and cash: the checkout completes as soon as
// a tender is confirmed, so a second tender follows a first one only after the first
// one's save failed, and then it replaces it: the bank card of 30 is not counted beside
// the coupon of 50 and the cash that pays the rest.
TEST_F(TenderWindowTest, CouponAfterAFailedBankCardSaveReplacesTheCardAndCashPaysTheRest)
{
    TfrmCharge& frm = charge(95);
    cardTenderWhoseSaveFails(QStringLiteral("30"));

    inTender(Qt::Key_F8, QString(), [&](QWidget& d) {
        EXPECT_EQ(test::control<QLabel>(d, "lblChargeAmount")->text(), QStringLiteral("95"));
        type(d, QStringLiteral("T50"));
        press(d, Qt::Key_Return);
        EXPECT_EQ(boxOf(d, "edtCashAmount"), QStringLiteral("45"));
        press(d, Qt::Key_Return);
        test::control<QPushButton>(d, "btnOK")->click();
    });

    ASSERT_TRUE(checkout_->completed());
    EXPECT_TRUE(fx_.person.messages.empty());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("RealAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount1").toDouble(), 0);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount2").toDouble(), 50);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 45);
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 0);
    EXPECT_EQ(saved.first("CardNo").toString(), "T50");
    EXPECT_EQ(fx_.side(Online).query("select IsEnd from B_GoodsTicket where TicketNo='T50'").first("IsEnd").toInt(), 1);
}

// A bank card tender whose save failed, left with Esc: the bill paid in cash at the next
// checkout holds no bank card amount.
TEST_F(TenderWindowTest, BankCardTenderLeftWithEscIsNotOnTheBillPaidInCash)
{
    charge(95);
    cardTenderWhoseSaveFails(QStringLiteral("30"));
    press(*frm_, Qt::Key_Escape);
    ASSERT_FALSE(frm_->isVisible());

    frm_.reset();
    checkout_.emplace(fx_.payment(), fx_.sale, devices_);
    frm_ = std::make_unique<TfrmCharge>(*checkout_, QStringLiteral("1"));
    ASSERT_TRUE(test::showActive(*frm_));
    type(*frm_, QStringLiteral("100"));
    press(*frm_, Qt::Key_Return);

    ASSERT_TRUE(checkout_->completed());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount1").toDouble(), 0);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 5);
}

TEST_F(TenderWindowTest, StoredValueDialogProposesChecksAndSaves)
{
    VIPCardPayment payment(fx_.payment(), fx_.newCardSale("S2", 95), devices_);
    TfrmVIPCardPay frm(payment, QStringLiteral("1"));
    ASSERT_TRUE(test::showActive(frm));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("储值卡支付"));
    EXPECT_EQ(boxOf(frm, "edtCardNo"), QStringLiteral("S2"));
    EXPECT_EQ(boxOf(frm, "edtAmount"), QStringLiteral("60"));
    EXPECT_EQ(boxOf(frm, "edtPayAmount"), QStringLiteral("60"));
    EXPECT_EQ(boxOf(frm, "edtCashAmount"), QStringLiteral("35"));
    EXPECT_EQ(frm.focusWidget(), test::control<QLineEdit>(frm, "edtPayAmount"));

    test::control<QLineEdit>(frm, "edtPayAmount")->selectAll();
    type(frm, QStringLiteral("70"));
    test::control<QPushButton>(frm, "btnOK")->click();  // typed without Enter
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"卡内余额不够！"});
    EXPECT_FALSE(payment.completed());
    EXPECT_EQ(test::control<QLineEdit>(frm, "edtPayAmount")->selectedText(), QStringLiteral("70"));

    type(frm, QStringLiteral("60"));
    press(frm, Qt::Key_Return);
    EXPECT_EQ(boxOf(frm, "edtCashAmount"), QStringLiteral("35"));
    press(frm, Qt::Key_Return);
    EXPECT_EQ(frm.focusWidget(), test::control<QPushButton>(frm, "btnOK"));
    test::control<QPushButton>(frm, "btnOK")->click();
    EXPECT_TRUE(payment.completed());
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(payment.chargeAmount(), "95");
    EXPECT_DOUBLE_EQ(fx_.side(Online).query("select Amount from B_VIPCards where CardNo='S2'").first("Amount")
                         .toDouble(),
                     0);
}

}  // namespace
}  // namespace pos
