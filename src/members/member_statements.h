#pragma once

#include "base/statement_set.h"
#include "base/waiting_card_spending.h"

#include <optional>
#include <string>

namespace pos {

// The member card's reads on the connection of the working mode (offline the balance
// net of the bills waiting for upload), and its deductions, which only the server takes.
// The card's password never leaves the back office: the read names every column but that
// one, and the server's check asks for the row it matches. The local copy keeps only a
// salted hash, which the terminal checks.
class MemberStatements : public StatementSet {
public:
    explicit MemberStatements(Database& db)
        : StatementSet(db),
          cardByNumber(*this, "select CardNo,HolderName,CardType,DiscountType,Discount,PriceLevel,HandOutDate,ValidDate,"
                                  + pick("Amount", kLocalCardBalance)
                                  + ",TotalAmount,UsedCount,CardState from B_VIPCards where CardNo=$1"),
          cardByPassword(*this, serverOnly("select CardNo,CardType from B_VIPCards where CardNo=$1 and Password=$2")),
          cardPasswordHash(*this, localOnly("select Password from B_VIPCards where CardNo=$1")),
          // Taken off what the server holds now, never written back from what the dialog
          // read, so points a sale credited meanwhile stay; no row when there is not enough.
          takePoints(*this, serverOnly("update B_VIPCards set UsedCount=coalesce(UsedCount,0)-$1 "
                                       "where CardNo=$2 and coalesce(UsedCount,0)>=$1 returning UsedCount")),
          takeTotalAmount(*this, serverOnly("update B_VIPCards set TotalAmount=coalesce(TotalAmount,0)-$1 "
                                            "where CardNo=$2 and coalesce(TotalAmount,0)>=$1 returning TotalAmount"))
    {
    }

    Statement cardByNumber;
    Statement cardByPassword;
    Statement cardPasswordHash;
    Statement takePoints;
    Statement takeTotalAmount;
};

// A member card as cardByNumber reads it, without its password. A null figure stays
// empty, so the dialog shows it blank rather than as 0.
struct MemberCardRecord {
    std::string cardNo;
    std::string holderName;
    std::string cardType;
    std::string handOutDate;  // as stored; the dialog shows the day
    std::string discountType;
    std::optional<double> discount;
    std::optional<double> totalAmount;
    std::optional<double> usedCount;  // the points
    std::string validDate;
    std::optional<double> amount;  // offline less what bills waiting for upload spent
    std::string cardState;
};
// No record when there is no such card.
std::optional<MemberCardRecord> ReadMemberCard(MemberStatements& sql, const std::string& cardNo);

// The local copy's salted hash of the card's password; empty when null or no such card.
std::string readCardPasswordHash(MemberStatements& sql, const std::string& cardNo);

}  // namespace pos
