#pragma once

#include "base/bill.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "base/sale.h"
#include "db/pg_pipeline.h"
#include "storage/bill_numbering.h"
#include "storage/sale_statements.h"

#include <vector>

namespace pos {

// Results of SaveBill.
enum SaveBillResult {
    BillNotSaved = 0,       // a message has been shown; nothing of the bill is in either database
    BillSavedOnServer = 1,  // online, with the stock, member card and coupon bookings
    BillSavedLocally = 2,   // offline; the bookings follow with the upload
    // Not saved, at checkout: a coupon of the bill has been used since it was read, or the
    // stored-value card's balance on the server no longer covers its part. A message
    // has been shown; nothing of the bill is in either database.
    BillTenderRefused = 3,
    // Not known: an online save lost its answer, the server could not be asked, and the
    // local file could not keep the bill either. The cashier has been told not to take the
    // money again; the bill keeps its number in Bill::saveInDoubt and the next save asks
    // the server about it first.
    BillOutcomeUnknown = 4,
};

// What a save did: its result, and the points it raised on the bill's member card, which
// are more than 0 only once the server is known to hold the bill.
struct SaveOutcome {
    SaveBillResult result = BillNotSaved;
    double pointsBooked = 0;

    SaveOutcome(SaveBillResult result, double pointsBooked = 0) : result(result), pointsBooked(pointsBooked) {}
    bool saved() const { return result == BillSavedOnServer || result == BillSavedLocally; }
};

// The member card side of a save, for a bill whose InsiderCode names a card.
struct CardAccount {
    MemberCardKind cardKind = MemberCardKind::Other;  // a stored-value card's balance pays
    double noPointAmount = 0;  // the part of RealAmount that earns no points
};

// The sale's card facts: those of its member card and its totals.
CardAccount cardOf(const Sale& sale);

// Writes the completed bill as one unit with the statements of the working mode
// (state.NetMode). Unless keepNumber is set, the bill first takes its number from the
// local counter, consumed whatever happens next. Every database failure is handled
// here: rolled back, the counter moved to the next day, the message shown, BillNotSaved
// returned; the bill stays in memory and the working mode stays as it is. The points
// booked on the card come back with a bill saved on the server, for the screen's member.
//
// When the server connection breaks during an online save, the server is asked again
// whether it holds the bill's number: if so the bill is saved (only the answer was
// lost); if not the failure stands. When the server cannot be asked, the person is told
// so and the bill goes into the local file (`local`) under its number, to wait for the
// upload like a bill saved offline (BillSavedLocally); when that local write fails as
// well, BillOutcomeUnknown, with no counter moved. A bill whose earlier save ended so
// keeps its number: online the server is asked about it before anything is sent (held:
// saved; unknown: kept locally again), offline it goes into the local file for the
// upload to check. At checkout (not keepNumber)
// the server transaction first locks the bill's coupons and refuses one no longer
// unused, and books a stored-value payment only while the card's balance covers it
// (BillTenderRefused); an uploaded bill is a sale already made and is booked as it
// stands. A bill being uploaded
// (keepNumber) already waits there: it stays, and BillNotSaved comes back without a
// message of the save's own.
SaveOutcome SaveBill(SaleStatements& sql, SaleStatements& local, BillNumbering& numbering, Person& person,
                        const TPosState& state, Bill& bill, bool keepNumber, const CardAccount& card);

// What became of one bill given to SaveUploadedBills.
enum class UploadedBillResult {
    Saved,      // on the server with its bookings, now or by an earlier try whose answer got lost
    NotSaved,   // the checks or the server refused it: the save's message has been shown
    Unsettled,  // the connection broke and whether the server holds it could not be found out
};

// The save of bills uploaded from the local file, which keep their numbers: for each
// what SaveBill with keep-number does (the checks, then on the server the bill with its
// stock, member card and coupon bookings in one transaction, the counter rolled after a
// failure), but all bills sent in one round trip, each still a server transaction of
// its own, so a failing bill fails alone. `cards` holds each bill's card kind and
// non-point amount. When the connection breaks, the server is asked again which of the
// unanswered bills it holds, as SaveBill does, and the ones it lacks are sent once
// more; bills whose fate is still open then are Unsettled and `lostConnection` says why.
std::vector<UploadedBillResult> SaveUploadedBills(SaleStatements& server, BillNumbering& numbering, Person& person,
                                                  const TPosState& state, const std::vector<Bill>& bills,
                                                  const std::vector<CardAccount>& cards, std::string& lostConnection);

// What an online save sends inside its server transaction, in order: the bill and its
// lines (display columns the server lacks are dropped), the stock booking of every
// line, the member card booking when the bill has a card (unless booked already), the
// coupon marking.
std::vector<SqlStatement> serverSaveStatements(SaleStatements& server, const Bill& bill, MemberCardKind cardKind,
                                               double points, bool cardBooking = true);

}  // namespace pos
