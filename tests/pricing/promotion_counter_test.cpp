#include "pricing/price_determination.h"
#include "pricing_fixture.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

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
          t{settings, dm, state, member, totals, person, f.clock, f.log}
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
        return DeterminePrice({t.sql<PricingStatements>(), person, clock, state, member}, goodsId, quantity, bill).price;
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

INSTANTIATE_TEST_SUITE_P(SharedServer, PromotionCounterRaceTest, ::testing::Values(Online), test::modeName);

}  // namespace
}  // namespace pos
