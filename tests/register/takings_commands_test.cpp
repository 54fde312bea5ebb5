#include "register/register_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

const char* const kNotAuthorised = "您没有授权使用该操作！";
const char* const kOnlineOnly = "该功能只有在连网销售模式才有效！";

// What "32/", "34/" and "36/" open, refuse or ask, by working mode and right.
struct QueryCommand {
    const char* name;
    const char* code;
    WorkingMode mode;
    bool senior;
    std::vector<std::optional<Credentials>> supervisors;  // answers when a right is asked
    std::vector<std::string> messages;
    std::vector<OperatorRight> rightsAsked;
    int shiftTakings, takingsToday, memberTotals;  // the windows opened
};

const QueryCommand kCommands[] = {
    {"MemberTotalsNeedNoRight", "32/", Online, false, {}, {}, {}, 0, 0, 1},
    {"MemberTotalsOffline", "32/", Offline, false, {}, {}, {}, 0, 0, 1},
    {"TakingsTodayWithRight", "34/", Online, true, {}, {}, {}, 0, 1, 0},
    {"TakingsTodayRefused", "34/", Online, false, {std::nullopt}, {kNotAuthorised}, {OperatorRight::ViewTakings}, 0, 0, 0},
    {"TakingsTodayBySupervisor", "34/", Online, false, {test::kSupervisor}, {}, {OperatorRight::ViewTakings}, 0, 1, 0},
    {"TakingsTodayOfflineAsksNoRight", "34/", Offline, true, {}, {kOnlineOnly}, {}, 0, 0, 0},
    {"ShiftTakingsWithRight", "36/", Offline, true, {}, {}, {}, 1, 0, 0},
    {"ShiftTakingsRefused", "36/", Online, false, {std::nullopt}, {kNotAuthorised}, {OperatorRight::ShiftTakings}, 0, 0, 0},
};

class QueryCommandTest : public RegisterTest, public ::testing::WithParamInterface<QueryCommand> {};

TEST_P(QueryCommandTest, OpensItsWindowOnlyWhenAllowed)
{
    const QueryCommand& c = GetParam();
    // Goods of the same code are never looked up: the code is a command.
    test::addGoods(f.side(c.mode), 200, c.code, "", "同名货品", 1);
    f.state.NetMode = c.mode;
    if (c.senior)
        signOnSenior();
    for (const auto& answer : c.supervisors)
        f.person.supervisors.push_back(answer);
    forgetMessages();

    enter(c.code);

    EXPECT_EQ(messages(), c.messages);
    EXPECT_EQ(f.person.supervisorRights, c.rightsAsked);
    EXPECT_EQ(view.shiftTakingsShown, c.shiftTakings);
    EXPECT_EQ(view.takingsTodayShown, c.takingsToday);
    EXPECT_EQ(view.memberTotalsShown, c.memberTotals);
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_EQ(lineCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Commands, QueryCommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
