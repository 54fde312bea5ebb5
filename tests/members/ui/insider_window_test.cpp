#include "support/member_cards.h"
#include "members/ui/frm_insider.h"
#include "support/ui/window_keys.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pos {
namespace {

using test::press;
using test::type;

class HandClock : public MonotonicClock {
public:
    std::int64_t ms = 5000;
    std::int64_t milliseconds() const override { return ms; }
};

class InsiderWindowTest : public ::testing::Test {
protected:
    InsiderWindowTest() { test::arrangeMemberCards(fx_); }

    TfrmInsider& open()
    {
        dlg_ = std::make_unique<TfrmInsider>(fx_.memberCards(), fx_.sale.member, fx_.settings.optionYes("VIPInput"),
                                             clock_);
        EXPECT_TRUE(test::showActive(*dlg_));
        return *dlg_;
    }
    QLineEdit* edit(const char* name) { return test::control<QLineEdit>(*dlg_, name); }
    QString focused() { return dlg_->focusWidget() ? dlg_->focusWidget()->objectName() : QString(); }
    void enter(const QString& text)
    {
        type(*dlg_, text);
        press(*dlg_, Qt::Key_Return);
    }

    test::TerminalFixture fx_;
    HandClock clock_;
    std::unique_ptr<TfrmInsider> dlg_;
};

TEST_F(InsiderWindowTest, AStoredValueCardAsksItsPasswordUntilItIsRight)
{
    TfrmInsider& dlg = open();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("会员卡"));
    EXPECT_EQ(focused(), "edtInsider");
    EXPECT_FALSE(edit("edtPass")->isEnabled());
    EXPECT_EQ(edit("edtInsider")->echoMode(), QLineEdit::Normal);

    enter("S1");
    EXPECT_TRUE(edit("edtPass")->isEnabled());
    EXPECT_EQ(focused(), "edtPass");
    EXPECT_TRUE(fx_.person.messages.empty());

    enter("12");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"输入的密码不正确！"});
    EXPECT_EQ(focused(), "edtPass");
    EXPECT_EQ(edit("edtHolder")->text(), QStringLiteral("持卡S1"));  // shown though refused
    EXPECT_EQ(edit("edtPass")->text(), "");  // the next try is not appended to the wrong one
    enter("123");
    EXPECT_EQ(focused(), "btnOK");
    EXPECT_EQ(edit("edtCardAmount")->text(), "88.5");
    EXPECT_EQ(edit("edtHandOutDate")->text(), "2023-05-01");
    EXPECT_TRUE(fx_.sale.member.VIPCardNo.empty());  // the register's to change, after closing

    press(dlg, Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.cardAccepted());
    EXPECT_EQ(dlg.cardNo(), "S1");
    EXPECT_EQ(dlg.member().VIPCardKind, MemberCardKind::StoredValue);
    EXPECT_DOUBLE_EQ(dlg.member().VIPDiscount, 90);
}

TEST_F(InsiderWindowTest, AnOrdinaryCardIsAcceptedAtOnceAndABlockedOneIsRefused)
{
    TfrmInsider& dlg = open();
    enter("A1");
    EXPECT_EQ(focused(), "btnOK");
    EXPECT_FALSE(edit("edtPass")->isEnabled());
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_DOUBLE_EQ(dlg.member().VIPDiscount, 95);

    edit("edtInsider")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit("edtInsider")->text(), "");  // a new number starts empty
    enter("B1");
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"输入的会员卡号已经不能使用！"});
    EXPECT_EQ(focused(), "btnCancel");
    EXPECT_EQ(edit("edtCardNo")->text(), "B1");
    press(dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.cardAccepted());
}

TEST_F(InsiderWindowTest, SwipeOnlyModeRefusesANumberTypedByHand)
{
    fx_.settings.setOption("VIPInput", "是");
    TfrmInsider& dlg = open();
    EXPECT_EQ(edit("edtInsider")->echoMode(), QLineEdit::Password);

    type(dlg, "M");
    clock_.ms += 160;
    type(dlg, "1");
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"不能用手工输入会员卡号！"});
    EXPECT_EQ(focused(), "edtInsider");
    EXPECT_FALSE(dlg.cardAccepted());

    fx_.person.messages.clear();
    edit("edtInsider")->clear();
    type(dlg, "S");
    clock_.ms += 150;
    enter("1");
    EXPECT_EQ(focused(), "edtPass");
    clock_.ms += 60000;  // the password takes as long as it likes
    enter("123");
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(focused(), "btnOK");
    test::control<QPushButton>(dlg, "btnOK")->click();
    EXPECT_TRUE(dlg.cardAccepted());
}

// The number box: a click into it (which empties it), or its text replaced without one.
void clickIntoNumber(QLineEdit* number) { number->setFocus(Qt::MouseFocusReason); }
void replaceNumber(QLineEdit* number, const QString& text)
{
    number->setFocus(Qt::ActiveWindowFocusReason);
    number->selectAll();
    number->insert(text);
}

struct CardSequence {
    const char* name;
    std::function<void()> steps;
    const char* acceptedCard;  // what 确定 closes with; nullptr: no card
    double discount = 0;       // the accepted member's
};

TEST_F(InsiderWindowTest, OKAcceptsOnlyTheCardCheckedForTheNumberNowInTheBox)
{
    const CardSequence sequences[] = {
        {"StoredValueAcceptedThenAnotherEnteredWithoutItsPassword",
         [this] {
             enter("S1");
             enter("123");
             clickIntoNumber(edit("edtInsider"));
             enter("S2");
             EXPECT_EQ(focused(), "edtPass");
         },
         nullptr},
        {"StoredValueAcceptedThenAnotherTypedOverIt",
         [this] {
             enter("S1");
             enter("123");
             replaceNumber(edit("edtInsider"), "S2");
             EXPECT_EQ(edit("edtPass")->text(), "");  // S1's password is not S2's
             EXPECT_EQ(edit("edtCardNo")->text(), "");  // nor are its facts, which F4 and F5 act on
             EXPECT_EQ(edit("edtCardAmount")->text(), "");
         },
         nullptr},
        {"NumberClearedAfterAcceptance",
         [this] {
             enter("S1");
             enter("123");
             clickIntoNumber(edit("edtInsider"));
         },
         nullptr},
        {"AcceptedThenRefusedAsBlocked",
         [this] {
             enter("A1");
             clickIntoNumber(edit("edtInsider"));
             enter("B1");
         },
         nullptr},
        {"AcceptedThenUnknown",
         [this] {
             enter("A1");
             replaceNumber(edit("edtInsider"), "NONE");
             press(*dlg_, Qt::Key_Return);
         },
         nullptr},
        {"RefusedThenAnotherAccepted",
         [this] {
             enter("B1");
             clickIntoNumber(edit("edtInsider"));
             enter("S1");
             enter("123");
             clickIntoNumber(edit("edtInsider"));
             enter("A1");
         },
         "A1", 95},
    };
    for (const CardSequence& s : sequences) {
        SCOPED_TRACE(s.name);
        TfrmInsider& dlg = open();
        s.steps();
        test::control<QPushButton>(dlg, "btnOK")->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.cardAccepted(), s.acceptedCard != nullptr);
        EXPECT_EQ(dlg.cardNo(), s.acceptedCard ? s.acceptedCard : "");
        if (s.acceptedCard) {
            EXPECT_EQ(dlg.member().VIPCardNo, s.acceptedCard);
            EXPECT_DOUBLE_EQ(dlg.member().VIPDiscount, s.discount);
        }
        fx_.person.messages.clear();
    }
}

TEST_F(InsiderWindowTest, SwipeOnlyModeTimesAPastedNumberFromThePaste)
{
    fx_.settings.setOption("VIPInput", "是");
    TfrmInsider& dlg = open();
    edit("edtInsider")->insert("M1");
    clock_.ms += 160;
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"不能用手工输入会员卡号！"});
    EXPECT_FALSE(dlg.cardAccepted());
}

TEST_F(InsiderWindowTest, F4AndF5TakeOffTheCardShownForAnOperatorWithTheRight)
{
    fx_.state.OperatorId = test::kDeductor;
    TfrmInsider& dlg = open();
    press(dlg, Qt::Key_F4);
    EXPECT_EQ(fx_.person.messageTexts(), std::vector<std::string>{"请输入会员卡号！"});
    fx_.person.messages.clear();

    enter("M1");
    fx_.person.inputs = {"6", "60"};
    press(dlg, Qt::Key_F4);
    press(dlg, Qt::Key_F5);
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_EQ(edit("edtPoint")->text(), "80");
    EXPECT_EQ(edit("edtTotalAmount")->text(), "800");
    EXPECT_EQ(focused(), "btnOK");
    const RowSet card = fx_.side(Online).query("select UsedCount,TotalAmount from B_VIPCards where CardNo='M1'");
    EXPECT_DOUBLE_EQ(card.first("UsedCount").toDouble(), 80);
    EXPECT_DOUBLE_EQ(card.first("TotalAmount").toDouble(), 800);
    EXPECT_DOUBLE_EQ(dlg.member().VIPUsedCount, 86);  // the member as the card was accepted
}

}  // namespace
}  // namespace pos
