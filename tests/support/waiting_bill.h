#pragma once

#include "base/database.h"

#include <cstdint>
#include <utility>

namespace pos::test {

inline constexpr const char* kWaitingBillNo = "07202403150001";
inline constexpr const char* kWaitingBillDate = "2024-03-15 10:00:00";

// A bill sold offline and not uploaded yet: store 2, cashier 3, terminal 5, one line of
// goods 101 at 10.00, paid in cash.
inline void addWaitingBill(Database& local)
{
    local.execute("insert into PosBill(BillNo,BillDate,StoreId,OperatorId,MachineId,Amount,RealAmount,CashAmount) "
                  "values($1,$2,2,3,5,10,10,10)",
                  {kWaitingBillNo, kWaitingBillDate});
    local.execute("insert into PosDetail(BillNo,OrderId,GoodsId,Quantity,Price,Amount) values($1,1,101,1,10,10)",
                  {kWaitingBillNo});
}

// Where the waiting bill is: its rows in {the local file, the server}.
inline std::pair<std::int64_t, std::int64_t> waitingBillIn(Database& local, Database& server)
{
    const auto count = [](Database& db) {
        return db.query("select count(*) as n from PosBill where BillNo=$1", {kWaitingBillNo}).first("n").toInt();
    };
    return {count(local), count(server)};
}

}  // namespace pos::test
