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
                                   "and ifnull(SecClientKey,'')=$2 limit 1")),
          keyMap(*this, localOnly("select * from PosHelp order by OrderNo")),
          setKeys(*this, localOnly("update PosHelp set FirClientKey=$1, SecClientKey=$2 where SysKey=$3")),
          // A command code's default is the code ended by Enter; a line-editing key's is
          // the arrow key alone, which the key-down lookup finds.
          restoreDefaultKeys(*this, localOnly("update PosHelp set "
                                              "FirClientKey=case SysKey when '↑' then 'Up Arrow' "
                                              "when '→' then 'Right Arrow' when '↓' then 'Down Arrow' "
                                              "else SysKey end, "
                                              "SecClientKey=case when SysKey in ('↑','→','↓') then '' "
                                              "else 'Enter' end"))
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
    Statement keyMap;        // every row of the key map, in display order
    Statement setKeys;       // a command's two keys
    Statement restoreDefaultKeys;
};

// How many bills of the local file wait for upload.
inline std::int64_t countWaitingBills(RegisterStatements& local) { return local.waitingBills.query().first("n").toInt(); }

}  // namespace pos
