#pragma once

#include "base/database.h"

#include <string>

struct sqlite3;

namespace pos {

// The local file: SQLCipher with 4 KB cipher pages, WAL journal and a large cache.
class SqliteDatabase : public Database {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (creating when missing) the file with the given key. False when the file
    // cannot be opened or the key does not fit it; the reason is in lastError().
    bool open(const std::string& path, const std::string& key);
    void close();
    const std::string& lastError() const { return lastError_; }
    // Runs a script of several statements (schema files).
    void executeScript(std::string_view sql);

    Dialect dialect() const override { return Dialect::Sqlite; }
    bool isOpen() const override { return db_ != nullptr; }
    RowSet query(std::string_view sql, const Params& params = {}) override;
    void forEach(std::string_view sql, const Params& params, const RowCallback& onRow) override;
    std::int64_t execute(std::string_view sql, const Params& params = {}) override;
    std::unique_ptr<PreparedStatement> prepare(std::string_view sql) override;
    Columns tableColumns(std::string_view table) override;
    void begin() override { execute("begin immediate"); }
    void commit() override { execute("commit"); }
    void rollback() override { execute("rollback"); }

    sqlite3* handle() { return db_; }

private:
    sqlite3* db_ = nullptr;
    std::string lastError_;
};

}  // namespace pos
