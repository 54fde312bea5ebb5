#pragma once

#include "base/bill.h"
#include "base/statement_set.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

// The numbers of the waiting bills, in order.
std::vector<Value> readWaitingBillNumbers(UploadStatements& local);

// What the server holds under a bill's number, to tell whether it is the local bill.
struct ServerCopy {
    Value machineId;
    std::string billDate;  // to the second
    double realAmount = 0;
    std::int64_t lineCount = 0;
};
// The server's copies of the bills of these numbers, by number.
std::map<std::string, ServerCopy> readServerCopies(UploadStatements& server, const std::vector<std::string>& billNos);
// Whether the server's bill under the number is this local one: sold on the same
// terminal at the same moment, for the same amount, with as many lines. Anything else is
// another sale that got the number.
bool sameBill(const ServerCopy& copy, const Bill& local);

// The kinds of those of these cards the server holds, by card number.
std::map<std::string, std::string> readCardTypes(UploadStatements& server, const std::vector<std::string>& cardNos);

// Those of these coupons the server holds as used.
std::vector<std::string> readUsedCoupons(UploadStatements& server, const std::vector<std::string>& ticketNos);

struct CardBalance {
    std::string cardNo;
    double amount = 0;
};
// Those of these cards whose balance is below zero.
std::vector<CardBalance> readOverdrawnCards(UploadStatements& server, const std::vector<std::string>& cardNos);

}  // namespace pos
