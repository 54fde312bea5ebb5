#include "queries/stock_query.h"

#include "base/row_sort.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <string>
#include <vector>

namespace pos {
namespace {

using Texts = std::vector<std::string>;

// Goods and stock of two stores in the back office; goods 2's code is goods 1's bar code.
class StockQueryTest : public ::testing::Test {
protected:
    StockQueryTest()
    {
        Database& db = f.side(Online);
        db.execute("insert into B_Store(StoreId,Code,Name) values(1,'S1','一号店'),(2,'S2','二号店')");
        db.execute("insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1) values"
                   "(1,'G1','G2','牙刷','支'),(2,'G2','6902','毛巾','条'),(3,'G3','6903','香皂','块')");
        db.execute("insert into D_Stock(StoreId,GoodsId,Quantity) values"
                   "(1,1,5),(2,1,7),(1,2,3),(2,3,9),(9,3,1),(1,99,4)");
    }

    StockQueryStatements& server() { return f.dm.conServer().statements<StockQueryStatements>(); }

    static Texts column(const RowSet& rows, const char* name)
    {
        Texts texts;
        for (std::size_t r = 0; r < rows.size(); ++r)
            texts.push_back(rows.at(r, name).toString());
        return texts;
    }

    test::TerminalFixture f;
};

TEST_F(StockQueryTest, GoodsAreFoundByCodeBeforeBarCode)
{
    EXPECT_EQ(FindStockGoods(server(), "G2"), 2);
    EXPECT_EQ(FindStockGoods(server(), "6903"), 3);
    EXPECT_EQ(FindStockGoods(server(), "G9"), std::nullopt);
    EXPECT_EQ(FindStockGoods(server(), "' or 1=1 --"), std::nullopt);
}

TEST_F(StockQueryTest, StockByStoreAndGoodsWithOrphanRowsKept)
{
    const RowSet all = QueryStock(server(), std::nullopt, std::nullopt);
    EXPECT_EQ(all.size(), 6u);
    const RowSet store1 = QueryStock(server(), 1, std::nullopt);
    EXPECT_EQ(column(store1, "GoodsCode"), (Texts{"G2", "G1", ""}) ) << "by goods name, missing goods last";
    Texts stores3 = column(QueryStock(server(), std::nullopt, 3), "StoreName");
    std::sort(stores3.begin(), stores3.end());
    EXPECT_EQ(stores3, (Texts{"", "二号店"})) << "stock of a store that no longer exists";
    const RowSet one = QueryStock(server(), 2, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one.at(0, "BarCode").toString(), "G2");
    EXPECT_EQ(one.at(0, "GoodsName").toString(), "牙刷");
    EXPECT_EQ(one.at(0, "Unit1").toString(), "支");
    EXPECT_EQ(one.at(0, "StoreName").toString(), "二号店");
    EXPECT_EQ(one.at(0, "Quantity").toDouble(), 7);
}

TEST_F(StockQueryTest, TypedStoreNamesMustBeInTheList)
{
    const std::vector<StockStore> stores = StockStores(server());
    EXPECT_TRUE(ChooseStore(stores, "").known);
    EXPECT_EQ(ChooseStore(stores, "").storeId, std::nullopt);
    EXPECT_EQ(ChooseStore(stores, " 二号店 ").storeId, 2);
    EXPECT_FALSE(ChooseStore(stores, "三号店").known);

    const std::vector<StockStore> twins{{7, "仓库"}, {9, "仓库"}};
    EXPECT_EQ(ChooseStore(twins, "仓库", 1).storeId, 9) << "the picked one of two stores with one name";
    EXPECT_EQ(ChooseStore(twins, "仓库").storeId, 7);
    EXPECT_EQ(ChooseStore(twins, "一号店", 1).known, false) << "a name typed over the picked item";
}

TEST(RowSort, MarkedColumnsSortInMarkOrderAndUnmarkingRestores)
{
    RowSet rows(Columns({"Name", "Quantity"}));
    rows.append({Value("b"), Value(10.0)});
    rows.append({Value("a"), Value(2.0)});
    rows.append({Value("b"), Value(2.0)});
    rows.append({Value(), Value(5.0)});
    std::vector<SortMark> marks;
    const auto names = [&] {
        Texts t;
        const RowSet sorted = SortedRows(rows, marks);
        for (std::size_t r = 0; r < sorted.size(); ++r)
            t.push_back(sorted.at(r, "Name").toString() + sorted.at(r, "Quantity").toString());
        return t;
    };
    ToggleSortMark(marks, "Name");
    EXPECT_EQ(names(), (Texts{"5", "a2", "b10", "b2"}));
    ToggleSortMark(marks, "Quantity");
    EXPECT_EQ(names(), (Texts{"5", "a2", "b2", "b10"})) << "numbers by value, not text";
    ToggleSortMark(marks, "Name");
    EXPECT_EQ(names(), (Texts{"b2", "b10", "a2", "5"})) << "first mark descending, second still ascending";
    ToggleSortMark(marks, "Name");
    EXPECT_EQ(names(), (Texts{"a2", "b2", "5", "b10"})) << "quantity alone, ties in source order";
    ToggleSortMark(marks, "Quantity");
    ToggleSortMark(marks, "Quantity");
    EXPECT_TRUE(marks.empty());
    EXPECT_EQ(names(), (Texts{"b10", "a2", "b2", "5"}));
}

}  // namespace
}  // namespace pos
