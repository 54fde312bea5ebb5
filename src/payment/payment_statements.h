#pragma once

#include "base/statement_set.h"

namespace pos {

// What the tenders read on the connection of the working mode: a coupon by its number,
// and the figures of the stored-value card on the bill.
class PaymentStatements : public StatementSet {
public:
    explicit PaymentStatements(Database& db);

    Statement readCoupon;
    Statement readCard;
};

}  // namespace pos
