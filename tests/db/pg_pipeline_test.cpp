#include "db/pg_pipeline.h"

#include "db/pg_params.h"

#include "support/back_office.h"

#include <gtest/gtest.h>

#include <optional>

namespace pos {
namespace {

class PgPipelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.open(office.login(), office.accountSetName()));
        db.execute("create table Piped(Id integer primary key, Note text, Amount numeric(19,4))");
    }

    std::string rows()
    {
        RowSet r = office.accountSet().query("select Id, Note, Amount from Piped order by Id");
        std::string out;
        for (std::size_t i = 0; i < r.size(); ++i)
            out += r.at(i, "Id").toString() + ":" + (r.at(i, "Note").isNull() ? "<null>" : r.at(i, "Note").toString())
                + ":" + r.at(i, "Amount").toString() + ";";
        return out;
    }

    test::BackOffice office;
    PgDatabase db;
};

const char* const kInsert = "insert into Piped(Id, Note, Amount) values($1, $2, $3)";
const char* const kRaise = "update Piped set Amount = Amount + $1 where Id = $2";

TEST_F(PgPipelineTest, RunsEveryStatementInOrderWithItsOwnValues)
{
    // Runs of the same text share one parse; a text coming back after another is parsed again.
    runPipelined(db, {{kInsert, {1, "it's, (1)", 2.5}},
                      {kInsert, {2, Value(), "3.10"}},
                      {kRaise, {10, 1}},
                      {kInsert, {3, "三", 0}},
                      {kRaise, {1, 3}},
                      {"select $1::int + 1", {4}}});
    EXPECT_EQ(rows(), "1:it's, (1):12.5;2:<null>:3.1;3:三:1;");
}

TEST_F(PgPipelineTest, FirstErrorIsRaisedAndNothingOfTheBatchStays)
{
    for (bool ownTransaction : {true, false}) {
        SCOPED_TRACE(ownTransaction ? "inside a transaction" : "implicit transaction");
        db.execute("delete from Piped");
        db.execute("insert into Piped(Id, Amount) values(9, 0)");
        const std::vector<SqlStatement> batch = {
            {kInsert, {1, "a", 1}}, {kInsert, {9, "taken", 1}}, {kRaise, {5, 9}}, {"select 1/0", {}}};
        try {
            std::optional<Transaction> transaction;
            if (ownTransaction)
                transaction.emplace(db);
            runPipelined(db, batch);
            ADD_FAILURE() << "no error raised";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find("piped_pkey"), std::string::npos) << e.what();
            EXPECT_FALSE(e.isNetworkFailure());
        }
        EXPECT_EQ(rows(), "9:<null>:0;");
        // The connection is back to one statement at a time.
        EXPECT_EQ(db.query("select 2 as two").first("two").toInt(), 2);
    }
}

TEST_F(PgPipelineTest, LostConnectionIsANetworkFailure)
{
    Transaction transaction(db);
    try {
        runPipelined(db, {{kInsert, {1, "a", 1}}, {"select pg_terminate_backend(pg_backend_pid())", {}},
                          {kInsert, {2, "b", 1}}});
        ADD_FAILURE() << "no error raised";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isNetworkFailure()) << e.what();
    }
    EXPECT_EQ(rows(), "");
}

// Several transactions in one pipeline: each committed on its own, a failing one rolled
// back alone (its answer says why), the connection usable after, and the statements the
// pipeline prepared gone with it.
TEST_F(PgPipelineTest, TransactionsCommitAndFailEachOnTheirOwn)
{
    db.execute("insert into Piped(Id, Amount) values(9, 0)");
    const PipelinedTransactions sent = runTransactionsPipelined(
        db, {{{kInsert, {1, "a", 1}}, {kRaise, {1, 1}}},
             {{kInsert, {2, "b", 1}}, {kInsert, {9, "taken", 1}}, {kRaise, {5, 9}}},
             {{kInsert, {3, "c", 1}}, {kRaise, {2, 9}}}});
    ASSERT_EQ(sent.answers.size(), 3u);
    EXPECT_EQ(sent.answers[0].outcome, TransactionOutcome::Committed);
    EXPECT_EQ(sent.answers[1].outcome, TransactionOutcome::Failed);
    EXPECT_NE(sent.answers[1].error.find("piped_pkey"), std::string::npos) << sent.answers[1].error;
    EXPECT_EQ(sent.answers[2].outcome, TransactionOutcome::Committed);
    EXPECT_TRUE(sent.lostConnection.empty());
    EXPECT_EQ(rows(), "1:a:2;3:c:1;9:<null>:2;");
    EXPECT_EQ(db.query("select count(*) as n from pg_prepared_statements where name like 'pos_pipeline_%'")
                  .first("n").toInt(), 0);
    EXPECT_EQ(db.query("select 2 as two").first("two").toInt(), 2);
}

// The connection lost part-way: what was answered before stays answered, the rest is
// reported unanswered with the reason, and nothing is raised.
TEST_F(PgPipelineTest, TransactionsAfterALostConnectionAreUnanswered)
{
    const PipelinedTransactions sent = runTransactionsPipelined(
        db, {{{kInsert, {1, "a", 1}}},
             {{"select pg_terminate_backend(pg_backend_pid())", {}}},
             {{kInsert, {2, "b", 1}}}});
    ASSERT_EQ(sent.answers.size(), 3u);
    EXPECT_EQ(sent.answers[0].outcome, TransactionOutcome::Committed);
    EXPECT_EQ(sent.answers[1].outcome, TransactionOutcome::Unanswered);
    EXPECT_EQ(sent.answers[2].outcome, TransactionOutcome::Unanswered);
    EXPECT_FALSE(sent.lostConnection.empty());
    EXPECT_EQ(rows(), "1:a:1;");
}

// Texts bound as one array value arrive as they are, whatever they hold.
TEST_F(PgPipelineTest, TextArrayCarriesEveryText)
{
    const std::vector<std::string> texts = {"07202403150001", "a\"b", "c\\d", "{e,f}", " g ", "", "NULL", "三"};
    RowSet back = db.query("select t from unnest($1::varchar[]) with ordinality as u(t, n) order by n",
                           {pgTextArray(texts)});
    ASSERT_EQ(back.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_FALSE(back.at(i, "t").isNull()) << i;
        EXPECT_EQ(back.at(i, "t").toString(), texts[i]);
    }
}

}  // namespace
}  // namespace pos
