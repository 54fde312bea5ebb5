#pragma once

#include "base/database.h"

#include <chrono>
#include <string>

struct pg_conn;
struct pg_result;

namespace pos {

// Where and as whom to reach the back-office server.
struct ServerLogin {
    std::string serverName;  // host, host:port, or a socket directory starting with "/"
    std::string loginName;
    std::string password;
};

// How long the server keeps a terminal's session that sits in an open transaction: a
// terminal that died or lost its COMMIT in transit would otherwise hold its stock rows
// locked, blocking every other terminal, for as long as the server keeps the dead peer.
inline constexpr std::chrono::milliseconds kIdleInTransactionTimeout = std::chrono::minutes(1);

// How long the server connection waits: to connect, and for the answer to a statement;
// and how long the server waits on the session inside a transaction.
struct PgTimeouts {
    std::chrono::milliseconds connect{20000};
    std::chrono::milliseconds command{40000};
    std::chrono::milliseconds idleInTransaction = kIdleInTransactionTimeout;
};

using Deadline = std::chrono::steady_clock::time_point;

// The server connection over libpq. Nothing waits on the server without a deadline: a
// network that stops answering, without closing anything, is noticed within the command
// time-out (the kernel's keepalives and tcp_user_timeout cover the idle connection), the
// connection is closed and the statement fails as a network failure.
class PgDatabase : public Database {
public:
    PgDatabase() = default;
    ~PgDatabase() override;
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    // For the connections opened from now on; the server's statement_timeout follows
    // the command time-out, its idle_in_transaction_session_timeout the idle one.
    void setTimeouts(const PgTimeouts& timeouts) { timeouts_ = timeouts; }

    // Opens a connection to the named database; on failure the previous one is kept
    // and the reason is left in lastError().
    bool open(const ServerLogin& login, const std::string& database);
    // Moves the open connection to another database with the same host and login.
    bool useDatabase(const std::string& database);
    // Closes and opens again with the same settings.
    bool reopen();
    void close();
    // Runs a script of several statements without parameters (schema files).
    void executeScript(std::string_view sql);
    const std::string& databaseName() const { return database_; }
    const std::string& lastError() const { return lastError_; }

    Dialect dialect() const override { return Dialect::PostgreSql; }
    bool isOpen() const override;
    RowSet query(std::string_view sql, const Params& params = {}) override;
    void forEach(std::string_view sql, const Params& params, const RowCallback& onRow) override;
    std::int64_t execute(std::string_view sql, const Params& params = {}) override;
    std::unique_ptr<PreparedStatement> prepare(std::string_view sql) override;
    Columns tableColumns(std::string_view table) override;
    void begin() override { execute("begin"); }
    void commit() override { execute("commit"); }
    void rollback() override { execute("rollback"); }

    pg_conn* handle() { return conn_; }
    // The server process of the open connection, 0 when none is open.
    int backendPid() const;
    [[noreturn]] void fail(const std::string& context);
    // Hands the rows of the statement just sent to onRow one at a time.
    void streamRows(const RowCallback& onRow);

    // For statements sent with libpq's own calls, as the pipeline does: when the answer
    // to a statement sent now is due, and the two waits with that deadline.
    Deadline commandDeadline() const { return std::chrono::steady_clock::now() + timeouts_.command; }
    // Sends what libpq holds for the server, reading answers meanwhile so the server is
    // never stuck on a full socket.
    void flush(Deadline deadline);
    // The next result of the statements sent, null after the last one; waits until it
    // is complete. Past the deadline the connection is closed and DbError (a network
    // failure) raised.
    pg_result* nextResult(Deadline deadline);

private:
    pg_conn* connectTo(const std::string& database);
    // The server did not answer in time: cancels what runs there, closes, raises.
    [[noreturn]] void abandon();

    // Replaces the open connection by a new one to the named database.
    void adopt(pg_conn* connection, const std::string& database);

    pg_conn* conn_ = nullptr;
    ServerLogin login_;
    PgTimeouts timeouts_;
    std::string database_;
    std::string lastError_;
    int nextStatement_ = 0;
};

// Opens a throw-away connection to `database` on the server and closes it again.
bool testServerConnection(const ServerLogin& login, const std::string& database);

}  // namespace pos
