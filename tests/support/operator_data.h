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

// Few rounds keep the tests quick; the stored form carries its count.
inline constexpr int kTestHashIterations = 1000;
// A password as the local copy keeps it.
std::string localPassword(const std::string& password);

// A PosOperator row with its PosOperatorRight rows, on either database; in the local
// file the password is stored hashed, as the download stores it.
void addOperator(Database& db, const OperatorRow& op);
// A PosClassNo row.
void addShift(Database& db, int classId, const std::string& classCode, const std::string& className);

}  // namespace pos::test
