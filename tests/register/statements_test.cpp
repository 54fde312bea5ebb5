// Every statement of every subsystem compiles on the engine it is written for, against
// the real schemas of the back office and of the local file.
#include "config/config_statements.h"
#include "register/register_statements.h"
#include "register/statement_preparation.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

TEST(Statements, EverySetPreparesOnItsEngines)
{
    test::TerminalFixture fx;
    EXPECT_NO_THROW(fx.office.registry().statements<RegistryStatements>().prepare());
    EXPECT_NO_THROW(prepareServerStatements(fx.dm.conServer()));
    EXPECT_NO_THROW(prepareLocalStatements(fx.dm.conClient()));
}

TEST(Statements, AStatementThatDoesNotCompileFailsItsSet)
{
    struct Broken : StatementSet {
        explicit Broken(Database& db) : StatementSet(db), good(*this, "select 1"), bad(*this, "select from nowhere")
        {
        }
        Statement good;
        Statement bad;
    };
    test::TerminalFixture fx;
    EXPECT_THROW(fx.dm.conClient().statements<Broken>().prepare(), DbError);
    EXPECT_THROW(fx.dm.conServer().statements<Broken>().prepare(), DbError);
}

TEST(Statements, AReopenedServerConnectionPreparesAgain)
{
    test::TerminalFixture fx;
    auto& sql = fx.dm.conServer().statements<ServerStatements>();
    sql.prepare();
    ASSERT_TRUE(fx.dm.conServer().reopen());
    EXPECT_EQ(sql.serverTime.query().size(), 1u);
}

TEST(Statements, AStatementOfTheOtherEngineIsRefused)
{
    test::TerminalFixture fx;
    auto& local = fx.dm.conClient().statements<RegisterStatements>();
    EXPECT_NO_THROW(local.prepare());
    EXPECT_THROW(local.serverOptions.query(), DbError);
}

}  // namespace
}  // namespace pos
