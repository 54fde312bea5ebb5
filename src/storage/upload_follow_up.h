#pragma once

#include "base/bill.h"
#include "base/person.h"
#include "storage/upload_statements.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pos {

// What an upload books that the shop must follow up: offline, two terminals (or a
// balance or coupon list downloaded before another sale) may have spent the same card
// balance or coupon. The bills are booked all the same, since those sales happened; the
// cards left below zero and the coupons spent twice are told to the cashier and written
// to the error log.
class UploadFollowUp {
public:
    explicit UploadFollowUp(UploadStatements& server) : server_(server) {}

    // Before a round is sent: which of its coupons the server holds as used already.
    void beforeSending(const std::vector<Bill>& bills);
    // A bill of the round that the server booked; storedValue: its card is a stored-value card.
    void booked(const Bill& bill, bool storedValue);
    // After the round's bookings: the balances of the cards they spent from.
    void afterBooking();

    // One message listing everything found, and one log line each; nothing when all is well.
    void report(Person& person, const std::function<void(const std::string&)>& logLine) const;

private:
    UploadStatements& server_;
    std::set<std::string> usedBefore_;    // coupons used on the server before the round
    std::set<std::string> spent_;         // coupons of the bills booked by this upload
    std::vector<std::string> cardsSpent_; // stored-value cards the round's bills took money from
    std::map<std::string, double> overdrawn_;
    std::vector<std::string> findings_;
};

}  // namespace pos
