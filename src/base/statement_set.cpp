#include "base/statement_set.h"

namespace pos {

Statement::Statement(StatementSet& owner, std::string sql) : db_(owner.db_), sql_(std::move(sql))
{
    owner.statements_.push_back(this);
}

PreparedStatement& Statement::prepared()
{
    if (sql_.empty())
        throw DbError("statement not available on this connection");
    if (!handle_ || generation_ != db_.generation()) {
        handle_.reset();
        handle_ = db_.prepare(sql_);
        generation_ = db_.generation();
    }
    return *handle_;
}

void StatementSet::prepare()
{
    for (Statement* statement : statements_)
        if (!statement->sql_.empty())
            statement->prepared();
}

}  // namespace pos
