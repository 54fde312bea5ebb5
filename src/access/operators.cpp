#include "access/operators.h"

namespace pos {

int CheckOperator(Database& db, const std::string& code, const std::string& password)
{
    RowSet r = db.query("select Name,Password,SysManager from PosOperator where Code=$1 and Password=$2",
                        {code, password});
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
