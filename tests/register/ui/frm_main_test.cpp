#include "register/new_bill.h"
#include "register/ui/frm_main.h"
#include "support/terminal_fixture.h"
#include "support/waiting_bill.h"
#include "support/ui/window_errors_to.h"
#include "support/ui/window_keys.h"

#include <QApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QWindow>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;

// Counts the presses of F4 that reach a control.
class F4Spy : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4)
            ++presses;
        return false;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fx_.settings.setOption("WindowTitle", "一号收银台");
        fx_.state.OperatorCode = "01";
        fx_.state.ClassName = "早班";
        fx_.state.MachineCode = "07";
        fx_.state.MachineName = "七号机";
        fx_.state.StoreName = "三号店";
        reg_.sale.bill = Bill::open(fx_.dm.conClient());
        startNewBill(fx_.terminal, reg_.sale);
        ASSERT_TRUE(test::showActive(frm_));
    }

    template <class W>
    W* control(const char* name)
    {
        return test::control<W>(frm_, name);
    }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    QString edit(const char* name) { return control<QLineEdit>(name)->text(); }

    void addLine(int orderId, const char* name, double quantity, double amount)
    {
        const BillLine line = reg_.sale.bill.line(reg_.sale.bill.detail.append());
        line.orderId() = orderId;
        line.name() = name;
        line.quantity() = quantity;
        line.amount() = amount;
    }

    void addWaitingBill() { test::addWaitingBill(fx_.dm.conClient()); }
    std::pair<std::int64_t, std::int64_t> waitingBillIn()
    {
        return test::waitingBillIn(fx_.dm.conClient(), fx_.office.accountSet());
    }

    test::TerminalFixture fx_;
    RegisterState reg_;
    TfrmMain frm_{fx_.terminal, reg_};
};

TEST_F(MainWindowTest, ShowsTheBillAndTheTerminalWhenShown)
{
    EXPECT_EQ(frm_.windowTitle(), QStringLiteral("一号收银台"));
    EXPECT_EQ(label("lblNetMode"), QStringLiteral("连网销售"));
    EXPECT_EQ(label("lblBillNo"), QStringLiteral("07202403150001"));
    EXPECT_EQ(label("lblMachineNo"), QStringLiteral("七号机"));
    EXPECT_EQ(label("lblClassNo"), QStringLiteral("早班"));
    EXPECT_EQ(label("lblOperator"), QStringLiteral("01"));
    EXPECT_EQ(label("lblExeMan"), QString());
    EXPECT_EQ(label("lblStore"), QStringLiteral("三号店"));
    EXPECT_EQ(label("lblVIPCardNo"), QString());
    EXPECT_EQ(label("lblTotalQty"), QStringLiteral("0.00"));
    for (const char* previous : {"lblPRealAmount", "lblPClientAmount", "lblPChangeAmount"})
        EXPECT_EQ(label(previous), QStringLiteral("     0.00")) << previous;
    EXPECT_EQ(edit("edtDiscount"), QStringLiteral("100"));
    EXPECT_EQ(edit("edtQuantity"), QStringLiteral("1"));
    EXPECT_EQ(frm_.focusWidget(), control<QLineEdit>("edtInput"));
    for (const char* name : {"edtPrice", "edtQuantity", "edtDiscount", "edtAmount"})
        EXPECT_FALSE(control<QLineEdit>(name)->focusPolicy() & Qt::TabFocus) << name;
    EXPECT_EQ(reg_.sale.NextOrderId, 1);
    EXPECT_TRUE(reg_.FocusToInput);
}

TEST_F(MainWindowTest, LineGridHasItsColumnsInOrder)
{
    auto* grid = control<QTableView>("DBGrid1");
    const QStringList titles = {"序号", "货品编码", "条形码", "货品名称", "单位", "数量", "单价", "折扣%", "金额", ""};
    const int widths[] = {36, 72, 132, 198, -1, -1, 79, 36, 102, 7};
    ASSERT_EQ(grid->model()->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        if (widths[c] > 0)
            EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
    }
    // The unit: at least 32 pixels, and two Chinese characters whole.
    addLine(1, "纸巾", 1, 9.9);
    reg_.sale.bill.line(0).unit1() = "盒装";
    frm_.showLines();
    EXPECT_GE(grid->columnWidth(4), 32);
    EXPECT_GE(grid->columnWidth(4), grid->sizeHintForIndex(grid->model()->index(0, 4)).width() + 1) << "盒装 is cut";
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The grid follows the bill however its lines changed: added at the end, changed in
// place, deleted, or all gone; and keeps its column widths throughout.
TEST_F(MainWindowTest, GridFollowsTheLinesOfTheBill)
{
    auto* grid = control<QTableView>("DBGrid1");
    QAbstractItemModel* model = grid->model();
    const auto names = [model] {
        QStringList shown;
        for (int r = 0; r < model->rowCount(); ++r)
            shown << model->index(r, 3).data().toString() + "×" + model->index(r, 5).data().toString();
        return shown;
    };
    addLine(1, "牙刷", 1, 3.5);
    frm_.showLines();
    EXPECT_EQ(names(), QStringList{"牙刷×1"});

    // The grid repaints a line it was told of.
    int toldOfFirstLine = 0;
    QObject::connect(model, &QAbstractItemModel::dataChanged, grid,
                     [&toldOfFirstLine](const QModelIndex& from) { toldOfFirstLine += from.row() == 0; });
    reg_.sale.bill.line(0).quantity() = 3.0;  // merged into the line
    addLine(2, "毛巾", 1, 12);
    addLine(3, "香皂", 2, 20);
    frm_.showLines();
    EXPECT_EQ(names(), (QStringList{"牙刷×3", "毛巾×1", "香皂×2"}));
    EXPECT_EQ(toldOfFirstLine, 1);

    // Deleted from the bill, not yet shown: the grid repaints without reading past the lines.
    reg_.sale.bill.detail.remove(1);
    grid->viewport()->repaint();
    EXPECT_EQ(model->index(2, 3).data(), QVariant());
    frm_.showLines();
    EXPECT_EQ(names(), (QStringList{"牙刷×3", "香皂×2"}));

    reg_.sale.bill.detail.clear();
    frm_.showLines();
    EXPECT_EQ(names(), QStringList());
    addLine(1, "香皂", 1, 10);
    frm_.showLines();
    EXPECT_EQ(names(), QStringList{"香皂×1"});
    EXPECT_EQ(grid->columnWidth(1), 72);
    EXPECT_EQ(grid->columnWidth(8), 102);
}

TEST_F(MainWindowTest, EnterInTheInputBoxShowsTheTotalsAndEmptiesTheBox)
{
    addLine(1, "牙刷", 2, 7);
    addLine(2, "毛巾", 1.5, 18.25);
    frm_.showLines();
    test::type(frm_, QStringLiteral("20/"));
    press(frm_, Qt::Key_Return);
    EXPECT_EQ(edit("edtInput"), QString());
    EXPECT_EQ(label("lblTotalQty"), QStringLiteral("3.5"));
    EXPECT_EQ(edit("edtAmount"), QStringLiteral("  25.25"));
    auto* grid = control<QTableView>("DBGrid1");
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 3).data().toString(), QStringLiteral("毛巾"));
}

TEST_F(MainWindowTest, AltF4AndEscDoNotCloseTheWindow)
{
    auto* input = control<QLineEdit>("edtInput");
    F4Spy spy;
    input->installEventFilter(&spy);
    press(frm_, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(spy.presses, 0) << "Alt+F4 is swallowed before any control sees it";
    press(frm_, Qt::Key_F4);
    EXPECT_EQ(spy.presses, 1) << "F4 alone is an ordinary key";
    press(frm_, Qt::Key_Escape);
    EXPECT_TRUE(frm_.isVisible());
    EXPECT_TRUE(fx_.person.questions.empty());
}

TEST_F(MainWindowTest, WithoutAWindowTitleTheTitleIsBlankNotTheProgramsName)
{
    fx_.settings.setOption("WindowTitle", "");
    frm_.hide();
    frm_.show();
    EXPECT_FALSE(frm_.windowTitle().isEmpty()) << "an empty title shows the program's name";
    EXPECT_TRUE(frm_.windowTitle().trimmed().isEmpty());
}

TEST_F(MainWindowTest, EditBoxesKeepTheInputMethodClosed)
{
    for (const char* name : {"edtInput", "edtPrice", "edtQuantity", "edtDiscount", "edtAmount"}) {
        auto* box = control<QLineEdit>(name);
        box->setFocus();
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(box, &query);
        EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << name;
        EXPECT_TRUE(box->inputMethodHints() & Qt::ImhLatinOnly) << name;
    }
}

TEST_F(MainWindowTest, CloseRequestsFromOutsideAreRefusedWithoutAQuestion)
{
    ASSERT_NE(frm_.windowHandle(), nullptr);
    frm_.windowHandle()->close();  // as a window manager or task bar asks
    frm_.close();
    frm_.reject();
    EXPECT_TRUE(frm_.isVisible());
    EXPECT_TRUE(fx_.person.questions.empty());
}

TEST_F(MainWindowTest, ClosesOnlyWhenTheCloseQueryIsAnsweredYes)
{
    fx_.person.answers = {false};
    frm_.closeRegister();
    EXPECT_TRUE(frm_.isVisible());
    EXPECT_EQ(fx_.person.questions, std::vector<std::string>{"你真的要退出系统吗？"});

    fx_.person.answers = {true};
    frm_.closeRegister();
    EXPECT_FALSE(frm_.isVisible());
    EXPECT_EQ(fx_.person.questions.size(), 2u) << "no local bills: no upload question";
}

TEST_F(MainWindowTest, UploadCommandSendsTheWaitingBills)
{
    addWaitingBill();
    test::type(frm_, QStringLiteral("12/"));
    press(frm_, Qt::Key_Return);
    EXPECT_EQ(fx_.person.waits, std::vector<std::string>{"正在上传数据,请稍候..."});
    EXPECT_EQ(fx_.person.openWaits, 0);
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(waitingBillIn(), (std::pair<std::int64_t, std::int64_t>{0, 1}));
    EXPECT_EQ(edit("edtInput"), QString());
}

TEST_F(MainWindowTest, CloseQueryUploadsTheWaitingBillsAndCloses)
{
    addWaitingBill();
    fx_.person.answers = {true, true};
    frm_.closeRegister();
    EXPECT_FALSE(frm_.isVisible());
    EXPECT_EQ(fx_.person.questions,
              (std::vector<std::string>{"你真的要退出系统吗？", "本机有单据未上传，您要上传到服务器吗？"}));
    EXPECT_EQ(waitingBillIn(), (std::pair<std::int64_t, std::int64_t>{0, 1}));
}

// The server is gone when the upload starts: told, and the window closes all the same
// with the bill still waiting.
TEST_F(MainWindowTest, FailedUploadAtCloseDoesNotKeepTheWindowOpen)
{
    addWaitingBill();
    fx_.office.registry().execute("alter database " + fx_.office.accountSetName() + " allow_connections false");
    fx_.office.dropClientConnections();
    fx_.log.expected = 2;  // the engine's text by the upload, the handler's entry
    fx_.person.answers = {true, true};
    frm_.closeRegister();
    EXPECT_FALSE(frm_.isVisible());
    EXPECT_EQ(fx_.log.entries.at(0).operation, "上传单据");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"网络故障！，系统自动切换到『断网销售』模式。"});
    EXPECT_EQ(fx_.dm.conClient().query("select BillNo from PosBill").size(), 1u);
}

TEST_F(MainWindowTest, LostServerShowsOfflineModeInTheLabel)
{
    fx_.office.registry().execute("alter database " + fx_.office.accountSetName() + " allow_connections false");
    fx_.office.dropClientConnections();
    try {
        fx_.terminal.db().query("select 1");
        FAIL() << "the server still answers";
    } catch (const DbError& e) {
        fx_.log.expected = 1;
        frm_.handleError("处理收银输入", e);
    }
    EXPECT_EQ(label("lblNetMode"), QStringLiteral("断网销售"));
    EXPECT_EQ(fx_.person.messages.size(), 1u);
}

TEST_F(MainWindowTest, AfterTheNetworkFaultTheInputStaysSelectedForARetry)
{
    const test::WindowErrorsTo handler(
        [this](const std::string& operation, const std::exception& error) { frm_.handleError(operation, error); });
    fx_.office.registry().execute("alter database " + fx_.office.accountSetName() + " allow_connections false");
    fx_.office.dropClientConnections();
    fx_.log.expected = 1;
    test::type(frm_, QStringLiteral("6901"));
    press(frm_, Qt::Key_Return);

    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"网络故障！，系统自动切换到『断网销售』模式。"});
    auto* input = control<QLineEdit>("edtInput");
    EXPECT_EQ(input->selectedText(), QStringLiteral("6901")) << "Enter tries the same code again";
    test::type(frm_, QStringLiteral("6902"));
    EXPECT_EQ(input->text(), QStringLiteral("6902")) << "the next scan replaces the failed one";
}

// A price box that holds no number makes the goods input throw; the window catches it
// where it ran the key, so nothing unwinds through the event dispatch.
TEST_F(MainWindowTest, ErrorBehindAKeyIsCaughtAtTheWindowAndReported)
{
    const test::WindowErrorsTo handler(
        [this](const std::string& operation, const std::exception& error) { frm_.handleError(operation, error); });
    fx_.log.expected = 1;
    control<QLineEdit>("edtPrice")->setText(QStringLiteral("abc"));
    control<QLineEdit>("edtInput")->setText(QStringLiteral("6901"));

    EXPECT_NO_THROW(press(frm_, Qt::Key_Return));

    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, "处理收银输入时发生错误。\n录入货品：the price box holds no number");
    EXPECT_EQ(fx_.person.messages[0].title, "错误");
    EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Error);
    ASSERT_EQ(fx_.log.entries.size(), 1u);
    EXPECT_EQ(fx_.log.entries[0].operatorCode, "01");
    EXPECT_EQ(fx_.log.entries[0].operation, "处理收银输入");
    EXPECT_TRUE(reg_.sale.bill.detail.empty());
    EXPECT_EQ(frm_.focusWidget(), control<QLineEdit>("edtInput")) << "the register goes on taking input";
}

}  // namespace
}  // namespace pos
