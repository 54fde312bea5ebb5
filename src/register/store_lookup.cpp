#include "register/store_lookup.h"
#include "register/register_statements.h"

namespace pos {
namespace {

std::optional<Store> firstStore(const RowSet& rows)
{
    if (rows.empty())
        return std::nullopt;
    return Store{static_cast<int>(rows.first("StoreId").toInt()), rows.first("Code").toString(),
                 rows.first("Name").toString()};
}

}  // namespace

std::optional<Store> GetPosStore(RegisterStatements& sql) { return firstStore(sql.posStore.query()); }

std::optional<Store> GetStoreById(RegisterStatements& sql, int storeId)
{
    return firstStore(sql.storeById.query({storeId}));
}

std::optional<Store> GetStoreByCode(RegisterStatements& sql, const std::string& code)
{
    return firstStore(sql.storeByCode.query({code}));
}

Machine GetMachine(RegisterStatements& sql, int machineId)
{
    const RowSet machine = sql.machineById.query({machineId});
    return Machine{machine.first("MachineCode").toString(), machine.first("MachineName").toString()};
}

void sellFrom(TPosState& s, const Store& store)
{
    s.StoreId = store.id;
    s.StoreCode = store.code;
    s.StoreName = store.name;
}

}  // namespace pos
