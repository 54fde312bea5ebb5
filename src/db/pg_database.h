#pragma once

#include "base/database.h"

#include <string>

struct pg_conn;

namespace pos {

// Where and as whom to reach the back-office server.
struct ServerLogin {
    std::string serverName;  // host, host:port, or a socket directory starting with "/"
    std::string loginName;
    std::string password;
};

// The server connection over libpq: 20 s to connect, 40 s per statement.
class PgDatabase : public Database {
public:
    PgDatabase() = default;
    ~PgDatabase() override;
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

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
    [[noreturn]] void fail(const std::string& context);
    // Hands the rows of the statement just sent to onRow one at a time.
    void streamRows(const RowCallback& onRow);

private:
    pg_conn* connectTo(const std::string& database);
    // Replaces the open connection by a new one to the named database.
    void adopt(pg_conn* connection, const std::string& database);

    pg_conn* conn_ = nullptr;
    ServerLogin login_;
    std::string database_;
    std::string lastError_;
    int nextStatement_ = 0;
};

// Opens a throw-away connection to `database` on the server and closes it again.
bool testServerConnection(const ServerLogin& login, const std::string& database);

}  // namespace pos
