#include "db/local_schema.h"
#include "db/password_hash.h"
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

// A committed offline bill must survive a power cut: the log is synced on every commit.
TEST(LocalSchema, FileIsWrittenThroughTheLogWithFullSync)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    EXPECT_EQ(db.query("pragma journal_mode").row(0).at(0).toString(), "wal");
    EXPECT_EQ(db.query("pragma synchronous").row(0).at(0).toInt(), 2) << "2 is FULL";
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

// A file of the first version holds the passwords as the back office sent them and
// refuses a repeated operator code.
TEST(LocalSchema, FirstVersionFileGetsPasswordHashesAndRepeatableCodes)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    migrateLocalSchema(db);
    db.executeScript("drop index if exists ix_posoperator_code;"
                     "create unique index ux_posoperator_code on PosOperator (Code);"
                     "insert into PosOperator(OperatorId,Code,Password) values(1,'1001','111'),(2,'9001',''),"
                     "(3,'1003',null);"
                     "pragma user_version = 1");

    migrateLocalSchema(db);
    EXPECT_EQ(userVersion(db), localSchemaVersion());
    RowSet ops = db.query("select OperatorId, Password from PosOperator order by OperatorId");
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_TRUE(passwordMatches(ops.at(0, "Password").toString(), "111")) << ops.at(0, "Password").toString();
    EXPECT_TRUE(passwordMatches(ops.at(1, "Password").toString(), ""));
    EXPECT_TRUE(ops.at(2, "Password").isNull());
    EXPECT_EQ(db.query("select count(*) as n from PosOperator where Password in ('111','')").first("n").toInt(), 0);

    db.execute("insert into PosOperator(OperatorId,Code) values(4,'1001')");
    migrateLocalSchema(db);
    EXPECT_TRUE(passwordMatches(db.query("select Password from PosOperator where OperatorId=1").first("Password")
                                    .toString(), "111")) << "a hash is never hashed again";
}

// A file of the fourth version holds member-card passwords as the back office sent them.
TEST(LocalSchema, FourthVersionFileGetsCardPasswordHashes)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("POS.mdb"), kKey));
    migrateLocalSchema(db);
    // The card table as that version left it, in short: no row versions.
    db.executeScript("drop table B_VIPCards; create table B_VIPCards (CardNo TEXT PRIMARY KEY, Password TEXT);"
                     "insert into B_VIPCards(CardNo,Password) values('S1','123456'),('S2',''),('S3',null);"
                     "pragma user_version = 4");

    migrateLocalSchema(db);
    EXPECT_EQ(userVersion(db), localSchemaVersion());
    RowSet cards = db.query("select CardNo, Password from B_VIPCards order by CardNo");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_TRUE(passwordMatches(cards.at(0, "Password").toString(), "123456")) << cards.at(0, "Password").toString();
    EXPECT_FALSE(passwordMatches(cards.at(0, "Password").toString(), ""));
    EXPECT_TRUE(passwordMatches(cards.at(1, "Password").toString(), ""));
    EXPECT_TRUE(cards.at(2, "Password").isNull());
    EXPECT_TRUE(db.tableColumns("B_VIPCards").find("ServerRowVersion")) << "kept beside the hash for the download";
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
