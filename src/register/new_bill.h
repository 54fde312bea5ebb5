#pragma once

#include "base/clock.h"
#include "base/pos_state.h"
#include "base/sale.h"
#include "storage/bill_numbering.h"

#include <string>

namespace pos {

struct Terminal;

// The texts of the bill's header labels.
struct BillHeader {
    std::string billNo;        // lblBillNo
    std::string operatorCode;  // lblOperator
    std::string machineName;   // lblMachineNo
    std::string className;     // lblClassNo
    std::string member;        // lblVIPCardNo
    std::string exeMan;        // lblExeMan
};

// What the header labels show for the bill in progress.
BillHeader currentBillHeader(const TPosState& state, const Sale& sale);

// "card number, two blanks, holder" while a member card is on the bill; empty otherwise.
std::string memberCaption(const CurrentMember& member);

// Starts the sale's bill on its master record: the number it is expected to get, the
// time, the terminal's store, operator, shift and machine, and no salesman, member or
// payment. The lines, NextOrderId, the discount box and DiscountState are left to the
// caller. The number is peeked at on the local counter, the time read on the working
// mode's clock. Returns what the header labels show now.
BillHeader NewBill(BillNumbering& numbering, const Clock& modeClock, const TPosState& state, Sale& sale);

// NewBill with the terminal's counter and the working mode's clock. When the server does
// not answer the time, the bill starts on the terminal's clock all the same, and then
// the server's error is raised for the error handler.
BillHeader startNewBill(Terminal& t, Sale& sale);

}  // namespace pos
