#include "db/pg_database.h"

#include "support/back_office.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

std::int64_t idleInTransactionMs(PgDatabase& db)
{
    return db.query("select setting::bigint as ms from pg_settings where name='idle_in_transaction_session_timeout'")
        .first("ms")
        .toInt();
}

// A terminal whose transaction is left open (a COMMIT lost in transit, a process that
// hangs) must not hold its locks for as long as the server keeps the dead peer.
TEST(PgSession, EveryConnectionLimitsTheTimeIdleInATransaction)
{
    test::BackOffice office;
    PgDatabase db;
    ASSERT_TRUE(db.open(office.login(), office.accountSetName())) << db.lastError();
    EXPECT_EQ(idleInTransactionMs(db), kIdleInTransactionTimeout.count());

    db.execute("set idle_in_transaction_session_timeout=0");
    ASSERT_TRUE(db.reopen()) << db.lastError();
    EXPECT_EQ(idleInTransactionMs(db), kIdleInTransactionTimeout.count()) << "set again on the new session";
}

TEST(PgSession, SessionIdleInATransactionIsEndedAndItsLocksFreed)
{
    test::BackOffice office;
    office.accountSet().execute("insert into D_Stock(StoreId,GoodsId,Quantity) values(2,101,10)");
    PgDatabase stuck;
    stuck.setTimeouts({.idleInTransaction = std::chrono::milliseconds(100)});
    ASSERT_TRUE(stuck.open(office.login(), office.accountSetName())) << stuck.lastError();
    stuck.begin();
    stuck.execute("update D_Stock set Quantity=Quantity-1 where StoreId=2 and GoodsId=101");

    // Waits on the row lock until the server ends the idle session, then goes through.
    EXPECT_EQ(office.accountSet().execute("update D_Stock set Quantity=Quantity-3 where StoreId=2 and GoodsId=101"),
              1);

    EXPECT_DOUBLE_EQ(
        office.accountSet().query("select Quantity from D_Stock where GoodsId=101").first("Quantity").toDouble(), 7)
        << "the stuck session's change is rolled back";
    EXPECT_THROW(stuck.commit(), DbError);
}

}  // namespace
}  // namespace pos
