#include "access/operators.h"

#include "db/password_hash.h"

namespace pos {

std::string masked(std::string text, const std::string& password)
{
    if (password.empty())
        return text;
    for (std::size_t at = text.find(password); at != std::string::npos; at = text.find(password, at + 3))
        text.replace(at, password.size(), "***");
    return text;
}

std::optional<OperatorMatch> verifyOperator(AccessStatements& sql, const std::string& code,
                                            const std::string& password)
{
    const bool hashed = sql.database().dialect() != Dialect::PostgreSql;
    std::vector<OperatorRecord> operators;
    try {
        operators = hashed ? sql.operatorsWithCode(code) : sql.operatorsWithCredentials(code, password);
    } catch (const DbError& e) {
        // A refused statement may quote the values it was given (a type mismatch does):
        // the password is taken out before the error is shown and logged.
        throw DbError(masked(e.what(), password), e.isNetworkFailure(), "核对操作员密码");
    }
    for (const OperatorRecord& op : operators) {
        if (hashed && !passwordMatches(op.password, password))
            continue;
        return OperatorMatch{op.id, op.name, op.supervisor};
    }
    return std::nullopt;
}

int CheckOperator(AccessStatements& sql, const std::string& code, const std::string& password)
{
    const std::optional<OperatorMatch> match = verifyOperator(sql, code, password);
    if (!match)
        return -1;
    return match->supervisor ? 2 : 1;
}

Value SelectValue(Database& db, const std::string& column, const std::string& table, const std::string& keyColumn,
                  const Value& key)
{
    RowSet r = db.query("select " + column + " from " + table + " where " + keyColumn + "=$1", {key});
    if (r.empty())
        return Value(0);
    return r.row(0).at(0);
}

}  // namespace pos
