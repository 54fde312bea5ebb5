#include "base/number_format.h"
#include "pricing/price_determination.h"
#include "pricing_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::Fields;

class PriceRulesTest : public test::PricingTest {
protected:
    DeterminedPrice price(int goodsId, double& quantity) { return DeterminePrice(pricing(), goodsId, quantity, bill); }
    DeterminedPrice price(int goodsId, double&& quantity = 2) { return price(goodsId, quantity); }
};

TEST_P(PriceRulesTest, PromotionBeforeSpecialBeforeRegularWithinItsWindowAndQuantity)
{
    const std::string yesterday = now().addDays(-1).text(), tomorrow = now().addDays(1).text();
    const std::string lastWeek = now().addDays(-7).text(), nextWeek = now().addDays(7).text();
    const Fields inWindow{{"SPPrice", 8.0}, {"SPBeginDate", yesterday}, {"SPEndDate", tomorrow}};
    auto with = [](Fields base, const Fields& more) {
        base.insert(base.end(), more.begin(), more.end());
        return base;
    };
    struct Case {
        const char* what;
        Fields goods;
        double price;
        PriceKind kind;
    };
    const std::vector<Case> cases = {
        {"regular price", {}, 10, PriceKind::Regular},
        {"dated promotion without quantity limit", inWindow, 8, PriceKind::Promotion},
        {"dated promotion with quantity left", with(inWindow, {{"SPQuantity", 5}, {"SPMakeQty", 1}}), 8,
         PriceKind::Promotion},
        {"dated promotion sold out", with(inWindow, {{"SPQuantity", 5}, {"SPMakeQty", 5}}), 10, PriceKind::Regular},
        {"promotion by quantity only", {{"SPPrice", 8.0}, {"SPQuantity", 20}}, 8, PriceKind::Promotion},
        {"no dates and no quantity", {{"SPPrice", 8.0}}, 10, PriceKind::Regular},
        {"begin date alone", {{"SPPrice", 8.0}, {"SPQuantity", 20}, {"SPBeginDate", yesterday}}, 10,
         PriceKind::Regular},
        {"end date alone", {{"SPPrice", 8.0}, {"SPQuantity", 20}, {"SPEndDate", tomorrow}}, 10, PriceKind::Regular},
        {"window not begun", {{"SPPrice", 8.0}, {"SPBeginDate", tomorrow}, {"SPEndDate", nextWeek}}, 10,
         PriceKind::Regular},
        {"window passed, special price",
         {{"SPPrice", 8.0}, {"SPBeginDate", lastWeek}, {"SPEndDate", yesterday}, {"IsLowPrice", 1}, {"LowPrice", 7.0}},
         7, PriceKind::Special},
        {"promotion beats special price", with(inWindow, {{"IsLowPrice", 1}, {"LowPrice", 7.0}}), 8,
         PriceKind::Promotion},
        {"promotion at 0 sells at the regular price", {{"SPPrice", 0.0}, {"SPQuantity", 20}}, 10, PriceKind::Promotion},
        {"special price 0 sells at the regular price", {{"IsLowPrice", 1}, {"LowPrice", 0.0}}, 10, PriceKind::Special},
        {"special price not switched on", {{"IsLowPrice", 2}, {"LowPrice", 7.0}}, 10, PriceKind::Regular},
    };
    int id = 100;
    for (const Case& c : cases) {
        addGoods(++id, c.goods);
        const double soldBefore = soldOnPromotion(id);
        const DeterminedPrice got = price(id, 2);
        EXPECT_EQ(got.price, c.price) << c.what;
        EXPECT_EQ(got.kind, c.kind) << c.what;
        EXPECT_EQ(soldOnPromotion(id), soldBefore + (c.kind == PriceKind::Promotion ? 2 : 0)) << c.what;
    }
    EXPECT_TRUE(person.messages.empty());
}

TEST_P(PriceRulesTest, MemberPriceByTheCardsPriceLevelForMemberPriceCardsOnly)
{
    const Fields levels{{"SPrice2", 9.8}, {"SPrice3", 9.5}, {"SPrice4", 9.2}, {"InsiderPrice", 9.0}};
    addGoods(1, levels);
    Fields special = levels;
    special.push_back({"IsLowPrice", 1});
    special.push_back({"LowPrice", 7.0});
    addGoods(2, special);
    for (auto [card, level] : {std::pair{"801", 1}, {"802", 2}, {"804", 4}, {"807", 7}, {"88'03", 3}})
        addCard(card, level);
    struct Case {
        const char* card;
        int discountType;
        int goodsId;
        double price;
        PriceKind kind;
    };
    const Case cases[] = {
        {"802", 1, 1, 9.8, PriceKind::Member},     {"804", 1, 1, 9.2, PriceKind::Member},
        {"807", 1, 1, 9.0, PriceKind::Member},     {"801", 1, 1, 10, PriceKind::Member},
        {"88'03", 1, 1, 9.5, PriceKind::Member},   {"unknown", 1, 1, 9.0, PriceKind::Member},
        {"802", 2, 1, 10, PriceKind::Regular},     {"802", 3, 1, 10, PriceKind::Regular},
        {"", 1, 1, 10, PriceKind::Regular},        {"802", 1, 2, 7, PriceKind::Special},
    };
    for (const Case& c : cases) {
        memberOnBill(c.card, static_cast<MemberDiscountType>(c.discountType));
        const DeterminedPrice got = price(c.goodsId);
        EXPECT_EQ(got.price, c.price) << c.card << " type " << c.discountType;
        EXPECT_EQ(got.kind, c.kind) << c.card << " type " << c.discountType;
    }
}

TEST_P(PriceRulesTest, GoodsWithoutPricingRowHavePriceZero)
{
    double quantity = 2;
    const DeterminedPrice got = price(404, quantity);
    EXPECT_EQ(got.price, 0);
    EXPECT_EQ(got.kind, PriceKind::Regular);
    EXPECT_EQ(quantity, 2);
}

const char* const kPerBillLimit = "该货品的当前销量超出每单限量(超出数量";
const char* const kPromotionalQuantity = "该货品的当前销量超出可促销量(超出数量";
const char* const kEnterTheRest = ")\r\n超出限量的货品请另外输入。";

TEST_P(PriceRulesTest, PerBillLimitLowersTheQuantityThenStopsThePromotionForTheBill)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 100}, {"SPBillQty", 3}});
    scan("G1", 2);
    scan("G1", 2);  // one more than the bill may have
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, std::string(kPerBillLimit) + "1" + kEnterTheRest);
    EXPECT_EQ(person.messages[0].title, "提示");
    EXPECT_EQ(person.messages[0].icon, MessageIcon::Information);
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).quantity().toDouble(), 3);
    EXPECT_EQ(line(0).price().toDouble(), 8);

    scan("G1", 1);  // the limit is used: the regular price, without a message
    EXPECT_EQ(person.messages.size(), 1u);
    ASSERT_EQ(bill.detail.size(), 2u);
    EXPECT_EQ(line(1).price().toDouble(), 10);
    EXPECT_TRUE(line(1).memo().isNull());
    EXPECT_EQ(soldOnPromotion(1), 3);
}

// The bill's limit is used: the rest of the promotion does not cut a line that gets no
// promotion anyway.
TEST_P(PriceRulesTest, UsedPerBillLimitIsJudgedBeforeWhatIsLeftOfThePromotion)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 7}, {"SPBillQty", 2}});
    scan("G1", 2);
    scan("G1", 3);
    EXPECT_TRUE(person.messages.empty());
    ASSERT_EQ(bill.detail.size(), 2u);
    EXPECT_EQ(line(1).quantity().toDouble(), 3);
    EXPECT_EQ(line(1).price().toDouble(), 10);
    EXPECT_EQ(soldOnPromotion(1), 9);
}

TEST_P(PriceRulesTest, PromotionalQuantityLowersTheQuantityToWhatIsLeft)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 9}});
    double quantity = 3;
    const DeterminedPrice got = price(1, quantity);
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>{std::string(kPromotionalQuantity) + "2" + kEnterTheRest});
    EXPECT_EQ(quantity, 1);
    EXPECT_EQ(got.price, 8);
    EXPECT_EQ(soldOnPromotion(1), 10);

    EXPECT_EQ(price(1, 1).kind, PriceKind::Regular);
    EXPECT_EQ(person.messages.size(), 1u);
}

TEST_P(PriceRulesTest, BothLimitsInTurnWithExcessInGeneralFormat)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 8.5}, {"SPBillQty", 3}});
    double quantity = 4.5;
    EXPECT_EQ(price(1, quantity).kind, PriceKind::Promotion);
    EXPECT_EQ(person.messageTexts(), (std::vector<std::string>{std::string(kPerBillLimit) + "1.5" + kEnterTheRest,
                                                               std::string(kPromotionalQuantity) + "1.5" + kEnterTheRest}));
    EXPECT_EQ(quantity, 1.5);
    EXPECT_EQ(soldOnPromotion(1), 10);
}

TEST_P(PriceRulesTest, ReturnUnderPromotionLowersTheCounterWithoutMessage)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 5}, {"SPBillQty", 3}});
    double quantity = -2;
    const DeterminedPrice got = price(1, quantity);
    EXPECT_EQ(got.price, 8);
    EXPECT_EQ(got.kind, PriceKind::Promotion);
    EXPECT_EQ(quantity, -2);
    EXPECT_TRUE(person.messages.empty());
    EXPECT_EQ(soldOnPromotion(1), 3);
}

// A promotional line whose quantity changes after pricing: the counter follows, or the
// change is refused with the limit it would pass.
TEST_P(PriceRulesTest, QuantityChangeOfAPromotionalLineStaysWithinItsLimits)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPBillQty", 6}});
    addGoods(2);
    scan("G1", 2);
    scan("G2", 1);
    side().execute("update B_Goods set SPMakeQty=SPMakeQty+3 where GoodsId=1");  // other sales
    struct Step {
        std::size_t line;
        double quantity;
        const char* refusal;  // the message's start; nullptr: taken
        double excess;
        double sold;  // SPMakeQty afterwards
    };
    const Step steps[] = {
        {0, 4, nullptr, 0, 7},
        {0, 7, kPerBillLimit, 1, 7},
        {0, 1, nullptr, 0, 4},  // given back
        {0, 6, nullptr, 0, 9},
        {1, 9, nullptr, 0, 9},  // not promotional: no limit, no count
    };
    for (const Step& step : steps) {
        person.messages.clear();
        const bool taken = ChangePromotionalQuantity(pricing(), bill, step.line, step.quantity);
        EXPECT_EQ(taken, step.refusal == nullptr) << step.quantity;
        if (taken)
            bill.line(step.line).quantity() = step.quantity;
        else
            EXPECT_EQ(person.messageTexts(),
                      std::vector<std::string>{std::string(step.refusal) + generalNumber(step.excess) + kEnterTheRest});
        EXPECT_EQ(soldOnPromotion(1), step.sold) << step.quantity;
    }

    side().execute("update B_Goods set SPBillQty=0, SPMakeQty=8 where GoodsId=1");
    person.messages.clear();
    EXPECT_FALSE(ChangePromotionalQuantity(pricing(), bill, 0, 9)) << "3 more wanted, 2 left";
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>{std::string(kPromotionalQuantity) + "1" + kEnterTheRest});
    EXPECT_EQ(soldOnPromotion(1), 8);
    EXPECT_TRUE(ChangePromotionalQuantity(pricing(), bill, 0, 8));
    EXPECT_EQ(soldOnPromotion(1), 10);
}

TEST_P(PriceRulesTest, EndedPromotionTakesNoMoreOnItsLines)
{
    const std::string yesterday = now().addDays(-1).text(), tomorrow = now().addDays(1).text();
    addGoods(1, {{"SPPrice", 8.0}, {"SPBeginDate", yesterday}, {"SPEndDate", tomorrow}});
    scan("G1", 2);
    side().execute("update B_Goods set SPEndDate=$1 where GoodsId=1", {yesterday});
    EXPECT_FALSE(ChangePromotionalQuantity(pricing(), bill, 0, 3));
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>{std::string(kPromotionalQuantity) + "1" + kEnterTheRest});
    EXPECT_TRUE(ChangePromotionalQuantity(pricing(), bill, 0, 1)) << "giving back is always allowed";
    EXPECT_EQ(soldOnPromotion(1), 1);
}

// Online the promotion window follows the server's clock, offline the terminal's.
TEST_P(PriceRulesTest, WindowComparedWithTheClockOfTheWorkingMode)
{
    const DateTime serverNow = f.dm.serverTime(Online);
    const DateTime terminalNow = serverNow.addDays(-400);
    f.clock.set(terminalNow);
    auto around = [](const DateTime& t) {
        return Fields{{"SPPrice", 8.0}, {"SPBeginDate", t.addDays(-1).text()}, {"SPEndDate", t.addDays(1).text()}};
    };
    addGoods(1, around(terminalNow));
    addGoods(2, around(serverNow));
    EXPECT_EQ(price(1).kind, online() ? PriceKind::Regular : PriceKind::Promotion);
    EXPECT_EQ(price(2).kind, online() ? PriceKind::Promotion : PriceKind::Regular);
}

INSTANTIATE_BOTH_MODES(PriceRulesTest);

// The window's ends, to the second, on the terminal's clock.
class PromotionWindowTest : public PriceRulesTest {};

TEST_P(PromotionWindowTest, BothEndsIncludedAndABareEndDateEndsAtMidnight)
{
    f.clock.set({2024, 3, 15, 10, 30, 0});
    struct Case {
        const char* begin;
        const char* end;
        PriceKind kind;
    };
    const Case cases[] = {
        {"2024-03-15 10:30:00", "2024-03-20 00:00:00", PriceKind::Promotion},
        {"2024-03-15 10:30:01", "2024-03-20 00:00:00", PriceKind::Regular},
        {"2024-03-01 00:00:00", "2024-03-15 10:30:00", PriceKind::Promotion},
        {"2024-03-01 00:00:00", "2024-03-15 10:29:59", PriceKind::Regular},
        {"2024-03-01", "2024-03-15", PriceKind::Regular},
        {"2024-03-01", "2024-03-16", PriceKind::Promotion},
    };
    int id = 0;
    for (const Case& c : cases) {
        addGoods(++id, {{"SPPrice", 8.0}, {"SPBeginDate", c.begin}, {"SPEndDate", c.end}});
        EXPECT_EQ(price(id).kind, c.kind) << c.begin << " .. " << c.end;
    }
}

INSTANTIATE_TEST_SUITE_P(TerminalClock, PromotionWindowTest, ::testing::Values(Offline), test::modeName);

}  // namespace
}  // namespace pos
