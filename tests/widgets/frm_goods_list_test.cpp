#include "widgets/frm_goods_list.h"
#include "support/ui/window_keys.h"

#include <QHeaderView>
#include <QTableView>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pos {
namespace {

RowSet candidates()
{
    RowSet goods(Columns({"GoodsId", "code", "BarCode", "Name", "Unit1", "SPrice1"}));
    goods.append({1, "G1", "6901", "牙刷", "支", 3.5});
    goods.append({2, "G2", "6902", "牙膏", "支", 8.0});
    goods.append({3, "G3", "6903", "毛巾", "条", 12.0});
    goods.append({4, "G4", "6904", "纸巾", "盒装", 9.9});
    return goods;
}

TEST(GoodsListTest, ShowsTheCandidatesInItsColumns)
{
    PagedRows goods(candidates());
    TfrmGoodsList dlg(goods);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("选择商品"));
    auto* grid = dlg.findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    const QStringList titles = {"商品代码", "商品条形码", "商品名称", "单位", "单价"};
    const int widths[] = {93, 118, 215, 28, 70};  // the unit: at least 28
    ASSERT_EQ(grid->model()->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        if (c == 3)
            EXPECT_GE(grid->columnWidth(c), widths[c]);
        else
            EXPECT_EQ(grid->columnWidth(c), widths[c]);
    }
    const QModelIndex twoCharacterUnit = grid->model()->index(3, 3);
    EXPECT_GE(grid->columnWidth(3), grid->sizeHintForIndex(twoCharacterUnit).width() + 1) << "盒装 is cut";
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("G2"));
    EXPECT_EQ(grid->model()->index(1, 2).data().toString(), QStringLiteral("牙膏"));
    EXPECT_EQ(grid->model()->index(2, 4).data().toString(), QStringLiteral("12"));
}

TEST(GoodsListTest, EnterAndEscBothLeaveWithTheRowUnderTheCursor)
{
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        PagedRows goods(candidates());
        TfrmGoodsList dlg(goods);
        ASSERT_TRUE(test::showActive(dlg));
        test::press(dlg, Qt::Key_Down);
        test::press(dlg, Qt::Key_Down);
        test::press(dlg, Qt::Key_Up);
        test::press(dlg, key);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.currentRow(), 1u);
    }
}

TEST(GoodsListTest, ReadsTheNextPageWhenScrolledToTheEnd)
{
    constexpr std::size_t page = 30, total = 75;
    std::vector<std::size_t> offsetsRead;
    PagedRows goods(
        [&](std::size_t offset, std::size_t count) {
            offsetsRead.push_back(offset);
            RowSet rows(Columns({"GoodsId", "Code", "BarCode", "Name", "Unit1", "SPrice1"}));
            for (std::size_t r = offset; r < std::min(offset + count, total); ++r)
                rows.append({static_cast<int>(r), "G" + std::to_string(r), "", "糖果", "袋", 1.0});
            return rows;
        },
        page);
    TfrmGoodsList dlg(goods);
    ASSERT_TRUE(test::showActive(dlg));
    auto* grid = dlg.findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), static_cast<int>(page));
    for (int i = 0; i < 5 && grid->model()->rowCount() < static_cast<int>(total); ++i)
        test::press(dlg, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(grid->model()->rowCount(), static_cast<int>(total));
    EXPECT_EQ(offsetsRead, (std::vector<std::size_t>{0, page, 2 * page}));
    test::press(dlg, Qt::Key_End, Qt::ControlModifier);
    test::press(dlg, Qt::Key_Return);
    EXPECT_EQ(dlg.currentRow(), total - 1);
    EXPECT_EQ(goods.rows().at(dlg.currentRow(), "Code").toString(), "G74");
}

}  // namespace
}  // namespace pos
