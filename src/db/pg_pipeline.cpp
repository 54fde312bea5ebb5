#include "db/pg_pipeline.h"

#include "db/pg_params.h"

#include <libpq-fe.h>

namespace pos {
namespace {

// Queues every statement; a statement whose text repeats the previous one reuses its
// parse (the unnamed prepared statement). Returns the first failure to queue, or "".
// The connection does not block: libpq holds what the socket will not take yet.
std::string send(PGconn* conn, const std::vector<SqlStatement>& statements)
{
    const std::string* parsed = nullptr;
    for (const SqlStatement& s : statements) {
        if (!parsed || *parsed != s.sql) {
            if (!PQsendPrepare(conn, "", s.sql.c_str(), 0, nullptr))
                return PQerrorMessage(conn);
            parsed = &s.sql;
        }
        PgTextParams p(s.params);
        if (!PQsendQueryPrepared(conn, "", p.count(), p.data(), nullptr, nullptr, 0))
            return PQerrorMessage(conn);
    }
    return {};
}

// Reads the answers up to the synchronisation point and returns the first error, or "".
// Ends early when the connection is lost or nothing more is queued.
std::string collect(PgDatabase& db, Deadline deadline)
{
    PGconn* conn = db.handle();
    std::string error;
    bool endOfCommand = false;
    for (;;) {
        PGresult* r = db.nextResult(deadline);
        if (!r) {
            // A null ends each command's answers; two in a row mean nothing is left.
            if (endOfCommand || PQstatus(conn) != CONNECTION_OK)
                break;
            endOfCommand = true;
            continue;
        }
        endOfCommand = false;
        const ExecStatusType status = PQresultStatus(r);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_PIPELINE_SYNC
            && status != PGRES_PIPELINE_ABORTED && error.empty())
            error = PQresultErrorMessage(r);
        PQclear(r);
        if (status == PGRES_PIPELINE_SYNC)
            break;
    }
    if (error.empty() && PQstatus(conn) != CONNECTION_OK)
        error = PQerrorMessage(conn);
    return error;
}

}  // namespace

void runPipelined(PgDatabase& db, const std::vector<SqlStatement>& statements)
{
    if (statements.empty())
        return;
    PGconn* conn = db.handle();
    if (!db.isOpen() || !PQenterPipelineMode(conn))
        db.fail("");
    // The batch is one round trip, answered within one command time-out.
    const Deadline deadline = db.commandDeadline();
    std::string error = send(conn, statements);
    if (!PQpipelineSync(conn) && error.empty())
        error = PQerrorMessage(conn);
    db.flush(deadline);
    std::string answerError = collect(db, deadline);
    if (error.empty())
        error = answerError;
    PQexitPipelineMode(conn);
    if (!error.empty())
        db.fail(error);
}

}  // namespace pos
