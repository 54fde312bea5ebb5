#include "engine_floor.h"

#include "db/pg_params.h"
#include "db/sqlite_database.h"

#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>

#include <stdexcept>

namespace pos::bench {
namespace {

// Reads every value as the terminal's row sets would; the sum keeps the reads.
std::size_t readAll(const PGresult* result)
{
    std::size_t bytes = 0;
    const int rows = PQntuples(result), columns = PQnfields(result);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            bytes += static_cast<std::size_t>(PQgetlength(result, r, c)) + (PQgetvalue(result, r, c) != nullptr);
    return bytes;
}

void checkResult(PGconn* conn, PGresult* result, const std::string& sql)
{
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_PIPELINE_SYNC) {
        const std::string message = PQerrorMessage(conn);
        PQclear(result);
        throw std::runtime_error("floor statement failed: " + message + " in " + sql);
    }
}

}  // namespace

PgFloor::~PgFloor()
{
    for (const auto& [sql, name] : names_)
        PQclear(PQexec(db_.handle(), ("deallocate " + name).c_str()));
}

const std::string& PgFloor::prepared(const std::string& sql)
{
    auto it = names_.find(sql);
    if (it != names_.end())
        return it->second;
    const std::string name = "bench_floor_" + std::to_string(names_.size());
    PGresult* result = PQprepare(db_.handle(), name.c_str(), sql.c_str(), 0, nullptr);
    checkResult(db_.handle(), result, sql);
    PQclear(result);
    return names_.emplace(sql, name).first->second;
}

std::size_t PgFloor::query(const std::string& sql, const Params& params)
{
    const std::string& name = prepared(sql);
    const PgTextParams p(params);
    PGresult* result = PQexecPrepared(db_.handle(), name.c_str(), p.count(), p.data(), nullptr, nullptr, 0);
    checkResult(db_.handle(), result, sql);
    readAll(result);
    const auto rows = static_cast<std::size_t>(PQntuples(result));
    PQclear(result);
    return rows;
}

void PgFloor::pipeline(const std::vector<std::vector<SqlStatement>>& units)
{
    for (const auto& unit : units)
        for (const SqlStatement& s : unit)
            prepared(s.sql);
    PGconn* conn = db_.handle();
    if (!PQenterPipelineMode(conn))
        throw std::runtime_error("floor: no pipeline mode");
    for (const auto& unit : units) {
        for (const SqlStatement& s : unit) {
            const PgTextParams p(s.params);
            if (!PQsendQueryPrepared(conn, names_.at(s.sql).c_str(), p.count(), p.data(), nullptr, nullptr, 0))
                throw std::runtime_error(std::string("floor: cannot send: ") + PQerrorMessage(conn));
        }
        if (!PQpipelineSync(conn))
            throw std::runtime_error("floor: cannot sync the pipeline");
    }
    for (const auto& unit : units) {
        for (const SqlStatement& s : unit) {
            PGresult* result = PQgetResult(conn);
            checkResult(conn, result, s.sql);
            readAll(result);
            PQclear(result);
            PQclear(PQgetResult(conn));  // the null that ends each statement's answer
        }
        PGresult* sync = PQgetResult(conn);
        checkResult(conn, sync, "sync");
        PQclear(sync);
    }
    PQexitPipelineMode(conn);
}

void PgFloor::command(const char* sql)
{
    PGresult* result = PQexec(db_.handle(), sql);
    checkResult(db_.handle(), result, sql);
    PQclear(result);
}

SqliteFloor::SqliteFloor(SqliteDatabase& db) : db_(db.handle()) {}

SqliteFloor::~SqliteFloor()
{
    for (const auto& [sql, statement] : statements_)
        sqlite3_finalize(statement);
}

sqlite3_stmt* SqliteFloor::prepared(const std::string& sql)
{
    auto it = statements_.find(sql);
    if (it != statements_.end())
        return it->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement,
                           nullptr)
        != SQLITE_OK)
        throw std::runtime_error(std::string("floor statement failed: ") + sqlite3_errmsg(db_) + " in " + sql);
    return statements_.emplace(sql, statement).first->second;
}

std::size_t SqliteFloor::query(const std::string& sql, const Params& params)
{
    sqlite3_stmt* st = prepared(sql);
    sqlite3_reset(st);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int index = sqlite3_bind_parameter_index(st, ("$" + std::to_string(i + 1)).c_str());
        if (index == 0)
            continue;
        const Value& v = params[i];
        if (v.isNull())
            sqlite3_bind_null(st, index);
        else if (v.isInt())
            sqlite3_bind_int64(st, index, v.toInt());
        else if (v.isDouble())
            sqlite3_bind_double(st, index, v.toDouble());
        else
            sqlite3_bind_text(st, index, v.toString().c_str(), -1, SQLITE_TRANSIENT);
    }
    std::size_t rows = 0, bytes = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            sqlite3_column_text(st, c);
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
        }
    }
    if (rc != SQLITE_DONE)
        throw std::runtime_error(std::string("floor statement failed: ") + sqlite3_errmsg(db_) + " in " + sql);
    sqlite3_reset(st);
    return rows;
}

void SqliteFloor::command(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("floor statement failed: ") + sqlite3_errmsg(db_) + " in " + sql);
}

}  // namespace pos::bench
