#include "support/member_cards.h"
#include "register/new_bill.h"
#include "register/register_fixture.h"
#include "register/ui/frm_main.h"
#include "support/pseudo_terminal.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace pos {
namespace {

using test::press;
using test::type;

// The register window on the terminal of the register tests, typed into as a cashier would.
class RegisterSaleTest : public ::testing::Test {
protected:
    RegisterSaleTest()
    {
        test::arrangeRegister(fx_);
        reg_.sale.bill = Bill::open(fx_.dm.conClient());
        startNewBill(fx_.terminal, reg_.sale);
    }

    TfrmMain& open()
    {
        frm_ = std::make_unique<TfrmMain>(fx_.terminal, reg_);
        EXPECT_TRUE(test::showActive(*frm_));
        return *frm_;
    }

    // Text typed into the focused control, then Enter.
    void enter(const QString& text)
    {
        type(*frm_, text);
        press(*frm_, Qt::Key_Return);
    }

    template <class W>
    W* control(const char* name)
    {
        return test::control<W>(*frm_, name);
    }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    QString edit(const char* name) { return control<QLineEdit>(name)->text(); }
    QWidget* focused() { return frm_->focusWidget(); }
    int gridRows() { return control<QTableView>("DBGrid1")->model()->rowCount(); }
    QString cell(int row, int column) { return control<QTableView>("DBGrid1")->model()->index(row, column).data().toString(); }

    // Pays at the checkout dialog: the amount typed (none: the exact amount), Enter, and
    // one more key to close it after the sale.
    static test::DialogPoller payWhenAsked(const QString& paid)
    {
        return test::DialogPoller([paid](QWidget& dialog) {
            QTest::keyClicks(dialog.focusWidget(), paid);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Space);
        });
    }

    test::TerminalFixture fx_;
    RegisterState reg_;
    std::unique_ptr<TfrmMain> frm_;
};

constexpr int kQuantityColumn = 5;
constexpr int kAmountColumn = 8;

TEST_F(RegisterSaleTest, AMemberCardPutsTheMemberAndTheBandDiscountOnTheBill)
{
    test::addMemberCard(fx_.side(Online), test::cardOfKind("A1", "", "会员卡", "累计消费折扣", 100, 2500, 250));
    fx_.side(Online).execute("insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(1000,5000,95)");
    open();
    const test::DialogPoller cardDialog([](QWidget& dialog) {
        QTest::keyClicks(dialog.focusWidget(), QStringLiteral("A1"));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);  // on 确定
    });
    enter("6/");
    ASSERT_TRUE(test::showActive(*frm_));
    EXPECT_EQ(label("lblVIPCardNo"), QStringLiteral("A1  持卡A1"));
    EXPECT_EQ(edit("edtDiscount"), QStringLiteral("95"));
    EXPECT_EQ(reg_.sale.bill.insiderCode().toString(), "A1");
    EXPECT_EQ(reg_.sale.DiscountState, BillDiscountState::WholeBill);
    enter("6902");
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  11.40"));
    EXPECT_EQ(edit("edtDiscount"), QStringLiteral("95"));
}

// A kiosk session may run without a window manager: the register is then never made
// the active window, yet the keys the cashier types reach it.
TEST_F(RegisterSaleTest, KeysWorkWhileTheWindowIsNotTheActiveOne)
{
    open();
    QWidget elsewhere;
    ASSERT_TRUE(test::showActive(elsewhere));
    ASSERT_FALSE(frm_->isActiveWindow());
    auto* input = control<QLineEdit>("edtInput");
    QTest::keyClicks(input, QStringLiteral("6901"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_EQ(gridRows(), 1);
    EXPECT_EQ(input->text(), QString());
}

TEST_F(RegisterSaleTest, SaleOfSeveralGoodsPaidInCash)
{
    open();
    enter("6901");
    enter("-");
    EXPECT_EQ(focused(), control<QLineEdit>("edtQuantity"));
    enter("3");
    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));
    enter("6902");
    enter("6903");
    ASSERT_EQ(gridRows(), 3);
    EXPECT_EQ(cell(1, kQuantityColumn), QStringLiteral("3"));
    EXPECT_EQ(cell(1, kAmountColumn), QStringLiteral("36"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  49.50"));
    EXPECT_EQ(label("lblTotalQty"), QStringLiteral("5"));
    EXPECT_EQ(edit("edtQuantity"), QStringLiteral("1"));

    const auto pay = payWhenAsked(QStringLiteral("100"));
    enter("+");
    // Offscreen there is no window manager to give the register the keyboard back.
    ASSERT_TRUE(test::showActive(*frm_));

    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(label("lblPRealAmount"), QStringLiteral("    49.50"));
    EXPECT_EQ(label("lblPClientAmount"), QStringLiteral("   100.00"));
    EXPECT_EQ(label("lblPChangeAmount"), QStringLiteral("    50.50"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("   0.00"));
    EXPECT_EQ(edit("edtInput"), QString());
    RowSet saved = fx_.office.accountSet().query("select * from PosBill");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("RealAmount").toDouble(), 49.5);
    EXPECT_EQ(label("lblBillNo"), QString::fromStdString(reg_.sale.bill.billNo().toString()));
    EXPECT_NE(label("lblBillNo"), QString::fromStdString(saved.first("BillNo").toString()));

    // The exact amount: a change of 0 shows as five blanks then "0.00".
    enter("6902");
    const auto payExactly = payWhenAsked(QString());
    enter("+");
    ASSERT_TRUE(test::showActive(*frm_));
    EXPECT_EQ(label("lblPRealAmount"), QStringLiteral("    12.00"));
    EXPECT_EQ(label("lblPClientAmount"), QStringLiteral("    12.00"));
    EXPECT_EQ(label("lblPChangeAmount"), QStringLiteral("     0.00"));
    EXPECT_EQ(fx_.office.accountSet().query("select * from PosBill").size(), 2u);
}

// A bill carrying a stored-value card: "+" opens the card payment, which proposes the
// card for the whole amount; Enter through its boxes and on "确定" pays.
TEST_F(RegisterSaleTest, StoredValueCardBillIsPaidFromTheCard)
{
    test::addMemberCard(fx_.office.accountSet(), {.cardNo = "S1", .cardType = "储值卡", .amount = 200});
    open();
    // As the member card dialog leaves a stored-value card on the new bill.
    reg_.sale.member.VIPCardNo = "S1";
    reg_.sale.member.VIPCardKind = MemberCardKind::StoredValue;
    reg_.sale.bill.insiderCode() = "S1";
    enter("6902");
    QString title;
    const test::DialogPoller storedValueDialog([&title](QWidget& dialog) {
        title = dialog.windowTitle();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    });
    enter("+");
    ASSERT_TRUE(test::showActive(*frm_));

    EXPECT_EQ(title, QStringLiteral("储值卡支付"));
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(label("lblPRealAmount"), QStringLiteral("    12.00"));
    EXPECT_EQ(label("lblPClientAmount"), QStringLiteral("    12.00"));
    EXPECT_EQ(label("lblPChangeAmount"), QStringLiteral("     0.00"));
    RowSet saved = fx_.office.accountSet().query("select * from PosBill");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount3").toDouble(), 12);
    EXPECT_DOUBLE_EQ(
        fx_.office.accountSet().query("select Amount from B_VIPCards where CardNo='S1'").first("Amount").toDouble(),
        188);
    // The next sale starts without the card.
    EXPECT_EQ(reg_.sale.member.VIPCardNo, "");
    EXPECT_EQ(label("lblVIPCardNo"), QString());
}

TEST_F(RegisterSaleTest, ReturnNeedsTheSupervisor)
{
    open();
    fx_.person.supervisors = {std::nullopt, test::kSupervisor};
    enter("-");
    enter("-2");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"您没有退货权限！"});
    EXPECT_EQ(focused(), control<QLineEdit>("edtQuantity"));
    EXPECT_EQ(edit("edtQuantity"), QStringLiteral("1"));
    EXPECT_EQ(control<QLineEdit>("edtQuantity")->selectedText(), QStringLiteral("1"));

    // Clicking elsewhere does not leave the box; only a valid Enter does.
    QTest::mouseClick(control<QLineEdit>("edtInput"), Qt::LeftButton);
    EXPECT_EQ(focused(), control<QLineEdit>("edtQuantity"));

    enter("-2");  // replaces the selected text
    EXPECT_EQ(fx_.person.supervisorRights, (std::vector<OperatorRight>{OperatorRight::Return, OperatorRight::Return}));
    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));
    enter("6902");
    ASSERT_EQ(gridRows(), 1);
    EXPECT_EQ(cell(0, kQuantityColumn), QStringLiteral("-2"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral(" -24.00"));
    EXPECT_EQ(edit("edtQuantity"), QStringLiteral("1"));
}

TEST_F(RegisterSaleTest, WholeBillDiscountAfterALineDiscountIsRefused)
{
    fx_.state.OperatorId = test::kSenior;
    open();
    enter("/");
    EXPECT_EQ(focused(), control<QLineEdit>("edtDiscount"));
    enter("90");
    enter("6902");
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  10.80"));
    EXPECT_EQ(edit("edtDiscount"), QStringLiteral("100"));

    enter("8/");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"现在是单个货品折扣状态，不能进行整单折扣！"});
    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));
    EXPECT_EQ(edit("edtInput"), QString());
}

TEST_F(RegisterSaleTest, DeletingTheBillAnsweredNoThenYes)
{
    fx_.state.OperatorId = test::kSenior;
    open();
    enter("6901");
    enter("6902");
    fx_.person.answers = {false};
    enter("10/");
    EXPECT_EQ(gridRows(), 2);
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  15.50"));

    fx_.person.answers = {true};
    enter("10/");
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("   0.00"));
    EXPECT_EQ(label("lblTotalQty"), QStringLiteral("0"));
    EXPECT_EQ(fx_.person.questions, (std::vector<std::string>{"您真的要删除单吗？", "您真的要删除单吗？"}));
    enter("6903");
    EXPECT_EQ(cell(0, 0), QStringLiteral("1"));
}

TEST_F(RegisterSaleTest, LinesAreEditedInTheGridUntilTabOnTheQuantity)
{
    open();
    enter("6901");
    enter("6902");
    auto* grid = control<QTableView>("DBGrid1");

    press(*frm_, Qt::Key_Up);
    EXPECT_TRUE(grid->isAncestorOf(focused()) || focused() == grid);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(grid->currentIndex().column(), kQuantityColumn);
    fx_.person.supervisors = {std::nullopt};
    type(*frm_, QStringLiteral("-3"));  // the minus needs the return right
    QTest::mouseClick(control<QLineEdit>("edtInput"), Qt::LeftButton);
    EXPECT_TRUE(grid->isAncestorOf(focused()) || focused() == grid) << "the grid is left only by Tab";
    press(*frm_, Qt::Key_Tab);

    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));
    EXPECT_EQ(cell(1, kQuantityColumn), QStringLiteral("3"));
    EXPECT_EQ(cell(1, kAmountColumn), QStringLiteral("36"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  39.50"));
    EXPECT_EQ(fx_.person.supervisorRights, std::vector<OperatorRight>{OperatorRight::Return});

    // Right needs the price right; refused, the grid stays read-only.
    fx_.person.supervisors = {std::nullopt};
    press(*frm_, Qt::Key_Right);
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"您没有授权使用该操作！"});
    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));

    // F12 in the grid deletes the current line.
    press(*frm_, Qt::Key_Up);
    press(*frm_, Qt::Key_F12);
    press(*frm_, Qt::Key_Tab);
    ASSERT_EQ(gridRows(), 1);
    EXPECT_EQ(cell(0, 3), QStringLiteral("牙刷"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("   3.50"));
    EXPECT_EQ(focused(), control<QLineEdit>("edtInput"));
}

TEST_F(RegisterSaleTest, MappedKeysAndTheCustomerDisplay)
{
    test::PseudoTerminal pole;
    test::attachPoleDisplay(fx_.settings, pole.path());
    fx_.dm.conClient().execute("update PosHelp set FirClientKey='Ctrl', SecClientKey='d' where SysKey='-'");
    fx_.dm.conClient().execute("update PosHelp set FirClientKey='F4', SecClientKey='' where SysKey='20/'");
    open();  // opens the display's line

    enter("6902");
    EXPECT_EQ(pole.received(), std::string(11, ' ') + "\x1bQA   12.00\r");

    press(*frm_, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(focused(), control<QLineEdit>("edtQuantity"));
    enter("2");
    pole.received();

    type(*frm_, QStringLiteral("69"));
    press(*frm_, Qt::Key_F4);
    EXPECT_EQ(edit("edtInput"), QStringLiteral("69")) << "F4 with text in the box is no command";
    EXPECT_EQ(pole.received(), "");
    control<QLineEdit>("edtInput")->clear();
    press(*frm_, Qt::Key_F4);
    EXPECT_EQ(pole.received(), std::string(11, ' ') + "\x1bQA   12.00\r");
}

TEST_F(RegisterSaleTest, HeldBillIsParkedPickedFromItsListAndCleared)
{
    open();
    enter("6901");
    enter("6902");
    const QString billNo = label("lblBillNo");
    enter("4/");
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(label("lblBillNo"), billNo);

    // Left with Esc, the list brings nothing back.
    QString title;
    const test::DialogPoller leaveList([&](QWidget& dialog) {
        title = dialog.windowTitle();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
    });
    enter("5/");
    EXPECT_EQ(title, QStringLiteral("选择挂单"));
    EXPECT_EQ(gridRows(), 0);

    int listed = 0;
    const test::DialogPoller pickBill([&](QWidget& dialog) {
        listed = test::control<QTableView>(dialog, "DBGrid1")->model()->rowCount();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    });
    enter("5/");
    EXPECT_EQ(listed, 1);
    ASSERT_EQ(gridRows(), 2);
    EXPECT_EQ(cell(1, 0), QStringLiteral("2"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("毛巾"));
    EXPECT_EQ(label("lblBillNo"), billNo);
    EXPECT_EQ(edit("edtInput"), QString());

    enter("4/");
    fx_.state.OperatorId = test::kSenior;
    enter("39/");
    EXPECT_EQ(fx_.dm.conClient().query("select count(*) as n from hPosBill").first("n").toInt(), 0);
    EXPECT_TRUE(fx_.person.messages.empty());
}

}  // namespace
}  // namespace pos
