#include "access/ui/frm_admin_login.h"
#include "support/ui/ways_out.h"
#include "support/ui/window_keys.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

class AdminLoginWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::showActive(dlg_)); }

    // Code, Enter, password: the focus is then in the password box.
    void typeCredentials()
    {
        type(dlg_, " 9001");
        press(dlg_, Qt::Key_Return);
        ASSERT_EQ(dlg_.focusWidget()->objectName(), QStringLiteral("edtPass"));
        type(dlg_, "999 ");
    }

    TfrmAdminLogin dlg_{OperatorRight::Discount};
};

TEST_F(AdminLoginWindowTest, EnterInThePasswordGivesTheCredentialsAsTyped)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("管理员授权"));
    EXPECT_EQ(dlg_.right(), OperatorRight::Discount);
    EXPECT_EQ(dlg_.findChild<QLineEdit*>("edtPass")->echoMode(), QLineEdit::Password);
    typeCredentials();
    press(dlg_, Qt::Key_Return);

    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg_.isVisible());
    ASSERT_TRUE(dlg_.credentials().has_value());
    EXPECT_EQ(dlg_.credentials()->code, " 9001");
    EXPECT_EQ(dlg_.credentials()->password, "999 ");
}

class AdminLoginWayOutTest : public AdminLoginWindowTest, public ::testing::WithParamInterface<test::WayOut> {};

TEST_P(AdminLoginWayOutTest, GivesNothing)
{
    typeCredentials();
    GetParam().leave(dlg_);
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.credentials().has_value());
}

INSTANTIATE_TEST_SUITE_P(WaysOut, AdminLoginWayOutTest, ::testing::ValuesIn(test::kWaysOut), test::wayOutName);

}  // namespace
}  // namespace pos
