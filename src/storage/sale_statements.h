#pragma once

#include "db/row_copy.h"

#include <memory>

namespace pos {

// What saving a bill runs on one connection: the copies of the bill into PosBill and
// PosDetail, on the server the stock and member card bookings, and what ends the
// session of a save whose connection broke.
class SaleStatements : public StatementSet {
public:
    explicit SaleStatements(Database& db);

    Statement updateStock;
    Statement ordinaryCardBooking;
    Statement storedValueCardBooking;
    // The booking of a payment at checkout: only while the balance covers it; a card
    // amount of 0 books on a card below zero too.
    Statement storedValueCardPayment;
    Statement cardExists;
    // Ends a broken session of this login and waits for it to be gone.
    Statement endSession;

    // Built on the first save: the bill's columns are fixed once its data sets open.
    RowCopy& billCopy(const Columns& source) { return copyInto(bill_, "PosBill", source); }
    RowCopy& lineCopy(const Columns& source) { return copyInto(lines_, "PosDetail", source); }

private:
    RowCopy& copyInto(std::unique_ptr<RowCopy>& copy, const char* table, const Columns& source);

    std::unique_ptr<RowCopy> bill_;
    std::unique_ptr<RowCopy> lines_;
};

}  // namespace pos
