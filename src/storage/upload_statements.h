#pragma once

#include "base/statement_set.h"

namespace pos {

// What the upload of offline bills runs: on the local file the waiting bills, their rows
// and their deletion; on the server what it holds under a bill's number and the kind of
// a bill's member card.
class UploadStatements : public StatementSet {
public:
    explicit UploadStatements(Database& db);

    Statement waitingBills;
    Statement billMaster;
    // The lines with the goods' display columns the bill record carries.
    Statement billLines;
    Statement deleteBill;
    Statement deleteLines;
    // For a list of numbers ($1, a text array): the facts that tell whether the server's
    // bill of a number is the local one.
    Statement serverCopies;
    // The kinds of a list of member cards ($1, a text array).
    Statement cardTypes;
    // Of a list of coupons ($1, a text array) those the server holds as used.
    Statement usedCoupons;
    // Of a list of cards ($1, a text array) those below zero, with their balance.
    Statement overdrawnCards;
};

}  // namespace pos
