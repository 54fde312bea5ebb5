#include "db/pg_database.h"

#include "db/pg_params.h"

#include <libpq-fe.h>

#include <memory>

namespace pos {
namespace {

constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700, kTimestamp = 1114;

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

Value cellValue(const PGresult* r, int row, int col)
{
    if (PQgetisnull(r, row, col))
        return {};
    const char* text = PQgetvalue(r, row, col);
    switch (PQftype(r, col)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return Value(std::stoll(text));
    case kBool:
        return Value(text[0] == 't' ? 1 : 0);
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return Value(std::strtod(text, nullptr));
    case kTimestamp: {
        std::string s(text);
        if (auto dot = s.find('.'); dot != std::string::npos)
            s.erase(dot);  // the terminal keeps whole seconds
        return Value(std::move(s));
    }
    default:
        return Value(std::string(text));
    }
}

Columns resultColumns(const PGresult* r)
{
    Columns cols;
    for (int c = 0; c < PQnfields(r); ++c)
        cols.add(PQfname(r, c));
    return cols;
}

RowSet toRowSet(const PGresult* r)
{
    RowSet set(resultColumns(r));
    const int n = PQnfields(r);
    for (int row = 0; row < PQntuples(r); ++row) {
        Row values;
        values.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c)
            values.push_back(cellValue(r, row, c));
        set.append(std::move(values));
    }
    return set;
}

bool isOk(const PGresult* r)
{
    auto s = PQresultStatus(r);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_SINGLE_TUPLE;
}

std::int64_t affectedRows(const PGresult* r)
{
    const char* n = PQcmdTuples(const_cast<PGresult*>(r));
    return n && *n ? std::stoll(n) : 0;
}

class PgStatement : public PreparedStatement {
public:
    PgStatement(PgDatabase& db, std::string name) : db_(db), name_(std::move(name)), generation_(db.generation())
    {
    }
    ~PgStatement() override
    {
        // A statement of an earlier connection died with it.
        if (db_.isOpen() && db_.generation() == generation_)
            PQclear(PQexec(db_.handle(), ("deallocate " + name_).c_str()));
    }
    std::int64_t execute(const Params& params) override { return affectedRows(run(params).get()); }
    RowSet query(const Params& params) override { return toRowSet(run(params).get()); }
    void forEach(const Params& params, const RowCallback& onRow) override
    {
        PgTextParams p(params);
        if (!db_.handle()
            || !PQsendQueryPrepared(db_.handle(), name_.c_str(), p.count(), p.data(), nullptr, nullptr, 0))
            db_.fail("");
        db_.streamRows(onRow);
    }

private:
    Result run(const Params& params)
    {
        PgTextParams p(params);
        Result r(PQexecPrepared(db_.handle(), name_.c_str(), p.count(), p.data(), nullptr, nullptr, 0));
        if (!r || !isOk(r.get()))
            db_.fail(r ? PQresultErrorMessage(r.get()) : "");
        return r;
    }
    PgDatabase& db_;
    std::string name_;
    std::uint64_t generation_;
};

}  // namespace

PgDatabase::~PgDatabase()
{
    dropStatements();
    close();
}

pg_conn* PgDatabase::connectTo(const std::string& database)
{
    std::string host = login_.serverName;
    std::string port = "5432";
    if (!host.empty() && host.front() != '/') {
        if (auto colon = host.rfind(':'); colon != std::string::npos) {
            port = host.substr(colon + 1);
            host.erase(colon);
        }
    }
    const char* keys[] = {"host", "port", "user", "password", "dbname", "connect_timeout",
                          "options", "client_encoding", "application_name", nullptr};
    const char* values[] = {host.c_str(), port.c_str(), login_.loginName.c_str(),
                            login_.password.c_str(), database.c_str(), "20",
                            "-c statement_timeout=40000", "UTF8", "pos", nullptr};
    pg_conn* c = PQconnectdbParams(keys, values, 0);
    if (PQstatus(c) != CONNECTION_OK) {
        lastError_ = PQerrorMessage(c);
        PQfinish(c);
        return nullptr;
    }
    // Server notices are not for the cashier.
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    return c;
}

bool PgDatabase::open(const ServerLogin& login, const std::string& database)
{
    ServerLogin previous = login_;
    login_ = login;
    pg_conn* c = connectTo(database);
    if (!c) {
        login_ = previous;
        return false;
    }
    adopt(c, database);
    return true;
}

bool PgDatabase::useDatabase(const std::string& database)
{
    if (!conn_)
        return false;
    pg_conn* c = connectTo(database);
    if (!c)
        return false;
    adopt(c, database);
    return true;
}

void PgDatabase::adopt(pg_conn* connection, const std::string& database)
{
    close();
    conn_ = connection;
    database_ = database;
    opened();
}

bool PgDatabase::reopen()
{
    close();
    conn_ = connectTo(database_);
    if (!conn_)
        return false;
    opened();
    return true;
}

void PgDatabase::close()
{
    if (conn_) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
}

bool PgDatabase::isOpen() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

void PgDatabase::fail(const std::string& context)
{
    std::string message = context.empty() && conn_ ? PQerrorMessage(conn_) : context;
    bool network = !conn_ || PQstatus(conn_) != CONNECTION_OK;
    throw DbError(message.empty() ? "server connection is not open" : message, network);
}

namespace {

// One statement with its values bound; a failed statement raises DbError.
Result runParams(PgDatabase& db, std::string_view sql, const Params& params)
{
    if (!db.handle())
        db.fail("");
    PgTextParams p(params);
    Result r(PQexecParams(db.handle(), std::string(sql).c_str(), p.count(), nullptr, p.data(), nullptr, nullptr, 0));
    if (!r || !isOk(r.get()))
        db.fail(r ? PQresultErrorMessage(r.get()) : "");
    return r;
}

}  // namespace

RowSet PgDatabase::query(std::string_view sql, const Params& params)
{
    return toRowSet(runParams(*this, sql, params).get());
}

std::int64_t PgDatabase::execute(std::string_view sql, const Params& params)
{
    return affectedRows(runParams(*this, sql, params).get());
}

void PgDatabase::forEach(std::string_view sql, const Params& params, const RowCallback& onRow)
{
    if (!conn_)
        fail("");
    PgTextParams p(params);
    if (!PQsendQueryParams(conn_, std::string(sql).c_str(), p.count(), nullptr, p.data(), nullptr, nullptr, 0))
        fail("");
    streamRows(onRow);
}

void PgDatabase::streamRows(const RowCallback& onRow)
{
    if (!PQsetSingleRowMode(conn_)) {
        while (PGresult* rest = PQgetResult(conn_))
            PQclear(rest);
        fail("single-row mode refused");
    }
    std::string error;
    Columns cols;
    bool haveColumns = false;
    Row row;
    // Every result must be drained before the connection can take the next statement.
    while (PGresult* raw = PQgetResult(conn_)) {
        Result r(raw);
        if (!isOk(raw)) {
            if (error.empty())
                error = PQresultErrorMessage(raw);
            continue;
        }
        if (!error.empty() || PQntuples(raw) == 0)
            continue;
        if (!haveColumns) {
            cols = resultColumns(raw);
            haveColumns = true;
        }
        row.clear();
        for (int c = 0; c < PQnfields(raw); ++c)
            row.push_back(cellValue(raw, 0, c));
        try {
            onRow(cols, row);
        } catch (...) {
            PQrequestCancel(conn_);
            while (PGresult* rest = PQgetResult(conn_))
                PQclear(rest);
            throw;
        }
    }
    if (!error.empty())
        fail(error);
}

std::unique_ptr<PreparedStatement> PgDatabase::prepare(std::string_view sql)
{
    if (!conn_)
        fail("");
    std::string name = "pos_s" + std::to_string(++nextStatement_);
    Result r(PQprepare(conn_, name.c_str(), std::string(sql).c_str(), 0, nullptr));
    if (!r || !isOk(r.get()))
        fail(r ? PQresultErrorMessage(r.get()) : "");
    return std::make_unique<PgStatement>(*this, name);
}

void PgDatabase::executeScript(std::string_view sql)
{
    if (!conn_)
        fail("");
    Result r(PQexec(conn_, std::string(sql).c_str()));
    if (!r || !isOk(r.get()))
        fail(r ? PQresultErrorMessage(r.get()) : "");
}

Columns PgDatabase::tableColumns(std::string_view table)
{
    return query("select * from " + std::string(table) + " limit 0").columns();
}

bool testServerConnection(const ServerLogin& login, const std::string& database)
{
    PgDatabase probe;
    return probe.open(login, database);
}

}  // namespace pos
