#include "pricing_fixture.h"

#include "pricing/goods_lookup.h"
#include "support/member_cards.h"

#include <algorithm>
#include <utility>

namespace pos::test {

std::size_t PricingPerson::pickGoods(PagedRows& candidates)
{
    offered.push_back(candidates.rows());
    if (scrollToEnd) {
        while (candidates.readMore() > 0) {
        }
        offeredAfterScrolling.push_back(candidates.rows());
    }
    return ScriptedPerson::pickGoods(candidates);
}

void PricingPerson::message(const std::string& text, const std::string& title, MessageIcon icon)
{
    ScriptedPerson::message(text, title, icon);
    if (auto meanwhile = std::exchange(whileNextMessageShown, nullptr))
        meanwhile();
}

void addGoods(Database& db, int id, const Fields& fields)
{
    Fields row{{"GoodsId", id},
               {"Code", "G" + std::to_string(id)},
               {"Name", "商品" + std::to_string(id)},
               {"Unit1", "个"},
               {"SPrice1", 10.0}};
    for (const auto& [column, value] : fields) {
        auto same = [&](const auto& entry) { return sameName(entry.first, column); };
        if (auto it = std::find_if(row.begin(), row.end(), same); it != row.end())
            it->second = value;
        else
            row.emplace_back(column, value);
    }
    std::string columns, placeholders;
    Params values;
    for (const auto& [column, value] : row) {
        columns += (columns.empty() ? "" : ",") + column;
        values.push_back(value);
        placeholders += (placeholders.empty() ? "$" : ",$") + std::to_string(values.size());
    }
    db.execute("insert into B_Goods(" + columns + ") values(" + placeholders + ")", values);
}

PricingTest::PricingTest() : t{f.settings, f.dm, f.state, person, f.clock, f.log}
{
    f.state.NetMode = GetParam();
    f.state.StoreId = 1;
    bill = Bill::open(f.dm.conClient());
    bill.master.append();
    bill.billNo() = "01202403150001";
    bill.discount() = 100.0;
}

void PricingTest::addCard(const std::string& cardNo, int priceLevel)
{
    test::addMemberCard(side(), {.cardNo = cardNo, .holderName = "会员" + cardNo, .priceLevel = priceLevel});
}

void PricingTest::memberOnBill(const std::string& cardNo, MemberDiscountType discountType)
{
    bill.insiderCode() = cardNo;
    f.sale.member.VIPCardNo = cardNo;
    f.sale.member.VIPDiscountType = discountType;
}

double PricingTest::soldOnPromotion(Database& db, int goodsId)
{
    return db.query("select SPMakeQty from B_Goods where GoodsId=$1", {goodsId}).first("SPMakeQty").toDouble();
}

void PricingTest::scan(const std::string& text, double quantity, double price, double discount)
{
    AddGoodsByInput(pricing(), text, price, quantity, discount, bill, nextOrderId);
}

std::string modeName(const ::testing::TestParamInfo<WorkingMode>& info)
{
    return info.param == Online ? "Online" : "Offline";
}

}  // namespace pos::test
