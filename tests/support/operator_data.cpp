#include "support/operator_data.h"

namespace pos::test {

void addOperator(Database& db, const OperatorRow& op)
{
    db.execute("insert into PosOperator(OperatorId,Code,Name,Password,SysManager) values($1,$2,$3,$4,$5)",
               {op.id, op.code, op.name, op.password, op.sysManager});
    for (OperatorRight right : op.rights)
        db.execute("insert into PosOperatorRight(OperatorId,RightId) values($1,$2)", {op.id, rightNumber(right)});
}

void addShift(Database& db, int classId, const std::string& classCode, const std::string& className)
{
    db.execute("insert into PosClassNo(ClassId,ClassCode,ClassName) values($1,$2,$3)",
               {classId, classCode, className});
}

}  // namespace pos::test
