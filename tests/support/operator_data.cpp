#include "support/operator_data.h"

#include "db/password_hash.h"

namespace pos::test {

std::string localPassword(const std::string& password) { return hashPassword(password, kTestHashIterations); }

void addOperator(Database& db, const OperatorRow& op)
{
    const bool local = db.dialect() != Dialect::PostgreSql;
    db.execute("insert into PosOperator(OperatorId,Code,Name,Password,SysManager) values($1,$2,$3,$4,$5)",
               {op.id, op.code, op.name, local ? localPassword(op.password) : op.password, op.sysManager});
    for (OperatorRight right : op.rights)
        db.execute("insert into PosOperatorRight(OperatorId,RightId) values($1,$2)", {op.id, rightNumber(right)});
}

void addShift(Database& db, int classId, const std::string& classCode, const std::string& className)
{
    db.execute("insert into PosClassNo(ClassId,ClassCode,ClassName) values($1,$2,$3)",
               {classId, classCode, className});
}

}  // namespace pos::test
