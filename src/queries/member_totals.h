#pragma once

#include "base/statement_set.h"

#include <string>

namespace pos {

// The cumulative purchases of a member card, on the connection of the working mode.
class MemberTotalsStatements : public StatementSet {
public:
    explicit MemberTotalsStatements(Database& db)
        : StatementSet(db), totalAmount(*this, "select TotalAmount from B_VIPCards where CardNo=$1")
    {
    }

    Statement totalAmount;
};

// The card's TotalAmount in the general number format, looked up by the number exactly
// as typed; empty when the card is unknown or its total is null, so a card not found
// never shows the total of the card looked up before.
std::string MemberTotalText(MemberTotalsStatements& sql, const std::string& cardNo);

}  // namespace pos
