#include "storage/ui/frm_select_halt_bill.h"
#include "support/ui/window_keys.h"

#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pos {
namespace {

RowSet holdNumbers(const std::vector<std::string>& numbers)
{
    RowSet rows(Columns({"BillNo"}));
    for (const std::string& number : numbers)
        rows.append({number});
    return rows;
}

TEST(SelectHaltBillTest, ListsTheHoldNumbersInAFixedDialog)
{
    const RowSet held = holdNumbers({"0001", "0002"});
    TfrmSelectHaltBill dlg(held);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("选择挂单"));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    auto* grid = test::control<QTableView>(dlg, "DBGrid1");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->model()->columnCount(), 1);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("顺序号"));
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("0002"));
    EXPECT_EQ(test::control<QPushButton>(dlg, "btnOK")->text(), QStringLiteral("确定"));
    EXPECT_EQ(test::control<QPushButton>(dlg, "btnCancel")->text(), QStringLiteral("取消"));
}

struct Leaving {
    const char* name;
    std::vector<std::string> held;
    Qt::Key key;         // pressed in the grid after one Down, unless a button is named
    const char* button;  // clicked after one Down
    std::optional<std::string> chosen;
};

void PrintTo(const Leaving& c, std::ostream* os) { *os << c.name; }

class SelectHaltBillLeaving : public ::testing::TestWithParam<Leaving> {};

TEST_P(SelectHaltBillLeaving, TakesTheCurrentRowOnlyWhenConfirmed)
{
    const Leaving& c = GetParam();
    const RowSet held = holdNumbers(c.held);
    TfrmSelectHaltBill dlg(held);
    ASSERT_TRUE(test::showActive(dlg));
    test::press(dlg, Qt::Key_Down);
    if (c.button)
        test::control<QPushButton>(dlg, c.button)->click();
    else
        test::press(dlg, c.key);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.chosen(), c.chosen);
}

INSTANTIATE_TEST_SUITE_P(
    SelectHaltBill, SelectHaltBillLeaving,
    ::testing::Values(Leaving{"EnterInTheGrid", {"0001", "0002", "0003"}, Qt::Key_Return, nullptr, "0002"},
                      Leaving{"OK", {"0001", "0002", "0003"}, Qt::Key_unknown, "btnOK", "0002"},
                      Leaving{"OKOnAnEmptyList", {}, Qt::Key_unknown, "btnOK", std::nullopt},
                      Leaving{"Cancel", {"0001", "0002"}, Qt::Key_unknown, "btnCancel", std::nullopt},
                      Leaving{"Esc", {"0001", "0002"}, Qt::Key_Escape, nullptr, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
