#pragma once

#include "base/database.h"
#include "db/pg_pipeline.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pos {
class SqliteDatabase;
}

namespace pos::bench {

// The floor of an operation: its statements issued straight through libpq, each text
// prepared once on the connection, every value of the answer read as text, nothing
// else. Works on the terminal's own connection, beside its statements.
class PgFloor {
public:
    explicit PgFloor(PgDatabase& db) : db_(db) {}
    PgFloor(const PgFloor&) = delete;
    PgFloor& operator=(const PgFloor&) = delete;
    ~PgFloor();

    // Rows answered.
    std::size_t query(const std::string& sql, const Params& params);
    // The units sent in one pipeline, their answers read after: one round trip. Each unit
    // ends in a synchronisation point, so outside an open transaction it is a
    // transaction of its own.
    void pipeline(const std::vector<std::vector<SqlStatement>>& units);
    void command(const char* sql);  // begin, commit

private:
    const std::string& prepared(const std::string& sql);

    PgDatabase& db_;
    std::map<std::string, std::string> names_;  // statement text -> its prepared name
};

// The same over SQLCipher: each text prepared once and kept, values bound, every column
// of every row read.
class SqliteFloor {
public:
    explicit SqliteFloor(SqliteDatabase& db);
    SqliteFloor(const SqliteFloor&) = delete;
    SqliteFloor& operator=(const SqliteFloor&) = delete;
    ~SqliteFloor();

    std::size_t query(const std::string& sql, const Params& params);
    void command(const char* sql);

private:
    sqlite3_stmt* prepared(const std::string& sql);

    sqlite3* db_;
    std::map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace pos::bench
