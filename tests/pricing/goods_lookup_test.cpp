#include "pricing/goods_lookup.h"
#include "pricing/price_kind.h"
#include "pricing_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

class GoodsLookupTest : public test::PricingTest {
protected:
    // One goods for every key of the lookup.
    void arrangeShop()
    {
        addGoods(1, {{"BarCode", "6901000000011"}, {"Code", "100001"}, {"Name", "可乐330ml"}, {"SPrice1", 2.5}});
        addGoods(2, {{"Code", "200002"}, {"Name", "雪碧"}, {"SPrice1", 3.0}});
        addGoods(3, {{"Code", "12345"}, {"Name", "散装鸡蛋"}, {"Unit1", "公斤"}, {"SPrice1", 24.68}});
        addGoods(4, {{"BarCode", "6901000000044"},
                     {"PKBarCode", "1690100000044"},
                     {"UnitRate", 6.0},
                     {"PKPrice", 12.0},
                     {"SPrice1", 2.5}});
        addGoods(5, {{"BarCode", "6901000000055"}});
        addExtraBarCode("6971880000055", 5);
        addGoods(6, {{"FindCode", "NMQS"}, {"Name", "柠檬汽水"}});
        addGoods(7, {{"Name", "特级红茶"}});
    }
    void addExtraBarCode(const std::string& barCode, int goodsId)
    {
        side().execute("insert into B_BarCode(BarCode, GoodsId) values($1, $2)", {barCode, goodsId});
    }
    void newBill()
    {
        bill.detail.clear();
        bill.currentLine = 0;
        nextOrderId = 1;
    }
    std::int64_t goodsCount() { return side().query("select count(*) as n from B_Goods").first("n").toInt(); }
};

TEST_P(GoodsLookupTest, EveryKeyFindsItsGoods)
{
    arrangeShop();
    struct Case {
        const char* input;
        double quantity;
        int goodsId;
        double lineQuantity, price, amount;
    };
    const Case cases[] = {
        {"6901000000011", 1, 1, 1, 2.5, 2.5},    // bar code
        {"100001", 3, 1, 3, 2.5, 7.5},           // goods code
        {"2412345012348", 1, 3, 0.5, 24.68, 12.34},  // label of 12.34 for goods 12345
        {"2412345012348", 4, 3, 0.5, 24.68, 12.34},  // the label's quantity replaces the given one
        {"1690100000044", 2, 4, 12, 2, 24},      // two packages of 6 at 12.00
        {"1690100000044", -1, 4, -6, 2, -12},    // a package returned
        {"6971880000055", 1, 5, 1, 10, 10},      // extra bar code
        {"NMQS", 1, 6, 1, 10, 10},               // search code
        {"nmqs", 1, 6, 1, 10, 10},               // search code typed in lower case
        {"级红", 1, 7, 1, 10, 10},               // part of the name
    };
    for (const Case& c : cases) {
        newBill();
        scan(c.input, c.quantity);
        ASSERT_EQ(bill.detail.size(), 1u) << c.input;
        EXPECT_EQ(line(0).goodsId().toInt(), c.goodsId) << c.input;
        EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), c.lineQuantity) << c.input;
        EXPECT_DOUBLE_EQ(line(0).price().toDouble(), c.price) << c.input;
        EXPECT_EQ(line(0).amount().toDouble(), c.amount) << c.input;
    }
    EXPECT_TRUE(person.messages.empty());
    EXPECT_TRUE(person.offered.empty());
}

TEST_P(GoodsLookupTest, EarlierKeyWinsOverALaterOne)
{
    arrangeShop();
    addGoods(11, {{"BarCode", "X1"}});
    addGoods(12, {{"Code", "X1"}});
    addGoods(13, {{"Code", "2412345000000"}});  // a goods code shaped like a label
    addGoods(14, {{"PKBarCode", "2412345001239"}, {"PKPrice", 10.0}});
    addGoods(15, {{"PKBarCode", "Y1"}, {"PKPrice", 10.0}});
    addGoods(16);
    addExtraBarCode("Y1", 16);
    addGoods(17);
    addExtraBarCode("Z1", 17);
    addGoods(18, {{"FindCode", "Z1"}});
    addGoods(19, {{"FindCode", "QQ"}});
    addGoods(20, {{"Name", "QQ糖"}});
    const std::pair<const char*, int> cases[] = {
        {"X1", 11},             // bar code before goods code
        {"2412345000000", 13},  // goods code before label
        {"2412345001239", 3},   // label before package bar code
        {"Y1", 15},             // package bar code before extra bar code
        {"Z1", 17},             // extra bar code before search code
        {"QQ", 19},             // search code before part of a name
    };
    for (auto [input, goodsId] : cases) {
        newBill();
        scan(input);
        ASSERT_EQ(bill.detail.size(), 1u) << input;
        EXPECT_EQ(line(0).goodsId().toInt(), goodsId) << input;
    }
    EXPECT_TRUE(person.offered.empty());
}

TEST_P(GoodsLookupTest, TextsThatAreNoLabelAreNotReadAsOne)
{
    arrangeShop();
    for (const char* input : {"241234501234", "24123450123489", "2412345A12348", "2512345012348"}) {
        scan(input);
        EXPECT_TRUE(bill.detail.empty()) << input;
    }
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>(4, "没有找到该商品！"));
}

TEST_P(GoodsLookupTest, LabelOfGoodsWithoutRegularPriceIsRefusedWithAMessage)
{
    addGoods(8, {{"Code", "54321"}, {"SPrice1", 0.0}});
    scan("2454321012348");
    EXPECT_TRUE(bill.detail.empty());
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, "该商品的零售价为0，不能按金额条码计算数量！");
    EXPECT_EQ(person.messages[0].title, "提示");
    EXPECT_EQ(nextOrderId, 1);
}

TEST_P(GoodsLookupTest, PackagePriceBypassesThePriceRules)
{
    // Two goods share the package bar code; one of them is on promotion.
    addGoods(21, {{"PKBarCode", "PK2"}, {"UnitRate", 4.0}, {"PKPrice", 10.0}});
    addGoods(22, {{"PKBarCode", "PK2"}, {"UnitRate", 4.0}, {"PKPrice", 10.0}, {"SPPrice", 1.0}, {"SPQuantity", 50}});
    person.picks = {1};
    scan("PK2", 1, 0, 95);
    ASSERT_EQ(person.offered.size(), 1u);
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).goodsId(), person.offered[0].at(1, "GoodsId"));
    EXPECT_EQ(line(0).quantity().toDouble(), 4);
    EXPECT_EQ(line(0).price().toDouble(), 2.5);
    EXPECT_EQ(line(0).discount().toDouble(), 95);
    EXPECT_TRUE(line(0).memo().isNull());
    EXPECT_EQ(soldOnPromotion(22), 0);

    addGoods(23, {{"PKBarCode", "PK0"}, {"UnitRate", 0.0}, {"PKPrice", 10.0}});
    scan("PK0");  // no unit count: no package price, and no price rule either
    EXPECT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>{"价格为0的商品不能销售！"});
}

TEST_P(GoodsLookupTest, TypedPriceIsUsedUnchangedAndLeavesThePromotionAlone)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 50}, {"IsLowPrice", 1}, {"LowPrice", 7.0}});
    scan("G1", 2, 5.5);
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).price().toDouble(), 5.5);
    EXPECT_EQ(line(0).amount().toDouble(), 11);
    EXPECT_EQ(line(0).name().toString(), "商品1");
    EXPECT_TRUE(line(0).memo().isNull());
    EXPECT_EQ(soldOnPromotion(1), 0);
}

TEST_P(GoodsLookupTest, NewLineCarriesTheGoodsThePriceAndItsTag)
{
    addGoods(1, {{"BarCode", "B1"}, {"Name", "巧克力"}, {"Unit1", "块"}, {"SPrice1", 12.9}, {"SPPrice", 9.9},
                 {"SPQuantity", 50}});
    addGoods(2, {{"Name", "洗发水"}, {"IsLowPrice", 1}, {"LowPrice", 29.9}, {"SPrice1", 36.9}});
    addGoods(3, {{"Name", "大米"}, {"SPrice3", 9.5}});
    addCard("803", 3);
    memberOnBill("803", MemberDiscountType::MemberPrices);
    struct Case {
        const char* input;
        const char* name;
        Value memo;
        double price;
        double amountOnline, amountOffline;
    };
    // Online these prices are never discounted further; offline the discount box applies.
    const Case cases[] = {
        {"G1", "巧克力[促销]", kPromotionTag, 9.9, 19.8, 18.81},
        {"G2", "洗发水[特价]", kSpecialTag, 29.9, 59.8, 56.81},
        {"G3", "大米", kMemberTag, 9.5, 19, 18.05},
    };
    nextOrderId = 7;  // numbers are never reused after deleted lines
    for (const Case& c : cases) {
        scan(c.input, 2, 0, 95);
        const std::size_t r = bill.detail.size() - 1;
        EXPECT_EQ(line(r).billNo(), bill.billNo());
        EXPECT_EQ(line(r).orderId().toInt(), static_cast<std::int64_t>(7 + r));
        EXPECT_EQ(line(r).code().toString(), c.input);
        EXPECT_EQ(line(r).name().toString(), c.name);
        EXPECT_EQ(line(r).memo(), c.memo);
        EXPECT_EQ(line(r).price().toDouble(), c.price);
        EXPECT_EQ(line(r).quantity().toDouble(), 2);
        EXPECT_EQ(line(r).discount().toDouble(), online() ? 100 : 95);
        EXPECT_EQ(line(r).amount().toDouble(), online() ? c.amountOnline : c.amountOffline);
        EXPECT_EQ(bill.currentLine, r);
    }
    EXPECT_EQ(line(0).barCode().toString(), "B1");
    EXPECT_EQ(line(0).unit1().toString(), "块");
    EXPECT_EQ(line(0).sPrice1().toDouble(), 12.9);
    EXPECT_EQ(nextOrderId, 10);
}

TEST_P(GoodsLookupTest, SameGoodsMergeIntoTheCurrentLineOnly)
{
    arrangeShop();
    scan("100001");
    scan("100001", 2);
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).quantity().toDouble(), 3);
    EXPECT_EQ(line(0).amount().toDouble(), 7.5);
    EXPECT_EQ(nextOrderId, 2);

    scan("200002");
    bill.currentLine = 0;  // the cashier moved the cursor up
    scan("200002");
    ASSERT_EQ(bill.detail.size(), 3u);
    scan("200002");  // merges into the line just added
    EXPECT_EQ(bill.detail.size(), 3u);
    EXPECT_EQ(line(2).quantity().toDouble(), 2);

    scan("200002", 1, 0, 90);   // another discount
    scan("200002", 1, 3.5, 90); // another price
    EXPECT_EQ(bill.detail.size(), 5u);
    EXPECT_EQ(nextOrderId, 6);
}

// A whole-bill discount of 90 is in force while a promotion line is added.
TEST_P(GoodsLookupTest, PromotionLineUnderBillDiscountMergesOfflineOnly)
{
    addGoods(1, {{"SPPrice", 8.0}, {"SPQuantity", 50}});
    scan("G1", 1, 0, 90);
    scan("G1", 1, 0, 90);
    if (online()) {
        ASSERT_EQ(bill.detail.size(), 2u);
        EXPECT_EQ(line(1).discount().toDouble(), 100);
    } else {
        ASSERT_EQ(bill.detail.size(), 1u);
        EXPECT_EQ(line(0).quantity().toDouble(), 2);
        EXPECT_EQ(line(0).discount().toDouble(), 90);
    }
    EXPECT_EQ(soldOnPromotion(1), 2);
}

TEST_P(GoodsLookupTest, TypedTextIsLookedUpLiterally)
{
    arrangeShop();
    const std::int64_t goods = goodsCount();
    for (const char* input : {"' or '1'='1", "x'; delete from B_Goods; --", "%", "_", "\\", "可乐' --"}) {
        scan(input);
        EXPECT_TRUE(bill.detail.empty()) << input;
    }
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>(6, "没有找到该商品！"));
    EXPECT_EQ(person.messages[0].title, "提示");
    EXPECT_EQ(person.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(goodsCount(), goods);

    addGoods(9, {{"Name", "100%纯果汁"}});
    scan("100%");  // the percent sign is part of the name, not a wildcard
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 9);
    EXPECT_TRUE(person.offered.empty());
}

TEST_P(GoodsLookupTest, SeveralMatchesGoToThePickListAndItsRowIsTaken)
{
    arrangeShop();
    addGoods(9, {{"Code", "A9"}, {"Name", "橙味汽水"}});
    person.picks = {1};
    scan("汽水");
    ASSERT_EQ(person.offered.size(), 1u);
    const RowSet& offered = person.offered[0];
    ASSERT_EQ(offered.size(), 2u);
    for (const char* column : {"Code", "BarCode", "Name", "Unit1", "SPrice1"})
        EXPECT_TRUE(offered.columns().find(column)) << column;
    EXPECT_EQ(offered.at(0, "GoodsId").toInt(), 6);  // in the order the goods were entered
    EXPECT_EQ(offered.at(1, "Code").toString(), "A9");
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 9);
}

TEST_P(GoodsLookupTest, PickListOfASubstringReadsItsMatchesInGoodsOrderAsItScrolls)
{
    auto insert = side().prepare("insert into B_Goods(GoodsId, Code, Name, SPrice1) values($1, $2, $3, 1)");
    const int many = 2 * static_cast<int>(kGoodsMatchPage) + 25;
    {
        Transaction tx(side());
        // Codes run against the goods order, so the list's order shows which one it follows.
        for (int i = many; i >= 1; --i)
            insert->execute({1000 + i, "M" + std::to_string(100000 - i), "散装糖果" + std::to_string(i)});
        tx.commit();
    }
    person.scrollToEnd = true;
    person.picks = {static_cast<std::size_t>(many - 1)};
    scan("糖果");
    ASSERT_EQ(person.offered.size(), 1u);
    EXPECT_EQ(person.offered[0].size(), kGoodsMatchPage);
    const RowSet& offered = person.offeredAfterScrolling.at(0);
    ASSERT_EQ(offered.size(), static_cast<std::size_t>(many));
    for (std::size_t r = 0; r < offered.size(); ++r)
        EXPECT_EQ(offered.at(r, "GoodsId").toInt(), 1001 + static_cast<int>(r));
    ASSERT_EQ(bill.detail.size(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 1000 + many);
}

INSTANTIATE_BOTH_MODES(GoodsLookupTest);

}  // namespace
}  // namespace pos
