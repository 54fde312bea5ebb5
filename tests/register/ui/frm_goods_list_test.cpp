#include "register/ui/frm_goods_list.h"
#include "support/ui/window_keys.h"

#include <QHeaderView>
#include <QTableView>
#include <gtest/gtest.h>

namespace pos {
namespace {

RowSet candidates()
{
    RowSet goods(Columns({"GoodsId", "code", "BarCode", "Name", "Unit1", "SPrice1"}));
    goods.append({1, "G1", "6901", "牙刷", "支", 3.5});
    goods.append({2, "G2", "6902", "牙膏", "支", 8.0});
    goods.append({3, "G3", "6903", "毛巾", "条", 12.0});
    return goods;
}

TEST(GoodsListTest, ShowsTheCandidatesInItsColumns)
{
    const RowSet goods = candidates();
    TfrmGoodsList dlg(goods);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("选择商品"));
    auto* grid = dlg.findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    const QStringList titles = {"商品代码", "商品条形码", "商品名称", "单位", "单价"};
    const int widths[] = {93, 118, 215, 28, 70};
    ASSERT_EQ(grid->model()->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("G2"));
    EXPECT_EQ(grid->model()->index(1, 2).data().toString(), QStringLiteral("牙膏"));
    EXPECT_EQ(grid->model()->index(2, 4).data().toString(), QStringLiteral("12"));
}

TEST(GoodsListTest, EnterAndEscBothLeaveWithTheRowUnderTheCursor)
{
    const RowSet goods = candidates();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
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

}  // namespace
}  // namespace pos
