#pragma once

#include "base/pos_error.h"
#include "base/row_set.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace pos {

using Params = std::vector<Value>;
using RowCallback = std::function<void(const Columns&, const Row&)>;

// An error of the database layer. A network failure (the server went away or cannot
// be reached) is marked so the register can fall back to offline mode.
class DbError : public PosError {
public:
    DbError(const std::string& what, bool networkFailure = false, std::string operation = {})
        : PosError(what, std::move(operation)), networkFailure_(networkFailure) {}
    bool isNetworkFailure() const { return networkFailure_; }

private:
    bool networkFailure_;
};

enum class Dialect { PostgreSql, Sqlite };

// A statement prepared once and run many times with other values.
class PreparedStatement {
public:
    virtual ~PreparedStatement() = default;
    virtual std::int64_t execute(const Params& params) = 0;  // affected rows
    virtual RowSet query(const Params& params) = 0;
    // Streams the result row by row, for results too large to hold.
    virtual void forEach(const Params& params, const RowCallback& onRow) = 0;
};

// One connection. Statements use $1, $2, ... placeholders on both sides; every value a
// person typed goes in as a bound parameter, never into the statement text.
class Database {
public:
    virtual ~Database() = default;

    virtual Dialect dialect() const = 0;
    virtual bool isOpen() const = 0;
    // Counts the connections opened; a statement prepared under another count is gone.
    std::uint64_t generation() const { return generation_; }

    virtual RowSet query(std::string_view sql, const Params& params = {}) = 0;
    // Streams a result row by row, for results too large to hold (the goods download).
    virtual void forEach(std::string_view sql, const Params& params, const RowCallback& onRow) = 0;
    virtual std::int64_t execute(std::string_view sql, const Params& params = {}) = 0;
    virtual std::unique_ptr<PreparedStatement> prepare(std::string_view sql) = 0;
    // The column names of a table, read without fetching its rows.
    virtual Columns tableColumns(std::string_view table) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // This connection's one set of statements of the given kind (a class derived from
    // StatementSet), made on first use and kept as long as the connection object.
    template <class Set>
    Set& statements()
    {
        std::shared_ptr<void>& slot = sets_[std::type_index(typeid(Set))];
        if (!slot)
            slot = std::make_shared<Set>(*this);
        return *static_cast<Set*>(slot.get());
    }

protected:
    void opened() { ++generation_; }
    // Each engine's destructor drops the statements first, while the connection they
    // belong to is still whole.
    void dropStatements() { sets_.clear(); }

private:
    std::uint64_t generation_ = 0;
    std::map<std::type_index, std::shared_ptr<void>> sets_;
};

// Scope of a transaction: rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.begin(); }
    ~Transaction()
    {
        if (!done_) {
            try {
                db_.rollback();
            } catch (...) {
                // the connection may be gone; the server drops the transaction with it
            }
        }
    }
    void commit()
    {
        db_.commit();
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace pos
