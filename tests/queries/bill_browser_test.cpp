#include "queries/bill_browser.h"

#include "base/gbk.h"
#include "peripherals/device_error.h"
#include "reports/template_file.h"
#include "support/member_cards.h"
#include "support/recording_report_engine.h"
#include "support/temp_dir.h"
#include "support/terminal_fixture.h"
#include "support/text_receipt_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pos {
namespace {

// Bills of two cashiers on 2005-03-17 on the database of the working mode under test.
class BillBrowserTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    BillBrowserTest()
    {
        f.state.NetMode = GetParam();
        Database& db = f.side(GetParam());
        db.execute("insert into PosOperator(OperatorId,Code,Name) values(3,'1003','张三'),(4,'1004','李四')");
        db.execute("insert into B_Employ(EmployId,Code,Name) values(31,'E31','王五')");
        db.execute("insert into B_Store(StoreId,Code,Name) values(2,'S2','二号店')");
        db.execute("insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1,SPrice1) values(9,'G9','690009','牙刷','支',4)");
        test::addMemberCard(db, {.cardNo = "V1", .holderName = "赵六", .usedCount = 7});
        addBill("B1", "2005-03-16 23:59:59", 3, Value(), "");
        addBill("B2", "2005-03-17 00:00:00", 3, 31, "V1");
        addBill("B3", "2005-03-17 10:15:00", 4, Value(), "GONE");
        addBill("B4", "2005-03-17 10:15:59", 3, Value(), "");
        addBill("B5", "2005-03-17 10:16:00", 4, Value(), "");
        addBill("B6", "2005-03-17 23:59:59", 3, Value(), "");
        addBill("B7", "2005-03-18 00:00:00", 3, Value(), "");
        db.execute("insert into PosDetail(BillNo,OrderId,GoodsId,Quantity,Price,Discount,Amount,SPrice1) values"
                   "('B2',1,9,2,4,90,7.2,4),('B2',2,9,3,4,100,12,4)");
    }

    void addBill(const char* no, const char* date, int op, Value exeMan, const char* card)
    {
        f.side(GetParam()).execute(
            "insert into PosBill(BillNo,BillDate,StoreId,OperatorId,ExeManId,MachineId,InsiderCode,Amount,RealAmount) "
            "values($1,$2,2,$3,$4,7,$5,10,10)",
            {no, date, op, exeMan, card});
    }

    BillBrowserStatements& sql() { return f.terminal.db().statements<BillBrowserStatements>(); }
    // Receipts of the terminal signed on now: cashier 9999 of store S1.
    ReceiptContext receipt()
    {
        TPosState now;
        now.OperatorCode = "9999";
        now.OperatorName = "现在的收银员";
        now.StoreCode = "S1";
        return {f.settings, f.person, ReceiptHeader::of(now), f.dir.path()};
    }

    // One copy through POS.frf: `title` over a line per goods.
    void printThroughTemplate(const std::string& title)
    {
        f.settings.setOption("Printer", "有");
        f.settings.setOption("PrintMode", "模板");
        f.settings.setOption("BillNum", "1");
        ReportTemplate receipt;
        ReportText titleText;
        titleText.text = title;
        ReportText line;
        line.text = "[Code] [Quantity] [Amount]";
        receipt.bands = {{BandKind::Title, 0, {titleText}}, {BandKind::Data, 5, {line}}};
        writeTemplateFile(f.dir.file("POS.frf"), receipt);
    }

    std::vector<std::string> billsIn(const std::string& start, const std::string& end)
    {
        const WindowParse parsed = ParseBillWindow(start, end);
        EXPECT_TRUE(parsed.window);
        const RowSet rows = BrowseBills(sql(), *parsed.window);
        std::vector<std::string> numbers;
        for (std::size_t r = 0; r < rows.size(); ++r)
            numbers.push_back(rows.at(r, "BillNo").toString());
        return numbers;
    }

    RowSet billsOfDay() { return BrowseBills(sql(), {"2005-03-17 00:00:00", "2005-03-17 23:59:59"}); }

    std::size_t rowOf(const RowSet& bills, const char* no)
    {
        for (std::size_t r = 0; r < bills.size(); ++r)
            if (bills.at(r, "BillNo").toString() == no)
                return r;
        ADD_FAILURE() << no;
        return 0;
    }

    test::TerminalFixture f;
};

using Numbers = std::vector<std::string>;

TEST_P(BillBrowserTest, WindowsTakeEveryOperatorsBillsWithinTheirBounds)
{
    EXPECT_EQ(billsIn("2005-03-17      ", "2005-03-17      "), (Numbers{"B2", "B3", "B4", "B5", "B6"}));
    EXPECT_EQ(billsIn("2005-03-17 10:15", "2005-03-17 10:15"), (Numbers{"B3", "B4"}));
    EXPECT_EQ(billsIn("2005-03-17 10:16", "2005-03-17 10:14"), Numbers{});
    EXPECT_EQ(billsIn("2005-03-19", "2005-03-20"), Numbers{});
    const RowSet bills = billsOfDay();
    EXPECT_EQ(bills.at(rowOf(bills, "B3"), "OperatorName").toString(), "李四");
    EXPECT_EQ(bills.at(rowOf(bills, "B2"), "ExeManName").toString(), "王五");
    EXPECT_EQ(bills.at(rowOf(bills, "B2"), "StoreName").toString(), "二号店");
}

// The reprinted sale is the old bill's: its salesman, its card (holder and points as the
// server holds them now), the totals of its lines; a card no longer on file prints bare.
TEST_P(BillBrowserTest, ReprintSaleIsTheOldBillsOwn)
{
    const RowSet bills = billsOfDay();
    const std::size_t b2 = rowOf(bills, "B2");
    const Sale sale = ReprintSaleOf(sql(), bills, b2, BrowseBillLines(sql(), "B2"));
    EXPECT_EQ(sale.bill.billNo().toString(), "B2");
    EXPECT_EQ(sale.bill.detail.size(), 2u);
    EXPECT_EQ(sale.ExeManCode, "E31");
    EXPECT_EQ(sale.ExeManName, "王五");
    EXPECT_EQ(sale.member.VIPCardNo, "V1");
    EXPECT_EQ(sale.member.VIPHolderName, "赵六");
    EXPECT_DOUBLE_EQ(sale.member.VIPUsedCount, 7);
    EXPECT_EQ(sale.member.VIPCardKind, MemberCardKind::Unknown);
    EXPECT_DOUBLE_EQ(sale.totals.TotalQty, 5);
    EXPECT_DOUBLE_EQ(sale.totals.DisAmount, 0.8);  // 2×4−7.2 + 3×4−12

    const std::size_t b3 = rowOf(bills, "B3");
    const Sale gone = ReprintSaleOf(sql(), bills, b3, BrowseBillLines(sql(), "B3"));
    EXPECT_EQ(gone.ExeManName, "");
    EXPECT_EQ(gone.member.VIPCardNo, "GONE");
    EXPECT_EQ(gone.member.VIPHolderName, "");
    EXPECT_DOUBLE_EQ(gone.totals.TotalQty, 0);
}

// The receipt names the bill's own cashier, not the one signed on now; the terminal's
// store stays. Without a printer, or without a bill, nothing is printed.
TEST_P(BillBrowserTest, ReprintNamesTheBillsCashierAndPrintsOnlyWithAPrinter)
{
    printThroughTemplate("[单号] [持卡人] [收银员代码] [收银员名称] [仓库代码]");
    const RowSet bills = billsOfDay();
    const std::size_t b2 = rowOf(bills, "B2");
    test::RecordingReportEngine report;

    EXPECT_TRUE(ReprintBill(receipt(), report, sql(), bills, b2, BrowseBillLines(sql(), "B2")));
    ASSERT_EQ(report.printed.size(), 1u);
    EXPECT_EQ(test::placedTexts(report.printed[0]),
              (std::vector<std::string>{"B2 赵六 1003 张三 S1", "G9 2 7.2", "G9 3 12"}));

    test::printReceiptsAsTextTo(f.settings, f.dir.file("missing/lpt2"));
    EXPECT_THROW(ReprintBill(receipt(), report, sql(), bills, b2, BrowseBillLines(sql(), "B2")), DeviceError);

    f.settings.setOption("Printer", "无");
    report.printed.clear();
    EXPECT_FALSE(ReprintBill(receipt(), report, sql(), bills, b2, BrowseBillLines(sql(), "B2")));
    EXPECT_TRUE(report.printed.empty());
    f.settings.setOption("Printer", "有");
    EXPECT_FALSE(ReprintBill(receipt(), report, sql(), RowSet(bills.columns()), 0, RowSet()));
}

// The old bill keeps no card balance or total: a reprint prints none, in either print
// mode, rather than today's.
TEST_P(BillBrowserTest, ReprintLeavesOutTheCardValuesTheOldBillDoesNotHold)
{
    printThroughTemplate("[会员卡号]/[卡内余额]/[累计消费金额]");
    f.settings.setOption("PrintVIPCard", "是");
    const RowSet bills = billsOfDay();
    const std::size_t b2 = rowOf(bills, "B2");
    test::RecordingReportEngine report;

    EXPECT_TRUE(ReprintBill(receipt(), report, sql(), bills, b2, BrowseBillLines(sql(), "B2")));
    ASSERT_EQ(report.printed.size(), 1u);
    EXPECT_EQ(test::placedTexts(report.printed[0]), (std::vector<std::string>{"V1//", "G9 2 7.2", "G9 3 12"}));

    test::printReceiptsAsTextTo(f.settings, f.dir.file("lpt2"));
    EXPECT_TRUE(ReprintBill(receipt(), report, sql(), bills, b2, BrowseBillLines(sql(), "B2")));
    const std::string printed = test::readFile(f.dir.file("lpt2"));
    EXPECT_NE(printed.find(utf8ToGbk("会员卡号:V1")), std::string::npos);
    EXPECT_EQ(printed.find(utf8ToGbk("卡内余额")), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothDatabases, BillBrowserTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Server" : "LocalFile"; });

TEST(BillWindow, FieldsBecomeBoundsOrNameTheBadField)
{
    struct Case {
        const char* start;
        const char* end;
        const char* from;
        const char* to;
        WindowField bad;
    };
    const Case cases[] = {
        {"2005-03-17 10:15", "2005-03-17 10:15", "2005-03-17 10:15:00", "2005-03-17 10:15:59", WindowField::Start},
        {"2005-03-17   :  ", "2005-03-17   :  ", "2005-03-17 00:00:00", "2005-03-17 23:59:59", WindowField::Start},
        {"2004-02-29 00:00", "2005-03-17", "2004-02-29 00:00:00", "2005-03-17 23:59:59", WindowField::Start},
        {"2005-02-29 00:00", "2005-03-17 10:15", nullptr, nullptr, WindowField::Start},
        {"2005-03-17 1 :15", "2005-03-17 10:15", nullptr, nullptr, WindowField::Start},
        {"    -  -  ", "2005-03-17 10:15", nullptr, nullptr, WindowField::Start},
        {"2005-03-17 10:15", "2005-03-17 24:00", nullptr, nullptr, WindowField::End},
        {"2005-03-17 10:15", "2005-13-01 10:00", nullptr, nullptr, WindowField::End},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.end);
        const WindowParse parsed = ParseBillWindow(c.start, c.end);
        if (c.from) {
            ASSERT_TRUE(parsed.window);
            EXPECT_EQ(parsed.window->start, c.from);
            EXPECT_EQ(parsed.window->end, c.to);
        } else {
            EXPECT_FALSE(parsed.window);
            EXPECT_EQ(parsed.badField, c.bad);
        }
    }
    EXPECT_EQ(InitialWindowFields("2005-03-17 10:15:42").start, "2005-03-17 00:00");
    EXPECT_EQ(InitialWindowFields("2005-03-17 10:15:42").end, "2005-03-17 10:15");
}

}  // namespace
}  // namespace pos
