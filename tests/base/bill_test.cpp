#include "base/bill.h"
#include "config/data_module.h"
#include "config/settings.h"
#include "support/fixed_clock.h"
#include "support/memory_bill.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

namespace pos {
namespace {

// The local file POS.mdb with its tables, as start-up opens it; no server needed.
class BillTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dm_.openLocalDatabase()); }

    Database& local() { return dm_.conClient(); }

    // The table rebuilt without the column (the local file's SQLite has no drop column).
    void dropColumn(const std::string& table, const std::string& column)
    {
        const RowSet shape = local().query("select * from " + table + " where 1=2");
        std::string kept;
        for (const std::string& name : shape.columns().names())
            if (!sameName(name, column))
                kept += (kept.empty() ? "" : ",") + name;
        local().execute("create table Rebuilt as select " + kept + " from " + table);
        local().execute("drop table " + table);
        local().execute("alter table Rebuilt rename to " + table);
    }

    // The text of the error Bill::open stops with; empty when it opens.
    std::string openError()
    {
        try {
            Bill::open(local());
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }

    test::TempDir dir_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    test::FixedClock clock_;
    TDM dm_{settings_, person_, clock_, dir_.file("POS.mdb"), ""};
};

TEST_F(BillTest, OpensEmptyOverTheLocalTables)
{
    const Bill bill = Bill::open(local());
    EXPECT_FALSE(bill.hasMaster());
    EXPECT_TRUE(bill.detail.empty());
    EXPECT_EQ(bill.master.columns().size(), 19u);
    EXPECT_EQ(bill.detail.columns().size(), 13u);  // PosDetail and the goods' Code, BarCode, Name, Unit1
}

TEST_F(BillTest, AccessorsWriteAndReadTheColumnOfTheirName)
{
    Bill bill = Bill::open(local());
    bill.master.append();
    bill.realAmount() = 12.5;
    bill.cardNo() = "A01";
    EXPECT_EQ(bill.master.at(0, "RealAmount"), Value(12.5));
    EXPECT_EQ(bill.master.at(0, "CardNo"), Value("A01"));
    bill.master.at(0, "BillNo") = "07202403150001";
    EXPECT_EQ(bill.billNo().toString(), "07202403150001");
    EXPECT_TRUE(bill.exeManId().isNull());

    bill.detail.append();
    const std::size_t second = bill.detail.append();
    bill.line(second).quantity() = 3.0;
    bill.line(second).name() = "毛巾";
    EXPECT_EQ(bill.detail.at(second, "Quantity"), Value(3.0));
    EXPECT_EQ(bill.detail.at(second, "Name"), Value("毛巾"));
    EXPECT_TRUE(bill.detail.at(0, "Quantity").isNull()) << "the other line is untouched";
    bill.detail.at(second, "SPrice1") = 4.5;
    EXPECT_EQ(std::as_const(bill).line(second).sPrice1(), Value(4.5));
}

// Every accessor against the column of its name, each given a value of its own.
TEST_F(BillTest, EveryAccessorLiesOverItsOwnColumn)
{
    Bill bill = Bill::open(local());
    bill.master.append();
    const BillLine line = bill.line(bill.detail.append());
    int n = 0;
#define POS_SET(field, ...) bill.field() = ++n;
    POS_BILL_COLUMNS(POS_SET)
#undef POS_SET
#define POS_SET_LINE(field, ...) line.field() = ++n;
    POS_BILL_LINE_COLUMNS(POS_SET_LINE)
#undef POS_SET_LINE
    n = 0;
#define POS_EXPECT(field, Column) EXPECT_EQ(bill.master.at(0, #Column), Value(++n)) << #field;
    POS_BILL_COLUMNS(POS_EXPECT)
#undef POS_EXPECT
#define POS_EXPECT_LINE(field, Column, table) EXPECT_EQ(bill.detail.at(0, #Column), Value(++n)) << #field;
    POS_BILL_LINE_COLUMNS(POS_EXPECT_LINE)
#undef POS_EXPECT_LINE
}

TEST_F(BillTest, ColumnsAreFoundWithoutRegardToCaseOrOrder)
{
    RowSet master(Columns({"memo", "REALAMOUNT", "Extra", "BillNo", "BillDate", "StoreId", "OperatorId", "ExeManId",
                           "ClassId", "MachineId", "InsiderCode", "Discount", "Amount", "CashAmount", "CardAmount1",
                           "CardAmount2", "CardAmount3", "ChangeAmount", "CardNo", "IsCloseOff"}));
    RowSet detail(Columns({"unit1", "Name", "BarCode", "Code", "Memo", "SPrice1", "Amount", "Discount", "Price",
                           "quantity", "GoodsId", "OrderId", "BillNo"}));
    Bill bill = Bill::of(std::move(master), std::move(detail));
    bill.master.append();
    bill.realAmount() = 9.0;
    bill.memo() = "免单";
    EXPECT_EQ(bill.master.row(0)[0], Value("免单"));
    EXPECT_EQ(bill.master.row(0)[1], Value(9.0));
    EXPECT_TRUE(bill.master.row(0)[2].isNull());
    bill.detail.append();
    bill.line(0).quantity() = 2.0;
    bill.line(0).unit1() = "个";
    EXPECT_EQ(bill.detail.row(0)[9], Value(2.0));
    EXPECT_EQ(bill.detail.row(0)[0], Value("个"));
}

TEST_F(BillTest, ACopyKeepsItsColumnsAndItsOwnValues)
{
    Bill original = test::memoryBill();
    original.master.append();
    original.billNo() = "A";
    Bill copy = original;
    copy.billNo() = "B";
    EXPECT_EQ(original.billNo().toString(), "A");
    EXPECT_EQ(copy.billNo().toString(), "B");
}

struct MissingColumn {
    const char* name;
    const char* table;
    const char* column;
};

void PrintTo(const MissingColumn& c, std::ostream* os) { *os << c.table << "." << c.column; }

class BillMissingColumnTest : public BillTest, public ::testing::WithParamInterface<MissingColumn> {};

TEST_P(BillMissingColumnTest, OpeningStopsWithTheTableAndTheColumn)
{
    const MissingColumn& c = GetParam();
    dropColumn(c.table, c.column);
    const std::string error = openError();
    EXPECT_NE(error.find(c.table), std::string::npos) << error;
    EXPECT_NE(error.find(c.column), std::string::npos) << error;
    EXPECT_THROW(Bill::open(local()), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(EachTable, BillMissingColumnTest,
                         ::testing::Values(MissingColumn{"BillRealAmount", "PosBill", "RealAmount"},
                                           MissingColumn{"BillIsCloseOff", "PosBill", "IsCloseOff"},
                                           MissingColumn{"LineQuantity", "PosDetail", "Quantity"},
                                           MissingColumn{"GoodsUnit1", "B_Goods", "Unit1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BillOf, ARecordWithoutAColumnIsRefusedWithItsName)
{
    RowSet detail = test::memoryBill().detail;
    try {
        Bill::of(RowSet(Columns({"BillNo", "Amount"})), detail);
        FAIL() << "a bill without most of its columns opened";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "the local table PosBill has no column BillDate, which the bill needs");
    }
}

}  // namespace
}  // namespace pos
