#pragma once

#include "base/bill.h"
#include "config/working_mode_clock.h"
#include "pricing/price_determination.h"
#include "support/terminal_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace pos::test {

// The scripted person, also keeping what the pick list was offered, and able to run
// something while a message is on the screen (another terminal selling meanwhile).
class PricingPerson : public ScriptedPerson {
public:
    // The rows the pick list showed on opening, and, when scrolling to the end, all of them.
    std::vector<RowSet> offered;
    std::vector<RowSet> offeredAfterScrolling;
    bool scrollToEnd = false;
    std::function<void()> whileNextMessageShown;

    std::size_t pickGoods(PagedRows& candidates) override;
    void message(const std::string& text, const std::string& title, MessageIcon icon) override;
};

using Fields = std::vector<std::pair<std::string, Value>>;

// Inserts a B_Goods row: GoodsId `id`, code "G<id>", no bar code, name "商品<id>", unit
// "个", SPrice1 10, changed and completed by `fields`.
void addGoods(Database& db, int id, const Fields& fields = {});

// A terminal in the working mode of the test parameter (Online or Offline) with an
// empty bill; data is arranged on that mode's side.
class PricingTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    PricingTest();

    WorkingMode mode() const { return GetParam(); }
    bool online() const { return mode() == Online; }
    Database& side() { return f.side(mode()); }
    DateTime now() { return f.dm.serverTime(mode()); }

    void addGoods(int id, const Fields& fields = {}) { test::addGoods(side(), id, fields); }
    void addCard(const std::string& cardNo, int priceLevel);
    // The member card on the bill, as the member card dialog leaves it.
    void memberOnBill(const std::string& cardNo, MemberDiscountType discountType);
    double soldOnPromotion(int goodsId) { return soldOnPromotion(side(), goodsId); }
    static double soldOnPromotion(Database& db, int goodsId);

    void scan(const std::string& text, double quantity = 1, double price = 0, double discount = 100);
    ConstBillLine line(std::size_t r) const { return bill.line(r); }

    PricingContext pricing() { return {t.db().statements<PricingStatements>(), t.person, modeClock, t.state, f.sale.member}; }

    TerminalFixture f;
    PricingPerson person;
    Terminal t;
    WorkingModeClock modeClock{f.dm, f.state};
    Bill bill;
    int nextOrderId = 1;
};

std::string modeName(const ::testing::TestParamInfo<WorkingMode>& info);

#define INSTANTIATE_BOTH_MODES(Suite) \
    INSTANTIATE_TEST_SUITE_P(BothModes, Suite, ::testing::Values(Online, Offline), ::pos::test::modeName)

}  // namespace pos::test
