#pragma once

#include "base/statement_set.h"

namespace pos {

// Sign-on and rights, read on the connection of the working mode.
class AccessStatements : public StatementSet {
public:
    explicit AccessStatements(Database& db)
        : StatementSet(db),
          shifts(*this, "select * from PosClassNo"),
          shiftByName(*this, "select * from PosClassNo where ClassName=$1"),
          operatorByCode(*this, "select * from PosOperator where Code=$1"),
          operatorByCredentials(*this,
                                "select Name,Password,SysManager from PosOperator where Code=$1 and Password=$2"),
          operatorRights(*this, "select * from PosOperatorRight where OperatorId=$1")
    {
    }

    Statement shifts;
    Statement shiftByName;
    Statement operatorByCode;
    Statement operatorByCredentials;
    Statement operatorRights;
};

}  // namespace pos
