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
          // The back office keeps passwords as typed and compares them itself; the local
          // copy keeps hashes, which the terminal checks for each operator of the code.
          operatorByCredentials(*this, serverOnly("select OperatorId,Name,Password,SysManager from PosOperator "
                                                  "where Code=$1 and Password=$2")),
          operatorsByCode(*this, localOnly("select OperatorId,Name,Password,SysManager from PosOperator where Code=$1")),
          operatorRights(*this, "select * from PosOperatorRight where OperatorId=$1"),
          // $1 in the form the side keeps: as typed on the server, hashed in the local copy.
          setPassword(*this, "update PosOperator set Password=$1 where Code=$2"),
          // Puts back one operator's hash when the server did not take the new password.
          restorePassword(*this, localOnly("update PosOperator set Password=$1 where OperatorId=$2"))
    {
    }

    Statement shifts;
    Statement shiftByName;
    Statement operatorByCredentials;
    Statement operatorsByCode;
    Statement operatorRights;
    Statement setPassword;
    Statement restorePassword;
};

}  // namespace pos
