#pragma once

#include "access/access_statements.h"

#include <optional>
#include <string>

namespace pos {

struct OperatorMatch {
    int operatorId = 0;
    std::string name;
    bool supervisor = false;  // SysManager 1
};

// The operator whose code and password these are, on the side the statements belong
// to: the server compares the password as the back office keeps it, the local copy's
// hashes are checked here. A local copy may hold a code more than once; the first
// operator of the code whose password matches is the one.
std::optional<OperatorMatch> verifyOperator(AccessStatements& sql, const std::string& code,
                                            const std::string& password);

// The text with every occurrence of the password replaced by "***": what an error may
// quote of the values it was given, before it is shown or logged.
std::string masked(std::string text, const std::string& password);

// Operator verification: -1 no operator with that code and password, 1 a valid
// operator, 2 a valid supervisor (SysManager 1).
int CheckOperator(AccessStatements& sql, const std::string& code, const std::string& password);

// The value of one column in the first row whose keyColumn equals key; the integer 0
// when no row matches. column, table and keyColumn are fixed names from the program;
// the key is always bound.
Value SelectValue(Database& db, const std::string& column, const std::string& table, const std::string& keyColumn,
                  const Value& key);

}  // namespace pos
