#include "db/pg_database.h"

#include "db/pg_params.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

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

// Waits until the connection's socket is ready for `events` (poll flags); false once
// the deadline has passed.
bool awaitSocket(PGconn* conn, short events, Deadline deadline)
{
    const int fd = PQsocket(conn);
    if (fd < 0)
        return true;  // no socket: libpq's next call reports why
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd socket{fd, events, 0};
        const int ready = ::poll(&socket, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
        if (ready != 0 && !(ready < 0 && errno == EINTR))
            return true;  // ready, or a socket error libpq will report
        if (ready == 0)
            return false;
    }
}

// A cancel request travels on a connection of its own, which a dead network can hold
// for minutes; it is sent from a thread of its own so the register does not wait for it.
void cancelInBackground(PGconn* conn)
{
    PGcancel* cancel = PQgetCancel(conn);
    if (!cancel)
        return;
    std::thread([cancel] {
        char error[256];
        PQcancel(cancel, error, sizeof error);
        PQfreeCancel(cancel);
    }).detach();
}

// Sends one statement with `send` and waits for its answers: returns the last result,
// or raises the first error.
template <class Send>
Result exchange(PgDatabase& db, Send send)
{
    const Deadline deadline = db.commandDeadline();
    if (!db.handle() || !send(db.handle()))
        db.fail("");
    db.flush(deadline);
    Result answer;
    while (PGresult* r = db.nextResult(deadline)) {
        if (!answer || isOk(answer.get()))
            answer.reset(r);
        else
            PQclear(r);
    }
    if (!answer || !isOk(answer.get()))
        db.fail(answer ? PQresultErrorMessage(answer.get()) : "");
    return answer;
}

// One statement with its values bound; a failed statement raises DbError.
Result runParams(PgDatabase& db, std::string_view sql, const Params& params)
{
    const std::string text(sql);
    PgTextParams p(params);
    return exchange(db, [&](PGconn* c) {
        return PQsendQueryParams(c, text.c_str(), p.count(), nullptr, p.data(), nullptr, nullptr, 0);
    });
}

class PgStatement : public PreparedStatement {
public:
    PgStatement(PgDatabase& db, std::string name) : db_(db), name_(std::move(name)), generation_(db.generation())
    {
    }
    ~PgStatement() override
    {
        // A statement of an earlier connection died with it.
        if (!db_.isOpen() || db_.generation() != generation_)
            return;
        try {
            exchange(db_, [this](PGconn* c) { return PQsendQuery(c, ("deallocate " + name_).c_str()); });
        } catch (const DbError&) {
            // the server forgets it with the session
        }
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
        return exchange(db_, [&](PGconn* c) {
            return PQsendQueryPrepared(c, name_.c_str(), p.count(), p.data(), nullptr, nullptr, 0);
        });
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
    // The server ends a statement at the command time-out itself, and a session left
    // idle in a transaction at its own limit; the kernel gives up on data the server
    // does not acknowledge within the command time-out, and probes an idle connection.
    const std::string commandMs = std::to_string(timeouts_.command.count());
    const std::string options = "-c statement_timeout=" + commandMs + " -c idle_in_transaction_session_timeout="
        + std::to_string(timeouts_.idleInTransaction.count());
    const char* keys[] = {"host", "port", "user", "password", "dbname", "options", "client_encoding",
                          "application_name", "tcp_user_timeout", "keepalives", "keepalives_idle",
                          "keepalives_interval", "keepalives_count", nullptr};
    const char* values[] = {host.c_str(), port.c_str(), login_.loginName.c_str(), login_.password.c_str(),
                            database.c_str(), options.c_str(), "UTF8", "pos", commandMs.c_str(), "1", "10", "5",
                            "3", nullptr};
    pg_conn* c = PQconnectStartParams(keys, values, 0);
    const Deadline deadline = std::chrono::steady_clock::now() + timeouts_.connect;
    PostgresPollingStatusType progress = PGRES_POLLING_WRITING;
    while (c && PQstatus(c) != CONNECTION_BAD && progress != PGRES_POLLING_OK && progress != PGRES_POLLING_FAILED) {
        if (!awaitSocket(c, progress == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline)) {
            lastError_ = "no answer from the server within " + std::to_string(timeouts_.connect.count()) + " ms";
            PQfinish(c);
            return nullptr;
        }
        progress = PQconnectPoll(c);
    }
    if (!c || PQstatus(c) != CONNECTION_OK) {
        lastError_ = c ? PQerrorMessage(c) : "out of memory";
        PQfinish(c);
        return nullptr;
    }
    // Every wait is the terminal's own, on the socket with a deadline.
    PQsetnonblocking(c, 1);
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

int PgDatabase::backendPid() const { return conn_ ? PQbackendPID(conn_) : 0; }

void PgDatabase::fail(const std::string& context)
{
    std::string message = context.empty() && conn_ ? PQerrorMessage(conn_) : context;
    bool network = !conn_ || PQstatus(conn_) != CONNECTION_OK;
    throw DbError(message.empty() ? "server connection is not open" : message, network);
}

void PgDatabase::abandon()
{
    cancelInBackground(conn_);
    close();
    throw DbError("no answer from the server within " + std::to_string(timeouts_.command.count()) + " ms", true);
}

void PgDatabase::flush(Deadline deadline)
{
    // 1: more to send; 0: all sent; -1: failed, which the next result reports.
    while (PQflush(conn_) == 1) {
        if (!awaitSocket(conn_, POLLIN | POLLOUT, deadline))
            abandon();
        PQconsumeInput(conn_);
    }
}

PGresult* PgDatabase::nextResult(Deadline deadline)
{
    while (PQisBusy(conn_)) {
        if (!awaitSocket(conn_, POLLIN, deadline))
            abandon();
        if (!PQconsumeInput(conn_))
            break;  // the connection broke; PQgetResult says so without waiting
    }
    return PQgetResult(conn_);
}

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
    // Single-row mode must be asked for before anything is read.
    const bool singleRows = PQsetSingleRowMode(conn_);
    Deadline deadline = commandDeadline();
    flush(deadline);
    if (!singleRows) {
        while (PGresult* rest = nextResult(deadline))
            PQclear(rest);
        fail("single-row mode refused");
    }
    std::string error;
    Columns cols;
    bool haveColumns = false;
    Row row;
    // Every result must be drained before the connection can take the next statement.
    while (PGresult* raw = nextResult(deadline)) {
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
            while (PGresult* rest = nextResult(commandDeadline()))
                PQclear(rest);
            throw;
        }
        // A long result is alive as long as its rows keep coming.
        deadline = commandDeadline();
    }
    if (!error.empty())
        fail(error);
}

std::unique_ptr<PreparedStatement> PgDatabase::prepare(std::string_view sql)
{
    std::string name = "pos_s" + std::to_string(++nextStatement_);
    const std::string text(sql);
    exchange(*this, [&](PGconn* c) { return PQsendPrepare(c, name.c_str(), text.c_str(), 0, nullptr); });
    return std::make_unique<PgStatement>(*this, name);
}

void PgDatabase::executeScript(std::string_view sql)
{
    const std::string text(sql);
    exchange(*this, [&](PGconn* c) { return PQsendQuery(c, text.c_str()); });
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
