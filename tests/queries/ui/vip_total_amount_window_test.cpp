#include "queries/ui/frm_vip_total_amount.h"

#include "support/member_cards.h"
#include "support/terminal_fixture.h"
#include "support/ui/window_keys.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

// The member totals window on the database of each working mode.
class VIPTotalAmountWindowTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    void SetUp() override
    {
        f_.state.NetMode = GetParam();
        test::addCardsWithTotals(f_.side(GetParam()));
        ASSERT_TRUE(test::showActive(dlg_));
    }
    // The number typed over what the field held, then Enter.
    void lookUp(const QString& cardNo)
    {
        cardNoField()->selectAll();
        type(dlg_, cardNo);
        press(dlg_, Qt::Key_Return);
    }
    QLineEdit* cardNoField() { return test::control<QLineEdit>(dlg_, "edtCardNo"); }
    QString total() { return test::control<QLineEdit>(dlg_, "edtTotalAmount")->text(); }

    test::TerminalFixture f_;
    TfrmVIPTotalAmount dlg_{{f_.dm, f_.state}};
};

TEST_P(VIPTotalAmountWindowTest, EachEnterLooksUpTheNumberInTheField)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("会员累计消费查询"));
    EXPECT_EQ(dlg_.focusWidget(), cardNoField());
    EXPECT_TRUE(test::control<QLineEdit>(dlg_, "edtTotalAmount")->isReadOnly());

    press(dlg_, Qt::Key_Return);
    EXPECT_EQ(total(), QString()) << "an empty number looks nothing up";
    EXPECT_EQ(dlg_.focusWidget(), cardNoField());

    lookUp(QStringLiteral("V001"));
    EXPECT_EQ(total(), QStringLiteral("1234.5"));
    lookUp(QStringLiteral("V002"));
    EXPECT_EQ(total(), QStringLiteral("88"));
    EXPECT_EQ(cardNoField()->text(), QStringLiteral("V002"));
    // A card not found never shows the total of the card before it.
    lookUp(QStringLiteral("V009"));
    EXPECT_EQ(total(), QString());
    lookUp(QStringLiteral("V001"));
    lookUp(QStringLiteral("V003"));
    EXPECT_EQ(total(), QString()) << "a null total";
    EXPECT_TRUE(f_.person.messages.empty());

    test::control<QPushButton>(dlg_, "btnOK")->click();
    EXPECT_FALSE(dlg_.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Modes, VIPTotalAmountWindowTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return std::string(info.param == Online ? "Online" : "Offline"); });

}  // namespace
}  // namespace pos
