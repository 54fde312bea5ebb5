#include "access/ui/frm_lock_machine.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"
#include "support/ui/window_keys.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

// Cashier 1003 (password 333) signed on and the terminal locked; on both sides a
// supervisor 9001 (999) and a second operator under the same code with password 555.
class LockMachineWindowTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    void SetUp() override
    {
        for (WorkingMode mode : {Online, Offline}) {
            test::addOperator(fx_.side(mode), {3, "1003", "收银员", "333", 0, {}});
            test::addOperator(fx_.side(mode), {9, "9001", "店长", "999", 1, {}});
        }
        // Only the local copy may repeat a code.
        test::addOperator(fx_.side(Offline), {4, "1003", "同号收银员", "555", 0, {}});
        fx_.state.NetMode = GetParam();
        ASSERT_TRUE(test::showActive(dlg_));
    }

    QLineEdit* edtPass() { return test::control<QLineEdit>(dlg_, "edtPass"); }
    void typeAndEnter(const QString& text)
    {
        edtPass()->clear();
        type(dlg_, text);
        press(dlg_, Qt::Key_Return);
    }

    test::TerminalFixture fx_;
    TfrmLockMachine dlg_{{fx_.dm, fx_.state}, fx_.person, 3, "1003"};
};

TEST_P(LockMachineWindowTest, RefusesEveryWayOutButTheOperatorsOwnPassword)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("锁机"));
    EXPECT_EQ(edtPass()->echoMode(), QLineEdit::Password);

    press(dlg_, Qt::Key_Escape);
    press(dlg_, Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(dlg_.close());
    dlg_.reject();
    EXPECT_TRUE(dlg_.isVisible()) << "closed while locked";

    // Another operator's password, one sharing the code, nothing, or a four-digit code.
    for (const char* wrong : {"999", "555", "", "0000", "3333"}) {
        fx_.person.messages.clear();
        typeAndEnter(QString::fromUtf8(wrong));
        EXPECT_TRUE(dlg_.isVisible()) << wrong;
        EXPECT_FALSE(dlg_.unlocked()) << wrong;
        EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"输入的密码不正确！"}) << wrong;
        EXPECT_EQ(dlg_.focusWidget(), edtPass());
        EXPECT_EQ(edtPass()->selectedText(), edtPass()->text()) << "the wrong text is selected to be typed over";
    }

    fx_.person.messages.clear();
    typeAndEnter(QStringLiteral(" 333 "));
    EXPECT_TRUE(dlg_.unlocked());
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_TRUE(fx_.person.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, LockMachineWindowTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return std::string(info.param == Online ? "Online" : "Offline"); });

}  // namespace
}  // namespace pos
