#include "access/operators.h"

namespace pos {

int CheckOperator(AccessStatements& sql, const std::string& code, const std::string& password)
{
    RowSet r = sql.operatorByCredentials.query({code, password});
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
