#include "db/local_schema.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

constexpr const char* kKey = "test-key";

std::int64_t userVersion(SqliteDatabase& db) { return db.query("pragma user_version").row(0).at(0).toInt(); }

TEST(LocalSchema, NewFileGetsTablesKeyMapAndTheCurrentVersion)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    migrateLocalSchema(db);
    EXPECT_EQ(userVersion(db), localSchemaVersion());
    EXPECT_GT(db.query("select count(*) as n from PosHelp").first("n").toInt(), 0);
    migrateLocalSchema(db);  // a second start changes nothing
    EXPECT_EQ(userVersion(db), localSchemaVersion());
}

// A terminal updated while offline bills wait: its file predates the version.
TEST(LocalSchema, FileWithoutVersionKeepsItsWaitingBills)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    migrateLocalSchema(db);
    db.execute("insert into PosBill(BillNo,StoreId,OperatorId) values('07202403150001',2,3)");
    db.execute("delete from PosHelp where SysKey='4/'");
    db.executeScript("pragma user_version = 0");

    migrateLocalSchema(db);
    EXPECT_EQ(userVersion(db), localSchemaVersion());
    EXPECT_EQ(db.query("select count(*) as n from PosBill").first("n").toInt(), 1);
    EXPECT_EQ(db.query("select count(*) as n from PosHelp where SysKey='4/'").first("n").toInt(), 0)
        << "a key map the shop changed is not reset";
}

TEST(LocalSchema, FileOfANewerProgramIsRefused)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    db.executeScript("pragma user_version = " + std::to_string(localSchemaVersion() + 1));
    EXPECT_THROW(migrateLocalSchema(db), DbError);
}

}  // namespace
}  // namespace pos
