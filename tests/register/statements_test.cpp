// Every statement of every subsystem compiles on the engine it is written for, against
// the real schemas of the back office and of the local file.
#include "access/access_statements.h"
#include "config/config_statements.h"
#include "pricing/pricing_statements.h"
#include "register/register_statements.h"
#include "storage/download_statements.h"
#include "storage/numbering_statements.h"
#include "storage/sale_statements.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

template <class... Sets>
void prepareEach(Database& db)
{
    (
        [&db] {
            SCOPED_TRACE(typeid(Sets).name());
            EXPECT_NO_THROW(db.statements<Sets>().prepare());
        }(),
        ...);
}

TEST(Statements, EverySetPreparesOnItsEngines)
{
    test::TerminalFixture fx;
    prepareEach<RegistryStatements>(fx.office.registry());
    prepareEach<ServerStatements, AccessStatements, PricingStatements, SaleStatements, DownloadStatements,
                RegisterStatements>(fx.dm.conServer());
    prepareEach<AccessStatements, PricingStatements, SaleStatements, NumberingStatements, RegisterStatements>(
        fx.dm.conClient());
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
