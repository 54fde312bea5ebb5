#include "access/ui/frm_login.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"
#include "support/ui/ways_out.h"
#include "support/ui/window_keys.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

class LoginWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Database& server = fx_.side(Online);
        test::addOperator(server, {5, "1005", "王芳", "pw5", 0, {}});
        test::addShift(server, 1, "01", "早班");
        test::addShift(server, 2, "02", "晚班");
        ASSERT_TRUE(test::showActive(dlg_));
    }

    template <class W>
    W* control(const char* name)
    {
        return test::control<W>(dlg_, name);
    }
    QWidget* focus() { return dlg_.focusWidget(); }

    // Code and password typed, Enter after each; the focus is then on the shift list.
    void typeCredentials(const QString& code, const QString& password)
    {
        type(dlg_, code);
        press(dlg_, Qt::Key_Return);
        type(dlg_, password);
        press(dlg_, Qt::Key_Return);
    }

    test::TerminalFixture fx_;
    TfrmLogin dlg_{fx_.dm, fx_.state, fx_.person};
};

TEST_F(LoginWindowTest, SignsOnFromTheKeyboard)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("登录"));
    EXPECT_EQ(control<QLineEdit>("edtPassword")->echoMode(), QLineEdit::Password);
    auto* shifts = control<QComboBox>("cmbClassNo");
    ASSERT_EQ(shifts->count(), 2);
    EXPECT_EQ(shifts->currentIndex(), -1);
    EXPECT_EQ(focus(), control<QLineEdit>("edtCode"));

    typeCredentials(" 1005 ", "pw5");
    ASSERT_EQ(focus(), shifts);
    press(dlg_, Qt::Key_Down);
    press(dlg_, Qt::Key_Down);
    press(dlg_, Qt::Key_Up);
    press(dlg_, Qt::Key_Down);
    EXPECT_EQ(focus(), shifts) << "Up and Down choose within the list";
    EXPECT_EQ(shifts->currentText(), QStringLiteral("晚班"));
    press(dlg_, Qt::Key_Return);
    ASSERT_EQ(focus(), control<QPushButton>("btnOK"));
    press(dlg_, Qt::Key_Return);

    EXPECT_TRUE(dlg_.succeeded());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(fx_.state.OperatorCode, "1005");
    EXPECT_EQ(fx_.state.ClassName, "晚班");
    EXPECT_TRUE(fx_.person.messages.empty());
}

TEST_F(LoginWindowTest, RefusalKeepsTheDialogOpenWithItsMessage)
{
    const struct {
        const char* password;
        bool chooseShift;
        const char* message;
        const char* focusedControl;
    } cases[] = {
        {"wrong", true, "您输入的代码或密码不正确！", "edtCode"},
        {"pw5", false, "您没有选择班次！", "cmbClassNo"},
    };
    for (const auto& c : cases) {
        fx_.person.messages.clear();
        control<QLineEdit>("edtCode")->setFocus();
        control<QLineEdit>("edtCode")->clear();
        control<QLineEdit>("edtPassword")->clear();
        control<QComboBox>("cmbClassNo")->setCurrentIndex(-1);

        typeCredentials("1005", c.password);
        if (c.chooseShift)
            press(dlg_, Qt::Key_Down);
        control<QPushButton>("btnOK")->click();

        EXPECT_TRUE(dlg_.isVisible()) << c.message;
        EXPECT_FALSE(dlg_.succeeded());
        ASSERT_EQ(fx_.person.messages.size(), 1u);
        EXPECT_EQ(fx_.person.messages[0].text, c.message);
        EXPECT_EQ(fx_.person.messages[0].title, "提示");
        EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(focus()->objectName(), QString::fromLatin1(c.focusedControl));
    }
    EXPECT_EQ(fx_.state.OperatorId, 0);
}

class LoginWayOutTest : public LoginWindowTest, public ::testing::WithParamInterface<test::WayOut> {};

TEST_P(LoginWayOutTest, LeavesWithoutSigningOn)
{
    typeCredentials("1005", "pw5");
    press(dlg_, Qt::Key_Down);
    GetParam().leave(dlg_);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg_.succeeded());
    EXPECT_EQ(fx_.state.OperatorId, 0);
}

INSTANTIATE_TEST_SUITE_P(WaysOut, LoginWayOutTest, ::testing::ValuesIn(test::kWaysOut), test::wayOutName);

}  // namespace
}  // namespace pos
