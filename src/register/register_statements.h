#pragma once

#include "base/statement_set.h"

namespace pos {

// What the register itself reads on one connection: stores, the terminal's row,
// salespeople, back-office options, waiting bills and the key map.
class RegisterStatements : public StatementSet {
public:
    explicit RegisterStatements(Database& db)
        : StatementSet(db),
          posStore(*this, "select * from B_Store where IsPos=1 order by StoreId limit 1"),
          storeById(*this, "select * from B_Store where StoreId=$1"),
          storeByCode(*this, "select * from B_Store where Code=$1 order by StoreId limit 1"),
          machineById(*this, "select * from PosMachine where MachineId=$1"),
          employeeByCode(*this, "select EmployId,Name from B_Employ where Code=$1 order by EmployId limit 1"),
          serverOptions(*this, serverOnly("select * from PosOptions")),
          waitingBills(*this, localOnly("select count(*) as n from PosBill")),
          sysKey(*this, localOnly("select SysKey from PosHelp where ifnull(FirClientKey,'')=$1 "
                                   "and ifnull(SecClientKey,'')=$2 limit 1"))
    {
    }

    Statement posStore;
    Statement storeById;
    Statement storeByCode;
    Statement machineById;
    Statement employeeByCode;
    Statement serverOptions;
    Statement waitingBills;  // bills of the local file not yet uploaded
    Statement sysKey;        // the command of a key combination, from the local key map
};

}  // namespace pos
