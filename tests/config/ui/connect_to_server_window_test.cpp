#include "config/settings.h"
#include "config/ui/frm_connect_to_server.h"
#include "support/back_office.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

const char* const kFailureText = "不能连接到指定的服务器！请确认输入的信息正确。 ";

class ConnectToServerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dlg_.setPerson(&person_);
        ASSERT_TRUE(test::showActive(dlg_));
    }

    template <class W>
    W* control(const char* name)
    {
        return test::control<W>(dlg_, name);
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    bool iniWritten() const { return QFile::exists(QString::fromStdString(dir_.file("POS.ini"))); }

    // The three fields from the keyboard, Enter after each; the focus is then on OK.
    void typeLogin(const QString& server, const QString& login, const QString& password)
    {
        typeLogin(dlg_, server, login, password);
    }
    static void typeLogin(QWidget& dlg, const QString& server, const QString& login, const QString& password)
    {
        type(dlg, server);
        press(dlg, Qt::Key_Return);
        type(dlg, login);
        press(dlg, Qt::Key_Return);
        type(dlg, password);
        press(dlg, Qt::Key_Return);
    }

    test::BackOffice office_;
    test::TempDir dir_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    TfrmConnectToServer dlg_{settings_, office_.registryName()};
};

TEST_F(ConnectToServerWindowTest, ShowsItsFieldsEmptyExceptTheLoginName)
{
    settings_.writeServerLogin({"stored-host", "stored-login", "stored"});
    TfrmConnectToServer fresh(settings_, office_.registryName());
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("配置服务器连接"));
    EXPECT_EQ(fresh.findChild<QLineEdit*>("edtServerName")->text(), QString());
    EXPECT_EQ(fresh.findChild<QLineEdit*>("edtLoginName")->text(), QStringLiteral("sa"));
    EXPECT_EQ(fresh.findChild<QLineEdit*>("edtLoginPwd")->text(), QString());
    EXPECT_EQ(fresh.findChild<QLineEdit*>("edtLoginPwd")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(fresh.findChild<QPushButton*>("btbOK")->text(), QStringLiteral("确定"));
    EXPECT_EQ(fresh.findChild<QPushButton*>("btbCancel")->text(), QStringLiteral("取消"));
    EXPECT_EQ(fresh.findChild<QLabel*>("lblHint")->text(),
              QStringLiteral("服务器名称是指 SQL Server 服务器名称,也就是安装 SQL Server 的计算机名称;"
                             "管理员名称是指SQL Server的管理员名称(sa)"));
    EXPECT_EQ(dlg_.focusWidget(), edit("edtServerName"));
}

TEST_F(ConnectToServerWindowTest, ReachableServerIsWrittenToTheSettingsFile)
{
    const ServerLogin cluster = test::testServerLogin();
    typeLogin(QStringLiteral("  %1 ").arg(QString::fromStdString(cluster.serverName)),
              QStringLiteral(" %1").arg(QString::fromStdString(cluster.loginName)), QStringLiteral(" p=w;d Z%41 "));
    ASSERT_EQ(dlg_.focusWidget(), control<QPushButton>("btbOK"));
    press(dlg_, Qt::Key_Return);

    EXPECT_TRUE(dlg_.confirmed());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_TRUE(person_.messages.empty());
    const ServerLogin stored = settings_.serverLogin();
    EXPECT_EQ(stored.serverName, cluster.serverName);
    EXPECT_EQ(stored.loginName, cluster.loginName);
    EXPECT_EQ(stored.password, "p=w;d Z%41");
    EXPECT_EQ(settings_.ini().read("Connection", "LoginPwd").find("p=w;d"), std::string::npos);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ConnectToServerWindowTest, UnreachableServerKeepsTheDialogAndWritesNothing)
{
    const ServerLogin cluster = test::testServerLogin();
    typeLogin(QStringLiteral("127.0.0.1:1"), QString::fromStdString(cluster.loginName), QStringLiteral("pw"));
    QTest::mouseClick(control<QPushButton>("btbOK"), Qt::LeftButton);

    ASSERT_EQ(person_.messages.size(), 1u);
    EXPECT_EQ(person_.messages[0].text, kFailureText);
    EXPECT_EQ(person_.messages[0].title, "提示");
    EXPECT_EQ(person_.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.confirmed());
    EXPECT_FALSE(iniWritten());
    EXPECT_EQ(dlg_.focusWidget(), edit("edtServerName"));
    EXPECT_EQ(edit("edtServerName")->selectedText(), QStringLiteral("127.0.0.1:1"));
    EXPECT_EQ(edit("edtLoginName")->text(), QString::fromStdString(cluster.loginName));
    EXPECT_EQ(edit("edtLoginPwd")->text(), QStringLiteral("pw"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The selected name is replaced by what is typed next.
    type(dlg_, QString::fromStdString(cluster.serverName));
    QTest::mouseClick(control<QPushButton>("btbOK"), Qt::LeftButton);
    EXPECT_TRUE(dlg_.confirmed());
    EXPECT_EQ(settings_.serverLogin().serverName, cluster.serverName);
}

// The start-up goes to the registry database first: a server without it is no server
// for the terminal.
TEST_F(ConnectToServerWindowTest, ServerWithoutTheRegistryDatabaseIsRefused)
{
    const ServerLogin cluster = test::testServerLogin();
    TfrmConnectToServer elsewhere(settings_, office_.registryName() + "_missing");
    elsewhere.setPerson(&person_);
    ASSERT_TRUE(test::showActive(elsewhere));
    typeLogin(elsewhere, QString::fromStdString(cluster.serverName), QString::fromStdString(cluster.loginName),
              QString::fromStdString(cluster.password));
    press(elsewhere, Qt::Key_Return);

    EXPECT_EQ(person_.messageTexts(), std::vector<std::string>{kFailureText});
    EXPECT_FALSE(elsewhere.confirmed());
    EXPECT_FALSE(iniWritten());
}

TEST_F(ConnectToServerWindowTest, EscAndCancelLeaveWithoutConfirming)
{
    type(dlg_, QString::fromStdString(test::testServerLogin().serverName));
    press(dlg_, Qt::Key_Escape);
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.confirmed());

    ASSERT_TRUE(test::showActive(dlg_));
    QTest::mouseClick(control<QPushButton>("btbCancel"), Qt::LeftButton);
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_FALSE(iniWritten());
    EXPECT_TRUE(person_.messages.empty());
}

TEST(ConnectToServerWindowBoxTest, WithoutAPersonTheFailureIsAMessageBox)
{
    test::TempDir dir;
    Settings settings{IniFile(dir.file("POS.ini"))};
    TfrmConnectToServer dlg(settings, "msdb");
    ASSERT_TRUE(test::showActive(dlg));
    dlg.findChild<QLineEdit*>("edtServerName")->setText(QStringLiteral("127.0.0.1:1"));

    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const test::DialogPoller answer([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        box->accept();
    });
    QTest::mouseClick(dlg.findChild<QPushButton*>("btbOK"), Qt::LeftButton);

    EXPECT_EQ(text, QString::fromUtf8(kFailureText));
    EXPECT_EQ(title, QStringLiteral("提示"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.confirmed());
}

}  // namespace
}  // namespace pos
