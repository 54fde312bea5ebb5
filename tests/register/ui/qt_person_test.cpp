#include "widgets/frm_comm_input.h"
#include "widgets/frm_wait_show.h"
#include "register/ui/qt_person.h"
#include "support/ui/dialog_poller.h"
#include "support/ui/window_keys.h"
#include "support/ui/window_system_queue.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pos {
namespace {

std::vector<TfrmWaitShow*> visibleWaitWindows()
{
    std::vector<TfrmWaitShow*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* wait = qobject_cast<TfrmWaitShow*>(w); wait && wait->isVisible())
            shown.push_back(wait);
    return shown;
}

TEST(QtPersonTest, QuestionsAreAnsweredWithYesOrNo)
{
    QtPerson person;
    for (auto [button, answer] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        const test::DialogPoller click([button = button](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
            EXPECT_EQ(box->text(), QStringLiteral("继续吗？"));
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(button)->click();
        });
        EXPECT_EQ(person.ask("继续吗？", "提示"), answer);
    }
}

// The window system would show the program's name in the place of an empty title.
bool blankTitle(const QWidget* window)
{
    return !window->windowTitle().isEmpty() && window->windowTitle().trimmed().isEmpty();
}

TEST(QtPersonTest, MessagesWithoutTitleShowABlankTitle)
{
    QtPerson person;
    {
        const test::DialogPoller answer([](QWidget& modal) {
            EXPECT_TRUE(blankTitle(&modal)) << modal.windowTitle().toStdString();
            auto* box = qobject_cast<QMessageBox*>(&modal);
            ASSERT_NE(box, nullptr);
            box->button(QMessageBox::Yes)->click();
        });
        EXPECT_TRUE(person.ask("你真的要退出系统吗？", ""));
    }
    const test::DialogPoller close([](QWidget& modal) {
        EXPECT_TRUE(blankTitle(&modal)) << modal.windowTitle().toStdString();
        modal.close();
    });
    person.message("该收银机的日期与服务器的日期不相同！，请校对时间。", "", MessageIcon::Information);
}

TEST(QtPersonTest, InputReturnsWhatTheDialogGives)
{
    QtPerson person;
    {
        const test::DialogPoller confirm([](QWidget& modal) {
            auto* dlg = qobject_cast<TfrmCommInput*>(&modal);
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("输入要修改的数量"));
            EXPECT_EQ(test::control<QLabel>(*dlg, "lblInput")->text(), QStringLiteral("数量"));
            test::control<QLineEdit>(*dlg, "edtInput")->setText(QStringLiteral("2.5"));
            test::control<QPushButton>(*dlg, "btnOK")->click();
        });
        EXPECT_EQ(person.input("输入要修改的数量", "数量", InputKind::Number), "2.5");
    }
    const test::DialogPoller cancel([](QWidget& modal) { test::control<QPushButton>(modal, "btnCancel")->click(); });
    EXPECT_EQ(person.input("输入要修改的数量", "数量", InputKind::Number), "0");
}

TEST(QtPersonTest, PleaseWaitWindowLivesAsLongAsTheIndicator)
{
    QtPerson person;
    auto wait = person.pleaseWait("正在下载货品资料,请稍候...");
    const auto shown = visibleWaitWindows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->size(), QSize(313, 53));
    EXPECT_TRUE(shown[0]->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(shown[0]->findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
              QStringLiteral("正在下载货品资料,请稍候..."));
    EXPECT_TRUE(blankTitle(shown[0]));
    wait.reset();
    EXPECT_TRUE(visibleWaitWindows().empty());
}

TEST(QtPersonTest, PleaseWaitWindowLeavesKeysTypedMeanwhileForLater)
{
    QLineEdit input;
    ASSERT_TRUE(test::showActive(input));
    QtPerson person;
    test::queueKeyPress(input, Qt::Key_6, QStringLiteral("6"));
    auto wait = person.pleaseWait("正在与服务器建立连接，请稍后...");
    EXPECT_EQ(input.text(), QString()) << "the key ran while the window was painted";
    wait.reset();
    QApplication::processEvents();
    EXPECT_EQ(input.text(), QStringLiteral("6")) << "the key is not lost";
}

}  // namespace
}  // namespace pos
