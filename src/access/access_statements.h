#pragma once

#include "base/operator_rights.h"
#include "base/statement_set.h"

#include <optional>
#include <string>
#include <vector>

namespace pos {

// A shift of PosClassNo.
struct Shift {
    int id = 0;
    std::string code;
    std::string name;
};

// An operator of PosOperator with the password in the form the side keeps: as typed on
// the server, hashed in the local copy.
struct OperatorRecord {
    int id = 0;
    std::string name;
    std::string password;
    bool supervisor = false;  // SysManager 1
};

// Sign-on and rights, read on the connection of the working mode.
class AccessStatements : public StatementSet {
public:
    explicit AccessStatements(Database& db);

    std::vector<Shift> shifts();
    std::optional<Shift> shiftNamed(const std::string& name);
    // The back office keeps passwords as typed and compares them itself (server only).
    std::vector<OperatorRecord> operatorsWithCredentials(const std::string& code, const std::string& password);
    // The local copy keeps hashes, which the terminal checks for each operator of the code.
    std::vector<OperatorRecord> operatorsWithCode(const std::string& code);
    bool holdsRight(int operatorId, OperatorRight right);
    // `password` in the form the side keeps.
    void setPassword(const std::string& code, const std::string& password);
    // Puts back one operator's hash when the server did not take the new password.
    void restorePassword(int operatorId, const std::string& hash);

private:
    Statement shifts_;
    Statement shiftByName_;
    Statement operatorByCredentials_;
    Statement operatorsByCode_;
    Statement operatorRights_;
    Statement setPassword_;
    Statement restorePassword_;
};

}  // namespace pos
