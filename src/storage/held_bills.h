#pragma once

#include "base/bill.h"
#include "base/clock.h"
#include "base/person.h"
#include "base/sale.h"
#include "pricing/pricing_statements.h"
#include "storage/bill_numbering.h"
#include "storage/held_bill_statements.h"

#include <string>

namespace pos {

// Parks the bill in the local file under the next hold number ("0001" when none is
// held, else the largest plus one), master and lines in one transaction. The bill in
// memory is left as it was. A check that fails, a full range of hold numbers or a
// database error is shown and returns false with nothing stored.
bool HoldBill(HeldBillStatements& local, Person& person, const Bill& bill);

// The hold numbers of the held bills, in order (column BillNo).
RowSet HeldBillNumbers(HeldBillStatements& local);

// Turns the held bill into the sale in progress, which has just started and has no
// lines: the master keeps the new bill's values except the number (peeked at on the
// counter under machineCode), the time (the working mode's clock), the salesperson and
// the member card, which come back with the member card record and the salesperson's
// code and name. The lines come back as they were held, numbered from 1, and
// NextOrderId follows them.
// The held copy is then deleted; when that fails it stays to be recalled again. A hold
// number no longer held changes nothing.
void RecallBill(HeldBillStatements& local, PricingStatements& pricing, BillNumbering& numbering,
                const Clock& modeClock, const std::string& holdNo, const std::string& machineCode, Sale& sale);

// Deletes every held bill; an error leaves them all.
void ClearHeldBills(HeldBillStatements& local);

}  // namespace pos
