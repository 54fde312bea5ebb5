#include "db/pg_pipeline.h"

#include "support/back_office.h"
#include "support/proxied_server.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pos {
namespace {

using test::TcpProxy;

struct Wait {
    const char* name;
    std::function<void(PgDatabase&, PreparedStatement&)> run;
};

const Wait kWaits[] = {
    {"Query", [](PgDatabase& db, PreparedStatement&) { db.query("select 1 as n"); }},
    {"PreparedStatement", [](PgDatabase&, PreparedStatement& s) { s.query({1}); }},
    {"StreamedRows", [](PgDatabase& db, PreparedStatement&) {
         db.forEach("select generate_series(1, 3) as n", {}, [](const Columns&, const Row&) {});
     }},
    {"PipelinedBatch", [](PgDatabase& db, PreparedStatement&) {
         runPipelined(db, {{"select $1::int", {1}}, {"select $1::int", {2}}});
     }},
};

void PrintTo(const Wait& w, std::ostream* os) { *os << w.name; }

// The connection runs through a proxy that stops forwarding without closing anything,
// as a pulled cable or a hung switch does.
class ServerStopsAnswering : public ::testing::TestWithParam<Wait> {
protected:
    ServerStopsAnswering()
    {
        ServerLogin login = office.login();
        login.serverName = proxy.address();
        db.setTimeouts(test::kShortTimeouts);
        if (!db.open(login, office.accountSetName()))
            ADD_FAILURE() << db.lastError();
        else
            statement = db.prepare("select $1::int as n");
    }

    test::BackOffice office;
    TcpProxy proxy;
    PgDatabase db;
    std::unique_ptr<PreparedStatement> statement;
};

TEST_P(ServerStopsAnswering, WaitEndsAsANetworkFailureAndTheConnectionIsClosed)
{
    ASSERT_TRUE(statement);
    proxy.failNow(TcpProxy::Fault::BlackHole);
    try {
        GetParam().run(db, *statement);
        ADD_FAILURE() << "the statement returned without an answer";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isNetworkFailure()) << e.what();
    }
    EXPECT_FALSE(db.isOpen());
    // Connecting is bounded too: the proxy takes the connection and never answers.
    EXPECT_FALSE(db.reopen());
    EXPECT_FALSE(db.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Waits, ServerStopsAnswering, ::testing::ValuesIn(kWaits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
