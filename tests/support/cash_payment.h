#pragma once

#include "base/bill.h"

namespace pos::test {

// Fills the master record as checkout leaves a bill paid in cash, exactly its amount:
// sold on 2024-03-15 10:29:41 on shift 1 and terminal 5, without member card, whole-bill
// discount or coupon.
inline void payInCash(Bill& bill, int storeId, int operatorId, double amount)
{
    bill.billDate() = "2024-03-15 10:29:41";
    bill.storeId() = storeId;
    bill.operatorId() = operatorId;
    bill.classId() = 1;
    bill.machineId() = 5;
    bill.insiderCode() = "";
    bill.discount() = 100;
    bill.amount() = amount;
    bill.realAmount() = amount;
    bill.cashAmount() = amount;
    bill.cardAmount1() = 0;
    bill.cardAmount2() = 0;
    bill.cardAmount3() = 0;
    bill.changeAmount() = 0;
    bill.cardNo() = "";
    bill.isCloseOff() = 0;
}

}  // namespace pos::test
