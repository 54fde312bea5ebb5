#include "pricing/goods_text_index.h"
#include "pricing/pricing_statements.h"
#include "pricing_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pos {
namespace {

// The in-memory text of the local goods must find what the file's own LIKE finds, in
// the same order.
class GoodsTextIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Database& db = local();
        test::addGoods(db, 5, {{"Code", "KL-330"}, {"BarCode", "6901000000055"}, {"FindCode", "KL"}, {"Name", "可乐330ml"}});
        test::addGoods(db, 2, {{"Code", "X2"}, {"Name", "柠檬汽水 Lemon"}});
        test::addGoods(db, 9, {{"Code", "100%_A"}, {"FindCode", "NMQS"}, {"Name", "特级红茶"}});
        test::addGoods(db, 7, {{"Code", "Y7"}, {"Name", "红茶330"}});
        test::addGoods(db, 11, {{"Code", "Z11"}, {"Name", nullptr}});
        test::addGoods(db, 3, {{"Code", "33"}, {"BarCode", 6901000000033}, {"Name", "散装鸡蛋"}});
    }

    Database& local() { return f.dm.conClient(); }

    // What the plain statement finds, every match at once.
    std::vector<std::int64_t> plain(const std::string& text)
    {
        std::string pattern = "%";
        for (char c : text) {
            if (c == '%' || c == '_' || c == '\\')
                pattern += '\\';
            pattern += c;
        }
        RowSet rows = local().statements<PricingStatements>().goodsBySubstring.query({pattern + "%", 1000, 0});
        std::vector<std::int64_t> ids;
        for (std::size_t r = 0; r < rows.size(); ++r)
            ids.push_back(rows.at(r, "GoodsId").toInt());
        return ids;
    }

    // Every match, read a page of `page` goods at a time.
    std::vector<std::int64_t> indexed(const std::string& text, std::size_t page = 100)
    {
        std::vector<std::int64_t> ids;
        std::size_t from = 0, before = 0;
        do {
            before = ids.size();
            EXPECT_TRUE(index().find(local(), text, from, page, ids)) << text;
            EXPECT_LE(ids.size() - before, page) << text;
        } while (ids.size() - before == page);
        return ids;
    }

    GoodsTextIndex& index() { return local().statements<PricingStatements>().goodsText; }

    test::TerminalFixture f;
};

TEST_F(GoodsTextIndexTest, FindsWhatThePlainSearchFindsInGoodsOrder)
{
    const struct {
        const char* text;
        std::vector<std::int64_t> expected;
    } cases[] = {
        {"可乐", {5}},                // start of a name
        {"检", {}},                   // no match
        {"汽水", {2}},                // middle of a name
        {"ml", {5}},                  // end of a name
        {"红茶", {7, 9}},             // several, in goods order
        {"330", {5, 7}},              // code and name of one goods listed once
        {"3", {3, 5, 7}},             // one character
        {"kl", {5}},                  // ASCII letters in either case, as the local LIKE
        {"LEMON", {2}},
        {"%_", {9}},                  // wildcards are literal
        {"_", {9}},
        {"00000033", {3}},            // a bar code stored as a number
        {"6901", {3, 5}},
        {"无此商品", {}},
        {"Z11", {11}},                // a goods without name is found by its code
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plain(c.text), c.expected) << c.text;
        EXPECT_EQ(indexed(c.text), c.expected) << c.text;
        EXPECT_EQ(indexed(c.text, 1), c.expected) << c.text << ", one goods a page";
    }
}

TEST_F(GoodsTextIndexTest, LeavesTextsItCannotAnswerToTheFile)
{
    std::vector<std::int64_t> ids;
    std::size_t from = 0;
    EXPECT_FALSE(index().find(local(), "", from, 100, ids));
    EXPECT_FALSE(index().find(local(), "红\n茶", from, 100, ids));
    EXPECT_TRUE(ids.empty());
}

// Built once, and read again at the next search after any change of the goods' rows,
// whoever made it; a change of other columns keeps it.
TEST_F(GoodsTextIndexTest, FollowsEveryChangeOfTheGoods)
{
    using Ids = std::vector<std::int64_t>;
    EXPECT_EQ(indexed("红茶"), (Ids{7, 9}));
    test::addGoods(local(), 8, {{"Name", "红茶饮料"}});
    EXPECT_EQ(indexed("红茶"), (Ids{7, 8, 9}));
    local().execute("update B_Goods set Name='绿茶' where GoodsId=9");
    EXPECT_EQ(indexed("红茶"), (Ids{7, 8}));
    local().execute("update B_Goods set Code='HC7' where GoodsId=7");
    EXPECT_EQ(indexed("hc"), (Ids{7}));
    local().execute("delete from B_Goods where GoodsId=8");
    EXPECT_EQ(indexed("红茶"), (Ids{7}));
    local().execute("update B_Goods set SPrice1=99 where GoodsId=7");
    EXPECT_EQ(indexed("红茶"), (Ids{7}));
    for (const char* text : {"红茶", "hc", "绿茶", "33"})
        EXPECT_EQ(indexed(text), plain(text)) << text;
}

}  // namespace
}  // namespace pos
