#include "db/row_copy.h"
#include "db/sqlite_database.h"
#include "support/back_office.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// The row copy behaves the same into either database.
class RowCopyTest : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        if (GetParam() == Dialect::Sqlite) {
            ASSERT_TRUE(local_.open(dir_.file("copy.db"), "123456"));
            target_ = &local_;
        } else {
            office_ = std::make_unique<test::BackOffice>();
            target_ = &office_->accountSet();
        }
        target_->execute("create table CopyTarget(BillNo varchar(40), OrderId int, Price numeric(19,4), "
                         "Memo varchar(20) default 'none')");
    }

    RowSet source(std::vector<std::string> columns, std::vector<Row> rows)
    {
        RowSet set{Columns(std::move(columns))};
        for (auto& r : rows)
            set.append(std::move(r));
        return set;
    }

    test::TempDir dir_;
    SqliteDatabase local_;
    std::unique_ptr<test::BackOffice> office_;
    Database* target_ = nullptr;
};

TEST_P(RowCopyTest, CopiesSharedColumnsMatchedWithoutCaseAndKeepsDefaults)
{
    RowSet rows = source({"billno", "ORDERID", "Price", "NotInTarget"},
                         {{"A1", 1, 2.5, "x"}, {"A'1; drop table CopyTarget", 2, Value(), "y"}});
    RowCopy copy(*target_, "CopyTarget", rows.columns());
    copy.insertAll(rows);

    RowSet back = target_->query("select BillNo, OrderId, Price, Memo from CopyTarget order by OrderId");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.at(0, "BillNo").toString(), "A1");
    EXPECT_DOUBLE_EQ(back.at(0, "Price").toDouble(), 2.5);
    EXPECT_EQ(back.at(0, "Memo").toString(), "none");
    EXPECT_EQ(back.at(1, "BillNo").toString(), "A'1; drop table CopyTarget");
    EXPECT_TRUE(back.at(1, "Price").isNull());
}

TEST_P(RowCopyTest, NoSharedColumnGivesEmptyStatement)
{
    RowSet rows = source({"Other"}, {});
    RowCopy copy(*target_, "CopyTarget", rows.columns());
    EXPECT_TRUE(copy.statement().empty());
    copy.insertAll(rows);  // nothing to copy, nothing fails

    rows.append({Value(1)});
    EXPECT_THROW(copy.insertAll(rows), DbError);
}

TEST_P(RowCopyTest, ErrorStopsAtTheFailingRowAndKeepsEarlierRows)
{
    target_->execute("create unique index CopyTargetKey on CopyTarget(BillNo)");
    RowSet rows = source({"BillNo", "OrderId"}, {{"A", 1}, {"A", 2}, {"B", 3}});
    RowCopy copy(*target_, "CopyTarget", rows.columns());
    EXPECT_THROW(copy.insertAll(rows), DbError);
    RowSet back = target_->query("select BillNo from CopyTarget");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back.first("BillNo").toString(), "A");
}

INSTANTIATE_TEST_SUITE_P(BothSides, RowCopyTest, ::testing::Values(Dialect::Sqlite, Dialect::PostgreSql),
                         [](const auto& info) { return info.param == Dialect::Sqlite ? "Local" : "Server"; });

}  // namespace
}  // namespace pos
