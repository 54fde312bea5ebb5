#pragma once

#include "db/pg_pipeline.h"
#include "base/bill.h"
#include "config/terminal.h"

#include <vector>

namespace pos {

// Results of SaveBill.
enum SaveBillResult : int {
    BillNotSaved = 0,       // a message has been shown; nothing of the bill is in either database
    BillSavedOnServer = 1,  // online, with the stock, member card and coupon bookings
    BillSavedLocally = 2,   // offline; the bookings follow with the upload
};

// The member card side of a save, for a bill whose InsiderCode names a card.
struct CardAccount {
    int cardKind = 1;           // 2: stored-value card
    double noPointAmount = 0;   // the part of RealAmount that earns no points
    double* points = nullptr;   // when set, raised by the points of the bill once it is on the server
};

// Writes the completed bill as one unit to the database of the working mode. Unless
// keepNumber is set, the bill first takes its number from the local counter, consumed
// whatever happens next. Every database failure is handled here: rolled back, the
// counter moved to the next day, the message shown, BillNotSaved returned; the bill
// stays in memory and the working mode stays as it is.
//
// The bill on the screen: the card kind, the non-point amount and the member's points
// are those of t.member and t.totals.
int SaveBill(Terminal& t, Bill& bill, bool keepNumber);
// A bill that brings its own card facts (the upload); t.member is not touched unless
// card.points points into it.
int SaveBill(Terminal& t, Bill& bill, bool keepNumber, const CardAccount& card);

// What an online save sends inside its server transaction, in order: the bill and its
// lines (display columns the server lacks are dropped), the stock booking of every
// line, the member card booking when the bill has a card, the coupon marking.
std::vector<SqlStatement> serverSaveStatements(Database& server, const Bill& bill, int cardKind, double points);

}  // namespace pos
