#include "queries/ui/frm_browse_bill.h"
#include "queries/ui/frm_query_stock.h"
#include "queries/stock_query.h"

#include "peripherals/device_error.h"
#include "support/recording_report_engine.h"
#include "support/terminal_fixture.h"
#include "support/text_receipt_printer.h"
#include "support/ui/window_errors_to.h"
#include "support/ui/window_keys.h"
#include "widgets/sortable_grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pos {
namespace {

using test::control;
using test::press;
using Texts = std::vector<std::string>;

Texts column(const SortableGrid* grid, const char* name)
{
    Texts texts;
    const RowSet& rows = grid->shownRows();
    for (std::size_t r = 0; r < rows.size(); ++r)
        texts.push_back(rows.at(r, name).toString());
    return texts;
}

void setField(QWidget& window, const char* name, const QString& text)
{
    QLineEdit* edit = control<QLineEdit>(window, name);
    edit->setFocus();
    edit->setText(text);
}

// Two bills of 2005-03-17 on the local file, the terminal offline at 10:20 that day.
class BrowseBillWindowTest : public ::testing::Test {
protected:
    BrowseBillWindowTest()
    {
        f.state.NetMode = Offline;
        f.clock.set({2005, 3, 17, 10, 20, 42});
        Database& db = f.side(Offline);
        db.execute("insert into PosOperator(OperatorId,Code,Name) values(3,'1003','张三'),(4,'1004','李四')");
        db.execute("insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1,SPrice1) values(9,'G9','690009','牙刷','支',4)");
        db.execute("insert into PosBill(BillNo,BillDate,OperatorId,Amount) values"
                   "('B1','2005-03-17 09:00:00',3,8),('B2','2005-03-17 10:15:30',4,12),('B3','2005-03-17 10:21:00',3,4)");
        db.execute("insert into PosDetail(BillNo,OrderId,GoodsId,Quantity,Price,Discount,Amount,SPrice1) values"
                   "('B1',1,9,2,4,100,8,4),('B2',1,9,3,4,100,12,4)");
    }

    test::TerminalFixture f;
    test::RecordingReportEngine report;
};

TEST_F(BrowseBillWindowTest, OpensOnTodayUpToNowAndQueriesOnEnter)
{
    TfrmBrowseBill dlg({f.dm, f.state}, f.clock, {f.settings, f.person, ReceiptHeader::of(f.state), f.dir.path()}, report);
    ASSERT_TRUE(test::showActive(dlg));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("浏览POS单"));
    EXPECT_EQ(control<QLineEdit>(dlg, "edtStartDate")->text(), QStringLiteral("2005-03-17 00:00"));
    EXPECT_EQ(control<QLineEdit>(dlg, "edtEndDate")->text(), QStringLiteral("2005-03-17 10:20"));
    const auto* master = control<SortableGrid>(dlg, "grdMaster");
    const auto* detail = control<SortableGrid>(dlg, "grdDetail");
    EXPECT_EQ(column(master, "BillNo"), (Texts{"B1", "B2"}));
    EXPECT_EQ(column(master, "OperatorName"), (Texts{"张三", "李四"}));
    EXPECT_EQ(column(detail, "Quantity"), (Texts{"2"}));

    setField(dlg, "edtStartDate", QStringLiteral("2005-03-17 10:15"));
    setField(dlg, "edtEndDate", QStringLiteral("2005-03-17 10:15"));
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(column(master, "BillNo"), (Texts{"B2"}));
    EXPECT_EQ(column(detail, "Quantity"), (Texts{"3"}));

    // A window without bills keeps the lines shown before.
    setField(dlg, "edtStartDate", QStringLiteral("2005-03-18 00:00"));
    press(dlg, Qt::Key_Return);
    EXPECT_TRUE(master->shownRows().empty());
    EXPECT_EQ(column(detail, "Quantity"), (Texts{"3"}));

    setField(dlg, "edtEndDate", QStringLiteral("2005-02-30 00:00"));
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(f.person.messageTexts(), Texts{"输入的日期格式不对！"});
    EXPECT_EQ(dlg.focusWidget()->objectName(), QStringLiteral("edtEndDate"));

    press(dlg, Qt::Key_F4);
    EXPECT_EQ(dlg.focusWidget()->objectName(), QStringLiteral("grdMaster"));
    press(dlg, Qt::Key_F5);
    EXPECT_EQ(dlg.focusWidget()->objectName(), QStringLiteral("grdDetail"));
    press(dlg, Qt::Key_F8);
    EXPECT_EQ(dlg.focusWidget()->objectName(), QStringLiteral("edtStartDate"));
}

TEST_F(BrowseBillWindowTest, F9ReprintsAndAFailedPrintLeavesTheRegistersValues)
{
    f.settings.setOption("Printer", "有");
    f.settings.setOption("BillNum", "1");
    test::printReceiptsAsTextTo(f.settings, f.dir.file("missing/lpt2"));
    f.state.OperatorCode = "9999";
    std::vector<std::string> reported;
    test::WindowErrorsTo errors([&](const std::string& operation, const std::exception& e) {
        EXPECT_NE(dynamic_cast<const DeviceError*>(&e), nullptr);
        reported.push_back(operation);
    });
    TfrmBrowseBill dlg({f.dm, f.state}, f.clock, {f.settings, f.person, ReceiptHeader::of(f.state), f.dir.path()}, report);
    ASSERT_TRUE(test::showActive(dlg));
    press(dlg, Qt::Key_F9);
    EXPECT_EQ(reported, Texts{"重打小票"});
    EXPECT_EQ(f.state.OperatorCode, "9999");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(BrowseBillWindowTest, AfterAFailedLineQueryNoLinesAreShownOrReprinted)
{
    f.settings.setOption("Printer", "有");
    f.settings.setOption("BillNum", "1");
    f.settings.setOption("PrintMode", "整张快速打印");
    f.settings.setOption("PaperSize", "58mm");
    f.settings.setOption("PrintPort", "LPT2");
    const std::string printer = f.dir.file("lpt2");
    f.settings.ini().write(kPortsSection, "LPT2", printer);
    Texts reported;
    test::WindowErrorsTo errors([&](const std::string& operation, const std::exception&) {
        reported.push_back(operation);
    });
    TfrmBrowseBill dlg({f.dm, f.state}, f.clock, {f.settings, f.person, ReceiptHeader::of(f.state), f.dir.path()}, report);
    ASSERT_TRUE(test::showActive(dlg));
    auto* master = control<SortableGrid>(dlg, "grdMaster");
    const auto* detail = control<SortableGrid>(dlg, "grdDetail");
    ASSERT_EQ(column(detail, "Quantity"), (Texts{"2"}));

    f.side(Offline).execute("alter table PosDetail rename to PosDetailGone");
    master->setCurrentIndex(master->model()->index(1, 0));
    EXPECT_EQ(reported, Texts{"浏览POS单"});
    EXPECT_TRUE(detail->shownRows().empty()) << "no lines of B1 under B2";
    press(dlg, Qt::Key_F9);
    EXPECT_FALSE(std::filesystem::exists(printer)) << "nothing printed for B2";

    // Lines read again: F9 prints that bill.
    f.side(Offline).execute("alter table PosDetailGone rename to PosDetail");
    master->setCurrentIndex(master->model()->index(0, 0));
    EXPECT_EQ(column(detail, "Quantity"), (Texts{"2"}));
    press(dlg, Qt::Key_F9);
    EXPECT_TRUE(std::filesystem::exists(printer));
    EXPECT_EQ(reported, Texts{"浏览POS单"});
}

// Stock of two stores in the back office, the selling store 二号店, online.
class QueryStockWindowTest : public ::testing::Test {
protected:
    QueryStockWindowTest()
    {
        Database& db = f.side(Online);
        db.execute("insert into B_Store(StoreId,Code,Name) values(1,'S1','一号店'),(2,'S2','二号店')");
        db.execute("insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1) values(1,'G1','6901','牙刷','支'),"
                   "(2,'G2','6902','毛巾','条')");
        db.execute("insert into D_Stock(StoreId,GoodsId,Quantity) values(1,1,5),(2,1,7),(2,2,3)");
        f.state.StoreName = "二号店";
    }

    test::TerminalFixture f;
};

TEST_F(QueryStockWindowTest, QueriesByGoodsAndStoreAndSortsByMarkedTitles)
{
    TfrmQueryStock dlg({f.dm, f.state}, f.person, f.state.StoreName);
    ASSERT_TRUE(test::showActive(dlg));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("查库存"));
    auto* store = control<QComboBox>(dlg, "cmbStore");
    auto* grid = control<SortableGrid>(dlg, "grdList");
    EXPECT_EQ(store->currentText(), QStringLiteral("二号店"));

    setField(dlg, "edtCode", QString());
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(column(grid, "GoodsName"), (Texts{"毛巾", "牙刷"}));
    EXPECT_EQ(dlg.focusWidget(), grid);

    setField(dlg, "edtCode", QStringLiteral("6901"));
    store->setEditText(QString());
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(column(grid, "StoreName"), (Texts{"一号店", "二号店"}));
    EXPECT_EQ(column(grid, "BarCode"), (Texts{"6901", "6901"}));

    grid->horizontalHeader()->sectionClicked(4);  // 库存数量 upward
    grid->horizontalHeader()->sectionClicked(4);  // downward
    EXPECT_EQ(column(grid, "Quantity"), (Texts{"7", "5"}));
    grid->horizontalHeader()->sectionClicked(1);  // 条形码 cannot be sorted
    EXPECT_EQ(grid->marks().size(), 1u);

    setField(dlg, "edtCode", QStringLiteral("nothing"));
    press(dlg, Qt::Key_Return);
    store->setFocus();
    setField(dlg, "edtCode", QString());
    store->setEditText(QStringLiteral("三号店"));
    store->setFocus();
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(f.person.messageTexts(), (Texts{"没有找到该货品！", kStoreNotInList}));
    EXPECT_EQ(column(grid, "StoreName"), (Texts{"二号店", "一号店"})) << "the list unchanged";
}

TEST_F(QueryStockWindowTest, OfflineTheQueryIsRefusedAndTheWindowCloses)
{
    f.state.NetMode = Offline;
    TfrmQueryStock dlg({f.dm, f.state}, f.person, f.state.StoreName);
    ASSERT_TRUE(test::showActive(dlg));
    press(dlg, Qt::Key_Return);
    EXPECT_EQ(f.person.messageTexts(), Texts{"在断网销售模式不能查看库存！"});
    EXPECT_FALSE(dlg.isVisible());
}

}  // namespace
}  // namespace pos
