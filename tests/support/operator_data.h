#pragma once

#include "base/database.h"
#include "base/operator_rights.h"

#include <string>
#include <vector>

namespace pos::test {

struct OperatorRow {
    int id;
    std::string code;
    std::string name;
    std::string password;
    int sysManager = 0;
    std::vector<OperatorRight> rights;
};

// A PosOperator row with its PosOperatorRight rows, on either database.
void addOperator(Database& db, const OperatorRow& op);
// A PosClassNo row.
void addShift(Database& db, int classId, const std::string& classCode, const std::string& className);

}  // namespace pos::test
