#include "widgets/frm_comm_input.h"
#include "support/scripted_person.h"
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

struct Typed {
    const char* name;
    int kind;
    const char* text;
    const char* refusal;  // nullptr: accepted as typed
};

class CommInputKindTest : public ::testing::TestWithParam<Typed> {};

TEST_P(CommInputKindTest, EnterAcceptsOrRefusesByKind)
{
    const Typed& c = GetParam();
    test::ScriptedPerson person;
    TfrmCommInput dlg(person);
    dlg.setKind(c.kind);
    ASSERT_TRUE(test::showActive(dlg));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("edtInput"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(dlg.focusWidget(), edit);

    type(dlg, QString::fromUtf8(c.text));
    press(dlg, Qt::Key_Return);

    if (!c.refusal) {
        EXPECT_TRUE(person.messages.empty());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.resultText(), c.text) << "the text exactly as typed";
        return;
    }
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, c.refusal);
    EXPECT_EQ(person.messages[0].title, "提示");
    EXPECT_EQ(person.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QString::fromUtf8(c.text));
    EXPECT_EQ(dlg.resultText(), c.kind == 3 ? "" : "0");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CommInputKindTest,
    ::testing::Values(Typed{"IntegerAccepted", 1, "-12", nullptr}, Typed{"IntegerWithPoint", 1, "3.0", "您输入的不是整数！"},
                      Typed{"IntegerFromLetters", 1, "3a", "您输入的不是整数！"},
                      Typed{"NumberWithExponent", 2, "1e3", nullptr}, Typed{"NumberDecimal", 2, "-2.5", nullptr},
                      Typed{"NumberFromLetters", 2, "abc", "您输入的不是数值！"},
                      Typed{"TextBlanks", 3, "   ", nullptr}, Typed{"TextEmpty", 3, "", "输入的内容不能为空！"},
                      Typed{"IntegerEmpty", 1, "", "输入的内容不能为空！"},
                      Typed{"OtherKindAnyText", 7, "x y", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommInputTest, LeavingWithoutConfirmingGivesZeroOrEmptyByKind)
{
    struct Case {
        int kind;
        Qt::Key key;  // Esc, or 0 for the Cancel button
        const char* result;
    };
    const Case cases[] = {{1, Qt::Key_unknown, "0"}, {2, Qt::Key_Escape, "0"}, {3, Qt::Key_Escape, ""},
                          {3, Qt::Key_unknown, ""}};
    for (const Case& c : cases) {
        test::ScriptedPerson person;
        TfrmCommInput dlg(person);
        dlg.setKind(c.kind);
        ASSERT_TRUE(test::showActive(dlg));
        type(dlg, QStringLiteral("42"));
        if (c.key == Qt::Key_Escape)
            press(dlg, Qt::Key_Escape);
        else
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.resultText(), c.result) << "kind " << c.kind;
    }
}

TEST(CommInputTest, CallerSetsCaptionAndLabel)
{
    test::ScriptedPerson person;
    TfrmCommInput dlg(person);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("通用输入框"));
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("btnOK"))->text(), QStringLiteral("确定"));
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("btnCancel"))->text(), QStringLiteral("取消"));
    dlg.setLabel(QStringLiteral("货品序号："));
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("lblInput"))->text(), QStringLiteral("货品序号："));
}

}  // namespace
}  // namespace pos
