#include "access/ui/frm_change_pass.h"
#include "db/password_hash.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"
#include "support/ui/window_keys.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

// Operator 1003 signed on online, known on both sides.
class ChangePassWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (WorkingMode mode : {Online, Offline})
            test::addOperator(fx_.side(mode), {3, "1003", "收银员", "333", 0, {}});
        fx_.state.OperatorCode = "1003";
        ASSERT_TRUE(test::showActive(dlg_));
    }

    // The three boxes typed, Enter after each; the focus is then on OK.
    void typePasswords(const QString& oldPass, const QString& newA, const QString& newB)
    {
        for (const QString& text : {oldPass, newA, newB}) {
            type(dlg_, text);
            press(dlg_, Qt::Key_Return);
        }
    }
    std::string serverPassword()
    {
        return fx_.side(Online).query("select Password from PosOperator where OperatorId=3").first("Password").toString();
    }
    std::string localPassword()
    {
        return fx_.side(Offline).query("select Password from PosOperator where OperatorId=3").first("Password").toString();
    }

    test::TerminalFixture fx_;
    TfrmChangePass dlg_{{fx_.dm, fx_.state, fx_.person, fx_.log, fx_.clock}};
};

TEST_F(ChangePassWindowTest, ChangesBothSidesFromTheKeyboard)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("修改密码"));
    for (const char* box : {"edtOldPass", "edtNewPassA", "edtNewPassB"})
        EXPECT_EQ(test::control<QLineEdit>(dlg_, box)->echoMode(), QLineEdit::Password) << box;

    typePasswords(" 333 ", " n1 ", "n1");
    ASSERT_EQ(dlg_.focusWidget(), test::control<QPushButton>(dlg_, "btnOK"));
    press(dlg_, Qt::Key_Return);

    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"修改密码成功！"});
    EXPECT_EQ(serverPassword(), "n1");
    EXPECT_TRUE(passwordMatches(localPassword(), "n1"));
}

TEST_F(ChangePassWindowTest, WrongEntriesKeepTheDialogOpen)
{
    const struct {
        const char* oldPass;
        const char* newB;
        const char* message;
        const char* focused;
    } cases[] = {
        {"444", "n1", "您输入的旧密码不正确！", "edtOldPass"},
        {"333", "n2", "两次输入的新密码不相同！", "edtNewPassA"},
    };
    for (const auto& c : cases) {
        fx_.person.messages.clear();
        for (const char* box : {"edtOldPass", "edtNewPassA", "edtNewPassB"})
            test::control<QLineEdit>(dlg_, box)->clear();
        test::control<QLineEdit>(dlg_, "edtOldPass")->setFocus();
        typePasswords(c.oldPass, "n1", c.newB);
        test::control<QPushButton>(dlg_, "btnOK")->click();

        EXPECT_TRUE(dlg_.isVisible()) << c.message;
        EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dlg_.focusWidget()->objectName(), QString::fromLatin1(c.focused));
    }
    EXPECT_EQ(serverPassword(), "333");
    EXPECT_TRUE(passwordMatches(localPassword(), "333"));
}

TEST_F(ChangePassWindowTest, OfflineTellsToSwitchAndChangesNothing)
{
    fx_.state.NetMode = Offline;
    typePasswords("333", "n1", "n1");
    press(dlg_, Qt::Key_Return);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(fx_.person.messageTexts(),
              std::vector<std::string>{"修改密码需要在『连网销售』模式下进行！请切换到『连网销售』模式再修改密码。"});
    EXPECT_EQ(serverPassword(), "333");
    EXPECT_TRUE(passwordMatches(localPassword(), "333"));
}

TEST_F(ChangePassWindowTest, EscapeChangesNothing)
{
    typePasswords("333", "n1", "n1");
    press(dlg_, Qt::Key_Escape);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(serverPassword(), "333");
}

}  // namespace
}  // namespace pos
