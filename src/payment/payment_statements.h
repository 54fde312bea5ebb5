#pragma once

#include "base/statement_set.h"

#include <optional>
#include <string>

namespace pos {

// What the tenders read on the connection of the working mode: a coupon by its number,
// and the figures of the stored-value card on the bill.
class PaymentStatements : public StatementSet {
public:
    explicit PaymentStatements(Database& db);

    Statement readCoupon;
    Statement readCard;
};

struct Coupon {
    double amount = 0;
    bool used = false;  // offline also when a bill waiting for upload names it
};
std::optional<Coupon> findCoupon(PaymentStatements& sql, const std::string& ticketNo);

// The figures of a member card as the stored-value tender shows them.
struct CardFigures {
    double discount = 0;
    double balance = 0;  // offline less what bills waiting for upload spent
    double totalAmount = 0;
};
std::optional<CardFigures> findCard(PaymentStatements& sql, const std::string& cardNo);

}  // namespace pos
