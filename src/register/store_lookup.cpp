#include "register/store_lookup.h"
#include "register/register_statements.h"

#include "config/terminal.h"

namespace pos {
namespace {

void takeStore(TPosState& s, const RowSet& store)
{
    s.StoreId = static_cast<int>(store.first("StoreId").toInt());
    s.StoreCode = store.first("Code").toString();
    s.StoreName = store.first("Name").toString();
}

}  // namespace

bool GetPosStore(Terminal& t)
{
    RowSet store = t.db().statements<RegisterStatements>().posStore.query();
    if (store.empty())
        return false;
    takeStore(t.state, store);
    return true;
}

void GetStoreById(Terminal& t, int storeId)
{
    RowSet store = t.db().statements<RegisterStatements>().storeById.query({storeId});
    t.state.StoreCode = store.first("Code").toString();
    t.state.StoreName = store.first("Name").toString();
}

bool GetStoreByCode(Terminal& t, const std::string& code)
{
    RowSet store = t.db().statements<RegisterStatements>().storeByCode.query({code});
    if (store.empty())
        return false;
    takeStore(t.state, store);
    return true;
}

void GetMachine(Terminal& t, int machineId)
{
    RowSet machine = t.db().statements<RegisterStatements>().machineById.query({machineId});
    t.state.MachineCode = machine.first("MachineCode").toString();
    t.state.MachineName = machine.first("MachineName").toString();
}

}  // namespace pos
