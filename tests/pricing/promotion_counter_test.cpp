#include "pricing/price_determination.h"
#include "pricing_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <utility>

namespace pos {
namespace {

const test::Fields kPromotion{{"SPPrice", 8.0}, {"SPQuantity", 1000}};

class PromotionCounterTest : public test::PricingTest {};

TEST_P(PromotionCounterTest, RaisedOnTheSideOfTheWorkingModeOnly)
{
    Database& other = f.side(online() ? Offline : Online);
    addGoods(1, kPromotion);
    test::addGoods(other, 1, kPromotion);
    scan("G1", 2);
    scan("G1", 3);
    EXPECT_EQ(soldOnPromotion(1), 5);
    EXPECT_EQ(soldOnPromotion(other, 1), 0);
}

INSTANTIATE_BOTH_MODES(PromotionCounterTest);

// Another terminal of the shop, online on the same back office.
struct OtherTerminal {
    explicit OtherTerminal(test::TerminalFixture& f)
        : settings(IniFile(dir.file("POS.ini"))),
          dm(settings, person, f.clock, dir.file("POS.mdb"), f.office.registryName()),
          t{settings, dm, state, person, f.clock, f.log}
    {
        if (!dm.openLocalDatabase() || !dm.connectToServer(f.office.login(), f.office.accountSetName()))
            throw std::runtime_error("the other terminal cannot start");
        state.NetMode = Online;
        state.StoreId = 1;
        bill = Bill::open(dm.conClient());
        bill.master.append();
        bill.billNo() = "02202403150001";
    }
    double sell(int goodsId, double quantity)
    {
        const WorkingModeClock clock(dm, state);
        return DeterminePrice({t.db().statements<PricingStatements>(), person, clock, state, member}, goodsId, quantity, bill).price;
    }

    test::TempDir dir;
    Settings settings;
    test::ScriptedPerson person;
    TDM dm;
    TPosState state;
    CurrentMember member;
    BillTotals totals;
    Terminal t;
    Bill bill;
};

class PromotionCounterRaceTest : public PromotionCounterTest {};

// The first terminal has read the counter and shows its limit message while the other
// terminal sells; both sales must count.
TEST_P(PromotionCounterRaceTest, SaleMadeBetweenReadAndWriteOfAnotherTerminalIsNotLost)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 1000}, {"SPBillQty", 1}});
    OtherTerminal other(f);
    person.whileNextMessageShown = [&] { EXPECT_EQ(other.sell(1, 1), 8); };
    double quantity = 2;
    EXPECT_EQ(DeterminePrice(pricing(), 1, quantity, bill).kind, PriceKind::Promotion);
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(quantity, 1);
    EXPECT_EQ(soldOnPromotion(1), 2);
}

TEST_P(PromotionCounterRaceTest, TwoTerminalsSellingTogetherCountEverySale)
{
    addGoods(1, kPromotion);
    OtherTerminal other(f);
    constexpr int kSales = 40;
    std::thread meanwhile([&] {
        for (int i = 0; i < kSales; ++i)
            other.sell(1, 1);
    });
    for (int i = 0; i < kSales; ++i) {
        double quantity = 1;
        DeterminePrice(pricing(), 1, quantity, bill);
    }
    meanwhile.join();
    EXPECT_EQ(soldOnPromotion(1), 2 * kSales);
}

TEST_P(PromotionCounterRaceTest, TwoTerminalsNeverSellMoreThanThePromotionalQuantityTogether)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 30}});
    OtherTerminal other(f);
    constexpr int kSales = 25;
    int otherPromoted = 0;
    std::thread meanwhile([&] {
        for (int i = 0; i < kSales; ++i)
            otherPromoted += other.sell(1, 1) == 8 ? 1 : 0;
    });
    int promoted = 0;
    for (int i = 0; i < kSales; ++i) {
        double quantity = 1;
        promoted += DeterminePrice(pricing(), 1, quantity, bill).kind == PriceKind::Promotion ? 1 : 0;
        EXPECT_EQ(quantity, 1);
    }
    meanwhile.join();
    EXPECT_EQ(promoted + otherPromoted, 30);
    EXPECT_EQ(soldOnPromotion(1), 30);
    EXPECT_TRUE(person.messages.empty());
}

// The dates of a promotion running now: only a dated promotion reads the clock.
const std::pair<const char*, Value> kRunningNow[] = {{"SPBeginDate", "2000-01-01 00:00:00"},
                                                      {"SPEndDate", "2099-12-31 23:59:59"}};

// The working mode's clock, running something once when it is next read: the price rules
// read it for a dated promotion after the pricing row and before taking from the counter.
class MeanwhileClock : public Clock {
public:
    explicit MeanwhileClock(const Clock& clock) : clock_(clock) {}
    DateTime now() const override
    {
        if (auto run = std::exchange(meanwhile, nullptr))
            run();
        return clock_.now();
    }
    mutable std::function<void()> meanwhile;

private:
    const Clock& clock_;
};

// Another terminal sells between this one's reading of the counter and its sale: this one
// gets what is left, and a line that gets no promotion keeps its whole quantity.
TEST_P(PromotionCounterRaceTest, SaleBetweenReadAndTakeLeavesThisTerminalOnlyTheRest)
{
    struct Case {
        double soldMeanwhile;
        double quantity;  // of this terminal's line
        PriceKind kind;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {2, 1, PriceKind::Promotion, {"该货品的当前销量超出可促销量(超出数量2)\r\n超出限量的货品请另外输入。"}},
        {3, 3, PriceKind::Regular, {}},
    };
    OtherTerminal other(f);
    int id = 0;
    for (const Case& c : cases) {
        addGoods(++id, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 7}, kRunningNow[0], kRunningNow[1]});
        MeanwhileClock clock(modeClock);
        clock.meanwhile = [&] { EXPECT_EQ(other.sell(id, c.soldMeanwhile), 8); };
        person.messages.clear();
        double quantity = 3;
        const PricingContext pricing{t.db().statements<PricingStatements>(), t.person, clock, t.state, f.sale.member};
        EXPECT_EQ(DeterminePrice(pricing, id, quantity, bill).kind, c.kind) << c.soldMeanwhile;
        EXPECT_EQ(quantity, c.quantity) << c.soldMeanwhile;
        EXPECT_EQ(person.messageTexts(), c.messages) << c.soldMeanwhile;
        EXPECT_EQ(soldOnPromotion(id), 10) << c.soldMeanwhile;
    }
}

// A quantity changed on a promotional line takes the difference under the same guard.
TEST_P(PromotionCounterRaceTest, QuantityChangeRacingAnotherTerminalIsRefusedWhole)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 10}, {"SPMakeQty", 6}, kRunningNow[0], kRunningNow[1]});
    scan("G1", 2);
    OtherTerminal other(f);
    MeanwhileClock clock(modeClock);
    clock.meanwhile = [&] { EXPECT_EQ(other.sell(1, 1), 8); };
    const PricingContext pricing{t.db().statements<PricingStatements>(), t.person, clock, t.state, f.sale.member};
    EXPECT_FALSE(ChangePromotionalQuantity(pricing, bill, 0, 4)) << "2 wanted, 1 left after the other sale";
    EXPECT_EQ(person.messageTexts(),
              std::vector<std::string>{"该货品的当前销量超出可促销量(超出数量1)\r\n超出限量的货品请另外输入。"});
    EXPECT_EQ(soldOnPromotion(1), 9);
}

INSTANTIATE_TEST_SUITE_P(SharedServer, PromotionCounterRaceTest, ::testing::Values(Online), test::modeName);

}  // namespace
}  // namespace pos
