#include "queries/member_totals.h"

#include "support/member_cards.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class MemberTotalsTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    void SetUp() override
    {
        f_.state.NetMode = GetParam();
        test::addCardsWithTotals(f_.side(GetParam()));
    }
    std::string total(const std::string& cardNo)
    {
        return MemberTotalText(f_.terminal.db().statements<MemberTotalsStatements>(), cardNo);
    }
    test::TerminalFixture f_;
};

TEST_P(MemberTotalsTest, EachCardShowsItsOwnTotal)
{
    EXPECT_EQ(total("V001"), "1234.5");
    EXPECT_EQ(total("V002"), "88");
    EXPECT_EQ(total("V001"), "1234.5");
}

TEST_P(MemberTotalsTest, NullUnknownAndUntrimmedNumbersShowNothing)
{
    EXPECT_EQ(total("V003"), "");
    EXPECT_EQ(total("V009"), "");
    EXPECT_EQ(total(" V001"), "");
    EXPECT_EQ(total("V001 "), "");
    EXPECT_EQ(total("v001"), "");
}

INSTANTIATE_TEST_SUITE_P(Modes, MemberTotalsTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return std::string(info.param == Online ? "Online" : "Offline"); });

}  // namespace
}  // namespace pos
