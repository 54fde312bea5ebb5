#pragma once

#include "base/database.h"

#include <memory>
#include <string>
#include <vector>

namespace pos {

class StatementSet;

// One statement of a set, in its engine's dialect. It is prepared with the set and
// again on a connection opened since; an unprepared one prepares itself on first use.
// A statement with no text does not exist on its set's engine.
class Statement {
public:
    Statement(StatementSet& owner, std::string sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    RowSet query(const Params& params = {}) { return prepared().query(params); }
    std::int64_t execute(const Params& params = {}) { return prepared().execute(params); }
    void forEach(const Params& params, const RowCallback& onRow) { prepared().forEach(params, onRow); }
    const std::string& sql() const { return sql_; }

private:
    friend class StatementSet;
    PreparedStatement& prepared();

    Database& db_;
    std::string sql_;
    std::unique_ptr<PreparedStatement> handle_;
    std::uint64_t generation_ = 0;
};

// The statements a subsystem runs on one connection, held as members of a class
// derived from this one and constructed from the connection alone; the connection owns
// one of each (Database::statements). The text of each is picked for the engine.
class StatementSet {
public:
    explicit StatementSet(Database& db) : db_(db) {}
    StatementSet(const StatementSet&) = delete;
    StatementSet& operator=(const StatementSet&) = delete;
    virtual ~StatementSet() = default;

    Database& database() { return db_; }
    // Prepares every statement on the open connection, so a statement that does not
    // compile fails here rather than when a cashier first reaches it.
    void prepare();

protected:
    // The text for this set's engine.
    std::string pick(std::string serverSql, std::string localSql) const
    {
        return db_.dialect() == Dialect::PostgreSql ? std::move(serverSql) : std::move(localSql);
    }
    std::string serverOnly(std::string sql) const { return pick(std::move(sql), {}); }
    std::string localOnly(std::string sql) const { return pick({}, std::move(sql)); }

private:
    friend class Statement;
    Database& db_;
    std::vector<Statement*> statements_;
};

}  // namespace pos
