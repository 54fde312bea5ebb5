#pragma once

#include "access/access_statements.h"

#include <string>

namespace pos {

// Operator verification: -1 no operator with that code and password, 1 a valid
// operator, 2 a valid supervisor (SysManager 1).
int CheckOperator(AccessStatements& sql, const std::string& code, const std::string& password);

// The value of one column in the first row whose keyColumn equals key; the integer 0
// when no row matches. column, table and keyColumn are fixed names from the program;
// the key is always bound.
Value SelectValue(Database& db, const std::string& column, const std::string& table, const std::string& keyColumn,
                  const Value& key);

}  // namespace pos
