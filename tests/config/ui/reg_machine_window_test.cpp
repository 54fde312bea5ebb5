#include "config/settings.h"
#include "config/ui/frm_reg_machine.h"
#include "support/back_office.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"
#include "support/ui/window_errors_to.h"
#include "support/ui/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

const char* const kNotFreeText = "您输入的POS机号不正确或者该POS机号已被注册。";
const char* const kEnrolledText = "恭喜您！POS机号注册成功。";

class RegMachineWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        office_.accountSet().execute("insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values"
                                     "(1,'001','一号机',0),(2,'002','二号机',1)");
        ASSERT_TRUE(server_.open(office_.login(), office_.accountSetName()));
        ASSERT_TRUE(test::showActive(dlg_));
    }

    QLineEdit* number() { return dlg_.findChild<QLineEdit*>("edtMachineCode"); }
    QPushButton* button(const char* name) { return dlg_.findChild<QPushButton*>(QString::fromLatin1(name)); }
    void retype(const QString& text)
    {
        number()->setFocus();
        press(dlg_, Qt::Key_A, Qt::ControlModifier);
        type(dlg_, text);
    }
    void expectOnlyMessage(const char* text)
    {
        ASSERT_EQ(person_.messages.size(), 1u);
        EXPECT_EQ(person_.messages[0].text, text);
        EXPECT_EQ(person_.messages[0].title, "提示");
        EXPECT_EQ(person_.messages[0].icon, MessageIcon::Information);
    }

    test::TempDir dir_;
    test::BackOffice office_;
    PgDatabase server_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    TfrmRegMachine dlg_{settings_, server_, person_};
};

TEST_F(RegMachineWindowTest, ShowsItsCaptionAndControls)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("注册POS机"));
    ASSERT_NE(number(), nullptr);
    EXPECT_EQ(dlg_.focusWidget(), number());
    bool labelled = false;
    for (QLabel* label : dlg_.findChildren<QLabel*>())
        labelled = labelled || (label->text() == QStringLiteral("POS机号：") && label->buddy() == number());
    EXPECT_TRUE(labelled);
    EXPECT_EQ(button("btnOK")->text(), QStringLiteral("确定"));
    EXPECT_EQ(button("btnCancel")->text(), QStringLiteral("取消"));
}

TEST_F(RegMachineWindowTest, WrongNumberKeepsTheDialogThenTheRightOneEnrols)
{
    for (const QString& wrong : {QStringLiteral("999"), QStringLiteral("002"), QStringLiteral("001' or '1'='1")}) {
        person_.messages.clear();
        retype(wrong);
        press(dlg_, Qt::Key_Return);
        ASSERT_EQ(dlg_.focusWidget(), button("btnOK"));
        press(dlg_, Qt::Key_Return);
        SCOPED_TRACE(wrong.toStdString());
        expectOnlyMessage(kNotFreeText);
        EXPECT_TRUE(dlg_.isVisible());
        EXPECT_FALSE(dlg_.enrolled());
        EXPECT_EQ(dlg_.focusWidget(), number());
    }
    EXPECT_EQ(settings_.option("MachineId"), "");

    person_.messages.clear();
    retype(QStringLiteral(" 001 "));
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    expectOnlyMessage(kEnrolledText);
    EXPECT_TRUE(dlg_.enrolled());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(settings_.option("MachineId"), "1");
    EXPECT_EQ(office_.accountSet().query("select IsRegister from PosMachine where MachineId=1").first("IsRegister"),
              Value(1));
}

TEST_F(RegMachineWindowTest, EscLeavesWithoutEnrolling)
{
    type(dlg_, QStringLiteral("001"));
    press(dlg_, Qt::Key_Escape);
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.enrolled());
    EXPECT_EQ(settings_.option("MachineId"), "");
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(RegMachineWindowTest, LostServerIsReportedAndTheDialogStaysUsable)
{
    std::vector<std::string> reported;
    const test::WindowErrorsTo handler([&](const std::string& operation, const std::exception& error) {
        auto* dbError = dynamic_cast<const DbError*>(&error);
        EXPECT_TRUE(dbError && dbError->isNetworkFailure()) << error.what();
        reported.push_back(operation);
    });
    retype(QStringLiteral("001"));
    office_.dropClientConnections();
    EXPECT_NO_THROW(QTest::mouseClick(button("btnOK"), Qt::LeftButton));
    EXPECT_EQ(reported, std::vector<std::string>{"注册POS机"});
    EXPECT_TRUE(person_.messages.empty());
    EXPECT_TRUE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.enrolled());
    EXPECT_EQ(settings_.option("MachineId"), "");
    EXPECT_EQ(number()->text(), QStringLiteral("001"));

    ASSERT_TRUE(server_.reopen());
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    expectOnlyMessage(kEnrolledText);
    EXPECT_TRUE(dlg_.enrolled());
    EXPECT_EQ(settings_.option("MachineId"), "1");
}

TEST_F(RegMachineWindowTest, ShowingAgainClearsTheEnrolledFlag)
{
    retype(QStringLiteral("001"));
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    ASSERT_TRUE(dlg_.enrolled());
    ASSERT_TRUE(test::showActive(dlg_));
    EXPECT_FALSE(dlg_.enrolled());
}

}  // namespace
}  // namespace pos
