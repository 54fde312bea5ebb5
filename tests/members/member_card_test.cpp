#include "base/trim.h"
#include "config/terminal.h"
#include "members/member_card.h"
#include "support/member_cards.h"
#include "members/swipe_timer.h"
#include "support/proxied_server.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pos {
namespace {

class MemberCardTest : public ::testing::Test {
protected:
    MemberCardTest() { test::arrangeMemberCards(f); }

    CardCheck check(const std::string& cardNo, const std::string& password = "", int ticks = 0)
    {
        return CheckMemberCard(f.memberCards(), member, cardNo, password, ticks);
    }
    double serverValue(const char* column, const char* cardNo)
    {
        return f.side(Online)
            .query(std::string("select ") + column + " from B_VIPCards where CardNo=$1", {cardNo})
            .first(column)
            .toDouble();
    }

    test::TerminalFixture f;
    CurrentMember member;
};

TEST_F(MemberCardTest, EachKindOfCardMakesItsMemberOnBothSides)
{
    const struct {
        const char* cardNo;
        const char* password;
        int kind;
        int discountType;
        double discount;
    } cases[] = {
        {" S1 ", " 123 ", 2, 3, 90},  // stored value, own discount, blanks trimmed
        {"S2", "", 2, 1, 100},        // stored value with an empty password
        {"M1", "", 1, 1, 100},        // member prices
        {"A1", "", 1, 2, 95},         // band [1000, 5000) holds 2500
        {"A2", "", 1, 2, 100},        // no band holds 6000
        {"F0", "", 1, 3, 100},        // own discount 0: none
    };
    for (WorkingMode mode : {Online, Offline}) {
        f.state.NetMode = mode;
        for (const auto& c : cases) {
            member = {};
            member.VIPCardBalance = 7;
            const CardCheck result = check(c.cardNo, c.password);
            ASSERT_EQ(result.outcome, CardCheckOutcome::Accepted) << c.cardNo << " mode " << mode;
            EXPECT_EQ(member.VIPCardNo, trimmed(c.cardNo));
            EXPECT_EQ(static_cast<int>(member.VIPCardKind), c.kind) << c.cardNo;
            EXPECT_EQ(static_cast<int>(member.VIPDiscountType), c.discountType) << c.cardNo;
            EXPECT_DOUBLE_EQ(member.VIPDiscount, c.discount) << c.cardNo;
            EXPECT_EQ(member.VIPHolderName, "持卡" + member.VIPCardNo);
            EXPECT_DOUBLE_EQ(member.VIPCardBalance, 7);  // the stored-value payment sets it
        }
    }
    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_DOUBLE_EQ(member.VIPTotalAmount, 88);
    EXPECT_DOUBLE_EQ(member.VIPUsedCount, 8);
}

TEST_F(MemberCardTest, RefusalsInTheirOrderLeaveTheMemberAsItWas)
{
    const struct {
        const char* cardNo;
        const char* password;
        int ticks;
        CardCheckOutcome outcome;
        const char* message;
        bool shown;
    } cases[] = {
        {"  ", "", 0, CardCheckOutcome::NoNumber, "未输入会员卡号！", false},
        {"X9", "", 16, CardCheckOutcome::HandTyped, "不能用手工输入会员卡号！", false},
        {"X9", "", 15, CardCheckOutcome::Unknown, "输入的会员卡号不存在！", false},
        {"S1", "12", 0, CardCheckOutcome::WrongPassword, "输入的密码不正确！", true},
        {"S1", "' or ''='", 0, CardCheckOutcome::WrongPassword, "输入的密码不正确！", true},
        {"B1", "", 0, CardCheckOutcome::Blocked, "输入的会员卡号已经不能使用！", true},
    };
    for (const auto& c : cases) {
        f.person.messages.clear();
        member = {};
        const CardCheck result = check(c.cardNo, c.password, c.ticks);
        EXPECT_EQ(result.outcome, c.outcome) << c.message;
        ASSERT_EQ(f.person.messages.size(), 1u) << c.message;
        EXPECT_EQ(f.person.messages[0].text, c.message);
        EXPECT_EQ(f.person.messages[0].title, "提示");
        EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(result.shown.has_value(), c.shown) << c.message;
        EXPECT_TRUE(member.VIPCardNo.empty()) << c.message;
    }
}

// The local file holds only the hash of a card's password; offline the typed password is
// checked against it, and every password is accepted or refused as online. A card with
// no password at all accepts none, not even an empty one.
TEST_F(MemberCardTest, PasswordIsCheckedAlikeOnBothSides)
{
    for (WorkingMode mode : {Online, Offline}) {
        test::MemberCardRow noPassword = test::cardOfKind("N1", "", "储值卡", "会员价消费", 100, 0, 0);
        noPassword.password = Value();
        test::addMemberCard(f.side(mode), noPassword);
    }
    const std::string localHash =
        f.side(Offline).query("select Password from B_VIPCards where CardNo='S1'").first("Password").toString();
    const struct {
        const char* cardNo;
        std::string password;
        CardCheckOutcome outcome;
    } cases[] = {
        {"S1", "123", CardCheckOutcome::Accepted},     {"S1", "12", CardCheckOutcome::WrongPassword},
        {"S1", "", CardCheckOutcome::WrongPassword},    {"S1", localHash, CardCheckOutcome::WrongPassword},
        {"S2", "", CardCheckOutcome::Accepted},         {"S2", "123", CardCheckOutcome::WrongPassword},
        {"N1", "", CardCheckOutcome::WrongPassword},
    };
    for (WorkingMode mode : {Online, Offline}) {
        f.state.NetMode = mode;
        for (const auto& c : cases) {
            member = {};
            EXPECT_EQ(check(c.cardNo, c.password).outcome, c.outcome)
                << c.cardNo << " '" << c.password << "' mode " << mode;
        }
    }
}

// Each column goes to its own field on both sides: the dates as days, a null figure or
// date blank (not 0), and the password nowhere.
TEST_F(MemberCardTest, TheCardShownGivesEachColumnItsFieldAndNeverThePassword)
{
    test::MemberCardRow blank = test::cardOfKind("E1", "", "会员卡", "会员价消费", 100, 0, 0);
    blank.discount = blank.totalAmount = blank.usedCount = blank.handOutDate = blank.validDate = Value();
    for (WorkingMode mode : {Online, Offline})
        test::addMemberCard(f.side(mode), blank);
    const struct {
        const char* cardNo;
        MemberCardShown shown;
    } cases[] = {
        {"B1", {"B1", "持卡B1", "会员卡", "2023-05-01", "固定折扣", "95", "1500", "150", "2020-12-31", "88.5"}},
        {"E1", {"E1", "持卡E1", "会员卡", "", "会员价消费", "", "", "", "", "88.5"}},
    };
    for (WorkingMode mode : {Online, Offline}) {
        f.state.NetMode = mode;
        for (const auto& c : cases) {
            const CardCheck result = check(c.cardNo);
            ASSERT_TRUE(result.shown) << c.cardNo << " mode " << mode;
            const MemberCardShown& shown = *result.shown;
            const MemberCardShown& want = c.shown;
            EXPECT_EQ(std::tie(shown.cardNo, shown.holder, shown.cardType, shown.handOutDate, shown.discountType,
                               shown.discount, shown.totalAmount, shown.points, shown.validDate, shown.cardAmount),
                      std::tie(want.cardNo, want.holder, want.cardType, want.handOutDate, want.discountType,
                               want.discount, want.totalAmount, want.points, want.validDate, want.cardAmount))
                << c.cardNo << " mode " << mode;
        }
        const RowSet card = f.side(mode).statements<MemberStatements>().cardByNumber.query({"S1"});
        EXPECT_FALSE(card.columns().find("Password").has_value()) << "mode " << mode;
    }
}

class SteppedClock : public MonotonicClock {
public:
    std::int64_t ms = 1000;
    std::int64_t milliseconds() const override { return ms; }
};

TEST(SwipeTimer, CountsTicksOfTenMillisecondsUntilEnterAndStopsAtTheLimit)
{
    SteppedClock clock;
    SwipeTimer timer(clock);
    EXPECT_EQ(timer.ticks(), 0);
    timer.start();
    clock.ms += 159;
    EXPECT_EQ(timer.ticks(), 15);  // still a swipe
    clock.ms += 1;
    timer.stop();
    EXPECT_EQ(timer.ticks(), kHandTypedTicks);
    clock.ms += 5000;  // a password typed afterwards takes as long as it likes
    EXPECT_EQ(timer.ticks(), kHandTypedTicks);
    timer.start();
    clock.ms += 1000000;
    EXPECT_EQ(timer.ticks(), SwipeTimer::kMaxTicks);
    timer.reset();
    EXPECT_EQ(timer.ticks(), 0);
}

TEST_F(MemberCardTest, DeductionsTakeOffOnTheServerInEitherMode)
{
    f.state.OperatorId = test::kDeductor;
    for (WorkingMode mode : {Online, Offline}) {
        f.state.NetMode = mode;
        f.person.inputs = {"10"};
        const DeductionResult points = DeductFromCard(f.memberCards(), Deduction::Points, "M1", "86");
        ASSERT_EQ(points.outcome, DeductionOutcome::Done) << mode;
        f.person.inputs = {"100.5"};
        const DeductionResult total = DeductFromCard(f.memberCards(), Deduction::TotalAmount, "M1", "860");
        ASSERT_EQ(total.outcome, DeductionOutcome::Done) << mode;
    }
    EXPECT_DOUBLE_EQ(serverValue("UsedCount", "M1"), 66);
    EXPECT_DOUBLE_EQ(serverValue("TotalAmount", "M1"), 659);
    EXPECT_TRUE(f.person.messages.empty());
    // The local copy is the download's to refresh.
    EXPECT_DOUBLE_EQ(f.side(Offline).query("select UsedCount from B_VIPCards where CardNo='M1'").first("UsedCount").toDouble(), 86);
}

TEST_F(MemberCardTest, DeductionRefusalsWriteNothing)
{
    const struct {
        int operatorId;
        const char* cardNo;
        const char* shown;
        std::vector<std::string> inputs;
        std::optional<Credentials> supervisor;
        DeductionOutcome outcome;
        const char* message;
    } cases[] = {
        {test::kDeductor, "", "86", {}, std::nullopt, DeductionOutcome::NoCard, "请输入会员卡号！"},
        {3, "M1", "86", {}, std::nullopt, DeductionOutcome::NotAllowed, "你没有该项权限！"},
        {test::kDeductor, "M1", "86", {"86.01"}, std::nullopt, DeductionOutcome::NotEnough, "积分不够冲减！"},
        {test::kDeductor, "M1", "abc", {"1"}, std::nullopt, DeductionOutcome::NotEnough, "积分不够冲减！"},
        {test::kDeductor, "M1", "86", {"0"}, std::nullopt, DeductionOutcome::Nothing, ""},
        {test::kDeductor, "M1", "86", {"-5"}, std::nullopt, DeductionOutcome::Nothing, ""},
        // The server holds fewer points than the dialog read.
        {test::kDeductor, "M1", "200", {"100"}, std::nullopt, DeductionOutcome::NotEnough, "积分不够冲减！"},
    };
    for (const auto& c : cases) {
        f.person.messages.clear();
        f.state.OperatorId = c.operatorId;
        f.person.inputs.assign(c.inputs.begin(), c.inputs.end());
        if (c.operatorId == 3)
            f.person.supervisors = {c.supervisor};
        const DeductionResult result = DeductFromCard(f.memberCards(), Deduction::Points, c.cardNo, c.shown);
        EXPECT_EQ(result.outcome, c.outcome) << c.message;
        if (*c.message) {
            ASSERT_EQ(f.person.messages.size(), 1u) << c.message;
            EXPECT_EQ(f.person.messages[0].text, c.message);
            EXPECT_EQ(f.person.messages[0].title, "");
        } else {
            EXPECT_TRUE(f.person.messages.empty());
        }
    }
    EXPECT_DOUBLE_EQ(serverValue("UsedCount", "M1"), 86);
}

TEST_F(MemberCardTest, OfflineWithoutTheServerADeductionFailsWithItsReason)
{
    test::ProxiedServer server{f};
    f.state.OperatorId = test::kDeductor;
    f.state.NetMode = Offline;
    server.proxy.refuseNewConnections();
    server.proxy.failNow(test::TcpProxy::Fault::Cut);
    f.log.expected = 1;
    f.person.inputs = {"10"};
    const DeductionResult result = DeductFromCard(f.memberCards(), Deduction::TotalAmount, "M1", "860");
    EXPECT_EQ(result.outcome, DeductionOutcome::Failed);
    ASSERT_EQ(f.person.messages.size(), 1u);
    EXPECT_EQ(f.person.messages[0].text.rfind("冲减累计消费失败！原因：", 0), 0u);
    EXPECT_GT(f.person.messages[0].text.size(), std::string("冲减累计消费失败！原因：").size());
    EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Error);
}

}  // namespace
}  // namespace pos
