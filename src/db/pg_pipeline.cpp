#include "db/pg_pipeline.h"

#include "db/pg_params.h"

#include <libpq-fe.h>

#include <atomic>
#include <cstdint>
#include <map>

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

// Names for the statements of one pipeline, never used again on any connection, so a
// name left behind by a broken pipeline cannot collide with a later one.
std::string pipelineStatementName()
{
    static std::atomic<std::uint64_t> next{0};
    return "pos_pipeline_" + std::to_string(++next);
}

// Queues a synchronisation point; false when libpq refuses it.
bool sync(PGconn* conn) { return PQpipelineSync(conn) == 1; }

}  // namespace

PipelinedTransactions runTransactionsPipelined(PgDatabase& db,
                                               const std::vector<std::vector<SqlStatement>>& transactions)
{
    PipelinedTransactions result;
    result.answers.resize(transactions.size());
    if (transactions.empty())
        return result;
    PGconn* conn = db.handle();
    if (!db.isOpen() || !PQenterPipelineMode(conn)) {
        result.lostConnection = conn ? PQerrorMessage(conn) : "server connection is not open";
        return result;
    }
    // The texts are parsed first, in a part of their own, and forgotten last.
    std::map<std::string, std::string> names;
    for (const auto& statements : transactions)
        for (const SqlStatement& s : statements)
            names.emplace(s.sql, std::string());
    std::string error;
    for (auto& [sql, name] : names) {
        name = pipelineStatementName();
        if (error.empty() && !PQsendPrepare(conn, name.c_str(), sql.c_str(), 0, nullptr))
            error = PQerrorMessage(conn);
    }
    if (error.empty() && !sync(conn))
        error = PQerrorMessage(conn);
    for (const auto& statements : transactions) {
        for (const SqlStatement& s : statements) {
            const PgTextParams p(s.params);
            if (error.empty()
                && !PQsendQueryPrepared(conn, names.at(s.sql).c_str(), p.count(), p.data(), nullptr, nullptr, 0))
                error = PQerrorMessage(conn);
        }
        if (error.empty() && !sync(conn))
            error = PQerrorMessage(conn);
    }
    for (const auto& [sql, name] : names)
        if (error.empty() && !PQsendQueryParams(conn, ("deallocate " + name).c_str(), 0, nullptr, nullptr, nullptr,
                                                nullptr, 0))
            error = PQerrorMessage(conn);
    if (error.empty() && !sync(conn))
        error = PQerrorMessage(conn);

    try {
        if (!error.empty())
            db.fail(error);
        db.flush(db.commandDeadline());
        collect(db, db.commandDeadline());  // the parses: a text that fails fails every transaction using it
        for (TransactionAnswer& answer : result.answers) {
            const std::string failure = collect(db, db.commandDeadline());
            if (PQstatus(conn) != CONNECTION_OK)
                db.fail(failure);
            answer.outcome = failure.empty() ? TransactionOutcome::Committed : TransactionOutcome::Failed;
            answer.error = failure;
        }
        collect(db, db.commandDeadline());
    } catch (const DbError& e) {
        result.lostConnection = e.what();
    }
    if (db.handle())
        PQexitPipelineMode(db.handle());
    return result;
}

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
