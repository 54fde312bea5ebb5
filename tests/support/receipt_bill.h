#pragma once

#include "support/memory_bill.h"

#include <string>

namespace pos::test {

// A bill in memory as the receipts print it: number 0001240315001 of
// 2024-03-15 09:05:59, paid in cash, no lines yet.
inline Bill receiptBill(double realAmount, double cashAmount, double changeAmount)
{
    Bill bill = memoryBill();
    bill.master.append();
    bill.billNo() = "0001240315001";
    bill.billDate() = "2024-03-15 09:05:59";
    bill.amount() = realAmount;
    bill.realAmount() = realAmount;
    bill.cashAmount() = cashAmount;
    bill.cardAmount2() = 0.0;
    bill.changeAmount() = changeAmount;
    return bill;
}

// Appends a line as a receipt shows it: the next line number, sold at its regular price.
inline BillLine appendReceiptLine(Bill& bill, const std::string& name, double quantity, double price,
                                  double discount, double amount)
{
    const BillLine line = bill.line(bill.detail.append());
    line.orderId() = static_cast<int>(bill.detail.size());
    line.name() = name;
    line.quantity() = quantity;
    line.price() = price;
    line.discount() = discount;
    line.amount() = amount;
    line.sPrice1() = price;
    return line;
}

}  // namespace pos::test
