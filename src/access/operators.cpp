#include "access/operators.h"

namespace pos {
namespace {

std::string masked(std::string text, const std::string& secret)
{
    if (secret.empty())
        return text;
    for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3))
        text.replace(at, secret.size(), "***");
    return text;
}

}  // namespace

int CheckOperator(AccessStatements& sql, const std::string& code, const std::string& password)
{
    RowSet r;
    try {
        r = sql.operatorByCredentials.query({code, password});
    } catch (const DbError& e) {
        // A refused statement may quote the values it was given (a type mismatch does):
        // the password is taken out before the error is shown and logged.
        throw DbError(masked(e.what(), password), e.isNetworkFailure(), "核对操作员密码");
    }
    if (r.empty())
        return -1;
    return r.first("SysManager").toInt() == 1 ? 2 : 1;
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
