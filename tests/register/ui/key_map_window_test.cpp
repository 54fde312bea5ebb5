#include "register/key_map.h"
#include "register/new_bill.h"
#include "register/ui/frm_main.h"
#include "register/ui/frm_pos_help.h"
#include "register/ui/virtual_key.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include <optional>

namespace pos {
namespace {

using test::press;
using test::type;

TEST(KeyEventNameTest, KeysOfTheKeyboardGetTheNamesTheTableStores)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        const char* name;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, keypad = Qt::KeypadModifier, shift = Qt::ShiftModifier;
    const Case cases[] = {
        {Qt::Key_1, none, "1", "1"},
        {Qt::Key_1, keypad, "1", "1"},  // the keypad's digits are named as the main ones
        {Qt::Key_Exclam, shift, "!", "1"},  // a shifted symbol is the key that types it
        {Qt::Key_D, none, "d", "d"},
        {Qt::Key_D, Qt::ControlModifier, "\x04", "d"},
        {Qt::Key_D, shift, "D", "d"},
        {Qt::Key_Plus, keypad, "+", "+"},
        {Qt::Key_Asterisk, keypad, "*", "*"},
        {Qt::Key_Minus, keypad, "-", "-"},
        {Qt::Key_Period, keypad, ".", "."},
        {Qt::Key_Slash, keypad, "/", "/"},
        {Qt::Key_Plus, shift, "+", "="},  // Shift with the "=" key
        {Qt::Key_Slash, none, "/", "/"},
        {Qt::Key_Semicolon, none, ";", ";"},
        {Qt::Key_BracketLeft, none, "[", "["},
        {Qt::Key_Backslash, none, "\\", "\\"},
        {Qt::Key_Apostrophe, none, "'", "'"},
        {Qt::Key_QuoteLeft, none, "`", "`"},
        {Qt::Key_F1, none, "", "F1"},
        {Qt::Key_F12, none, "", "F12"},
        {Qt::Key_F24, none, "", "F24"},
        {Qt::Key_Return, none, "\r", "Enter"},
        {Qt::Key_Enter, keypad, "\r", "Enter"},
        {Qt::Key_Space, none, " ", "Space"},
        {Qt::Key_Backspace, none, "\b", "BackSpace"},
        {Qt::Key_Tab, none, "\t", "TAB"},
        {Qt::Key_Escape, none, "", "Esc"},
        {Qt::Key_Up, none, "", "Up Arrow"},
        {Qt::Key_Down, none, "", "Down Arrow"},
        {Qt::Key_Left, none, "", "Left Arrow"},
        {Qt::Key_Right, none, "", "Right Arrow"},
        {Qt::Key_PageUp, none, "", "Page Up"},
        {Qt::Key_PageDown, none, "", "Page Down"},
        {Qt::Key_Home, none, "", "Home"},
        {Qt::Key_End, none, "", "End"},
        {Qt::Key_Insert, none, "", "Insert"},
        {Qt::Key_Delete, none, "", "Delete"},
        {Qt::Key_Print, none, "", "Print Screen"},
        {Qt::Key_Pause, none, "", "Pause Break"},
        {Qt::Key_CapsLock, none, "", "Caps Lock"},
        {Qt::Key_NumLock, none, "", "Num Lock"},
        {Qt::Key_ScrollLock, none, "", "Scroll Lock"},
        {Qt::Key_Shift, shift, "", "Shift"},
        {Qt::Key_Control, Qt::ControlModifier, "", "Ctrl"},
        {Qt::Key_Alt, Qt::AltModifier, "", "Alt"},
        {Qt::Key_Menu, none, "", "Applications"},
        {Qt::Key_Super_L, none, "", "Left Windows"},
        {Qt::Key_VolumeUp, none, "", ""},
        {Qt::Key_yen, none, "", ""},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
        EXPECT_EQ(KeyName(virtualKeyCode(event)), c.name) << c.key << " " << c.text.toStdString();
    }
}

// The key help window over the local file's key map, as it comes.
class KeyHelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::showActive(dlg_)); }

    QTableView* grid() { return test::control<QTableView>(dlg_, "DBGrid1"); }
    // The grid cursor on a command's key; the next key typed starts editing it.
    void toKey(const char* sysKey, int column)
    {
        QAbstractItemModel* model = grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 1).data().toString() == QString::fromUtf8(sysKey))
                return grid()->setCurrentIndex(model->index(r, column));
        ADD_FAILURE() << sysKey;
    }
    // The command's two keys in the file, as "first|second".
    std::string keysOf(const char* sysKey)
    {
        RowSet r = fx_.dm.conClient().query("select FirClientKey,SecClientKey from PosHelp where SysKey=$1", {sysKey});
        return r.first("FirClientKey").toString() + "|" + r.first("SecClientKey").toString();
    }
    // Typed key by key: the first key opens the cell's editor, the rest go to it.
    void typeKeys(const char* text)
    {
        for (const QChar ch : QString::fromUtf8(text))
            type(dlg_, QString(ch));
    }
    // Enter in the cell being typed: its editor hands the text on once events are run.
    void enterCell()
    {
        press(dlg_, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void click(const char* button) { test::control<QPushButton>(dlg_, button)->click(); }

    test::TerminalFixture fx_;
    TfrmPosHelp dlg_{fx_.terminal};
};

TEST_F(KeyHelpWindowTest, TypedKeyNamesAreWrittenAndOnlyEnterOrCancelCloses)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("帮助"));
    QAbstractItemModel* model = grid()->model();
    EXPECT_EQ(model->rowCount(),
              fx_.dm.conClient().query("select count(*) as n from PosHelp").first("n").toInt());
    const char* titles[] = {"功能说明", "默认键", "自定键一", "自定键二", "例子"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8(titles[c]));
    for (int c : {0, 1, 4})
        EXPECT_FALSE(model->flags(model->index(0, c)).testFlag(Qt::ItemIsEditable)) << c;

    // A cell ended by Enter is written and the window stays.
    toKey("4/", 2);
    typeKeys("F4 ");
    enterCell();
    EXPECT_EQ(keysOf("4/"), "F4|Enter");
    EXPECT_TRUE(dlg_.isVisible());

    // "确定" writes the cell being typed.
    toKey("4/", 3);
    press(dlg_, Qt::Key_Delete);
    typeKeys("x");
    press(dlg_, Qt::Key_Backspace);
    click("btnOK");
    EXPECT_EQ(keysOf("4/"), "F4|");
    EXPECT_TRUE(dlg_.isVisible());

    press(dlg_, Qt::Key_Escape);
    EXPECT_TRUE(dlg_.isVisible()) << "Esc does not close";

    // "取消" leaves the cell being typed unwritten.
    toKey("5/", 2);
    typeKeys("F5");
    click("btnCancel");
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(keysOf("5/"), "5/|Enter");
    EXPECT_EQ(GetSysKey(fx_.dm.conClient().statements<RegisterStatements>(), "F4", ""), "4/");

    ASSERT_TRUE(test::showActive(dlg_));
    press(dlg_, Qt::Key_Return);
    EXPECT_FALSE(dlg_.isVisible()) << "Enter outside a cell closes";
}

TEST_F(KeyHelpWindowTest, RestoringTheDefaultsAsksFirst)
{
    toKey("4/", 2);
    typeKeys("F4");
    enterCell();

    fx_.person.answers = {false};
    click("btnDefault");
    EXPECT_EQ(fx_.person.questions, std::vector<std::string>{"确实要恢复全部默认键吗？"});
    EXPECT_EQ(keysOf("4/"), "F4|Enter") << "No changes nothing";

    fx_.person.answers = {true};
    click("btnDefault");
    EXPECT_EQ(keysOf("4/"), "4/|Enter");
    toKey("4/", 2);
    EXPECT_EQ(grid()->currentIndex().data().toString(), QStringLiteral("4/")) << "the grid shows the file again";
    EXPECT_TRUE(dlg_.isVisible());
}

TEST_F(KeyHelpWindowTest, ATypingKeyAloneIsKeptOnlyOnceTheShopAgrees)
{
    const std::string question =
        "键“6”单独使用时，扫描或输入以“6”开头的条码和数量时会被当作命令执行！确实要把它设为“修改下一商品的数量”"
        "的键吗？（建议再设一个自定键二，如 Enter）";
    struct {
        const char* name;
        int column;
        const char* typed;  // "" empties the cell
        std::optional<bool> answer;  // none: no question
        const char* keys;            // in the file afterwards
    } steps[] = {
        {"DigitWithASecondKey", 2, "6", std::nullopt, "6|Enter"},
        {"SecondKeyEmptiedRefused", 3, "", false, "6|Enter"},
        {"SecondKeyEmptiedAgreed", 3, "", true, "6|"},
        {"FunctionKeyAlone", 2, "F6", std::nullopt, "F6|"},
        {"DigitAloneAgain", 2, "6", true, "6|"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        fx_.person.questions.clear();
        if (step.answer)
            fx_.person.answers = {*step.answer};
        toKey("-", step.column);
        typeKeys(*step.typed ? step.typed : "x");
        if (!*step.typed)
            press(dlg_, Qt::Key_Backspace);
        enterCell();
        EXPECT_EQ(fx_.person.questions, step.answer ? std::vector<std::string>{question} : std::vector<std::string>{});
        EXPECT_EQ(keysOf("-"), step.keys);
        toKey("-", step.column);
        const std::string shown = grid()->currentIndex().data().toString().toStdString();
        EXPECT_EQ(shown, step.column == 2 ? std::string(step.keys).substr(0, std::string(step.keys).find('|'))
                                          : std::string(step.keys).substr(std::string(step.keys).find('|') + 1))
            << "the grid shows what the file holds";
    }
    EXPECT_TRUE(fx_.person.messages.empty());
}

TEST_F(KeyHelpWindowTest, TwoCommandsOnTheSameKeysAreTold)
{
    toKey("5/", 2);
    typeKeys("F5");
    enterCell();
    EXPECT_TRUE(fx_.person.messages.empty());

    toKey("5/", 2);
    typeKeys("4/");
    enterCell();
    EXPECT_EQ(fx_.person.messageTexts(),
              std::vector<std::string>{"“取挂单”与“挂单”使用同一个键“4/+Enter”，按下时只会执行其中一个！请修改其中一行。"});
    EXPECT_EQ(keysOf("5/"), "4/|Enter") << "kept: the shop may mend either row";

    fx_.person.messages.clear();
    toKey("4/", 3);
    typeKeys("x");
    press(dlg_, Qt::Key_Backspace);
    enterCell();
    EXPECT_TRUE(fx_.person.questions.empty()) << "\"4/\" alone is no typing key";
    EXPECT_TRUE(fx_.person.messages.empty()) << "the two rows differ again";
}

TEST(RemappedKeyTest, AFunctionKeyMappedToACommandDrivesTheRegister)
{
    test::TerminalFixture fx;
    RegisterState reg;
    reg.sale.bill = Bill::open(fx.dm.conClient());
    startNewBill(fx.terminal, reg.sale);
    fx.dm.conClient().execute("update PosHelp set FirClientKey='F2', SecClientKey=null where SysKey='-'");
    TfrmMain frm(fx.terminal, reg);
    ASSERT_TRUE(test::showActive(frm));
    auto* edtInput = test::control<QLineEdit>(frm, "edtInput");
    ASSERT_EQ(frm.focusWidget(), edtInput);

    type(frm, "69");
    press(frm, Qt::Key_F2);
    EXPECT_EQ(frm.focusWidget(), edtInput) << "with text in the box F2 is no command";
    edtInput->clear();
    press(frm, Qt::Key_F2);
    EXPECT_EQ(frm.focusWidget(), test::control<QLineEdit>(frm, "edtQuantity"));
    EXPECT_TRUE(fx.person.messages.empty());
}

TEST(RegisterLockTest, SevenSlashLocksTheRegisterUntilTheOperatorsPasswordIsTyped)
{
    test::TerminalFixture fx;
    for (WorkingMode mode : {Online, Offline})
        test::addOperator(fx.side(mode), {3, "1003", "收银员", "333", 0, {}});
    fx.state.OperatorId = 3;
    fx.state.OperatorCode = "1003";
    RegisterState reg;
    reg.sale.bill = Bill::open(fx.dm.conClient());
    startNewBill(fx.terminal, reg.sale);
    TfrmMain frm(fx.terminal, reg);
    ASSERT_TRUE(test::showActive(frm));

    QString title;
    const test::DialogPoller unlock([&](QWidget& lock) {
        title = lock.windowTitle();
        press(lock, Qt::Key_Escape);
        lock.close();
        type(lock, "444");
        press(lock, Qt::Key_Return);
        EXPECT_TRUE(lock.isVisible());
        test::control<QLineEdit>(lock, "edtPass")->clear();
        type(lock, "333");
        press(lock, Qt::Key_Return);
    });
    type(frm, "7/");
    press(frm, Qt::Key_Return);  // returns once unlocked

    EXPECT_EQ(title, QStringLiteral("锁机"));
    EXPECT_EQ(fx.person.messageTexts(), std::vector<std::string>{"输入的密码不正确！"});
}

}  // namespace
}  // namespace pos
