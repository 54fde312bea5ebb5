#include "db/sqlite_database.h"

#include <sqlcipher/sqlite3.h>

#include <cstdlib>
#include <vector>

namespace pos {
namespace {

[[noreturn]] void raise(sqlite3* db)
{
    throw DbError(db ? sqlite3_errmsg(db) : "local database is not open");
}

Value columnValue(sqlite3_stmt* st, int c)
{
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_INTEGER:
        return Value(static_cast<long long>(sqlite3_column_int64(st, c)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(st, c));
    case SQLITE_NULL:
        return {};
    default: {
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
        return Value(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(st, c))));
    }
    }
}

// A compiled statement with $1, $2, ... bound by name, so their order in the text is free.
class Statement : public PreparedStatement {
public:
    Statement(sqlite3* db, std::string_view sql) : db_(db)
    {
        if (!db_)
            raise(db_);
        if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st_, nullptr)
            != SQLITE_OK)
            raise(db_);
        // Where each $n is, looked up once: by name on every run it costs a search of
        // the names for every value, which a copy of a million rows feels.
        for (int index = 1; index <= sqlite3_bind_parameter_count(st_); ++index) {
            const char* name = sqlite3_bind_parameter_name(st_, index);
            if (!name || name[0] != '$' || name[1] < '1' || name[1] > '9')
                continue;
            char* end = nullptr;
            const long number = std::strtol(name + 1, &end, 10);
            if (*end != '\0' || number < 1)
                continue;
            if (parameterIndex_.size() < static_cast<std::size_t>(number))
                parameterIndex_.resize(static_cast<std::size_t>(number), 0);
            parameterIndex_[static_cast<std::size_t>(number) - 1] = index;
        }
    }
    ~Statement() override { sqlite3_finalize(st_); }

    std::int64_t execute(const Params& params) override
    {
        bind(params);
        int rc;
        while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
        }
        finish(rc);
        return sqlite3_changes(db_);
    }

    RowSet query(const Params& params) override
    {
        RowSet set(columns());
        forEach(params, [&](const Columns&, const Row& row) { set.append(row); });
        return set;
    }

    void forEach(const Params& params, const RowCallback& onRow) override
    {
        bind(params);
        Columns cols = columns();
        Row row;
        int rc;
        while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
            row.clear();
            for (int c = 0; c < sqlite3_column_count(st_); ++c)
                row.push_back(columnValue(st_, c));
            try {
                onRow(cols, row);
            } catch (...) {
                sqlite3_reset(st_);
                throw;
            }
        }
        finish(rc);
    }

    Columns columns() const
    {
        Columns cols;
        for (int c = 0; c < sqlite3_column_count(st_); ++c)
            cols.add(sqlite3_column_name(st_, c));
        return cols;
    }

private:
    void bind(const Params& params)
    {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
        for (std::size_t i = 0; i < params.size() && i < parameterIndex_.size(); ++i) {
            const int idx = parameterIndex_[i];
            if (idx == 0)
                continue;
            const Value& v = params[i];
            int rc = SQLITE_OK;
            if (v.isNull())
                rc = sqlite3_bind_null(st_, idx);
            else if (v.isInt())
                rc = sqlite3_bind_int64(st_, idx, v.toInt());
            else if (v.isDouble())
                rc = sqlite3_bind_double(st_, idx, v.toDouble());
            else {
                std::string s = v.toString();
                rc = sqlite3_bind_text(st_, idx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK)
                raise(db_);
        }
    }

    void finish(int rc)
    {
        if (rc != SQLITE_DONE) {
            std::string message = sqlite3_errmsg(db_);
            sqlite3_reset(st_);
            throw DbError(message);
        }
        sqlite3_reset(st_);
    }

    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
    std::vector<int> parameterIndex_;  // the bind index of $1, $2, ...; 0 where the text lacks it
};

}  // namespace

SqliteDatabase::~SqliteDatabase()
{
    dropStatements();
    close();
}

bool SqliteDatabase::open(const std::string& path, const std::string& key)
{
    close();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        lastError_ = db_ ? sqlite3_errmsg(db_) : "cannot open";
        close();
        return false;
    }
    try {
        sqlite3_key(db_, key.data(), static_cast<int>(key.size()));
        // The page size is fixed when a file is created and must match on every open.
        executeScript("pragma cipher_page_size = 4096;");
        // Reading the schema is the first access that proves the key fits the file.
        query("select count(*) from sqlite_master");
        query("pragma journal_mode = wal");
        // Full sync: a bill sold offline or a held bill is on the disk once its commit
        // returns, so what the cashier saw done survives a power cut.
        executeScript("pragma cache_size = -65536; pragma synchronous = full; pragma foreign_keys = off;");
        sqlite3_busy_timeout(db_, 5000);
        opened();
    } catch (const DbError& e) {
        lastError_ = e.what();
        close();
        return false;
    }
    return true;
}

void SqliteDatabase::close()
{
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void SqliteDatabase::executeScript(std::string_view sql)
{
    if (!db_)
        raise(db_);
    char* error = nullptr;
    std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw DbError(message);
    }
}

RowSet SqliteDatabase::query(std::string_view sql, const Params& params)
{
    return Statement(db_, sql).query(params);
}

void SqliteDatabase::forEach(std::string_view sql, const Params& params, const RowCallback& onRow)
{
    Statement(db_, sql).forEach(params, onRow);
}

std::int64_t SqliteDatabase::execute(std::string_view sql, const Params& params)
{
    return Statement(db_, sql).execute(params);
}

std::unique_ptr<PreparedStatement> SqliteDatabase::prepare(std::string_view sql)
{
    return std::make_unique<Statement>(db_, sql);
}

Columns SqliteDatabase::tableColumns(std::string_view table)
{
    return Statement(db_, "select * from " + std::string(table) + " limit 0").columns();
}

}  // namespace pos
