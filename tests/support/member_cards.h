#pragma once

#include "base/database.h"
#include "base/value.h"
#include "support/terminal_fixture.h"

#include <string>

namespace pos::test {

// One row of B_VIPCards. A column a test leaves out holds the table's default on both
// sides; Value() stores null.
struct MemberCardRow {
    std::string cardNo;
    Value holderName;
    Value password;
    Value cardType;      // "储值卡": stored-value card
    Value discountType;  // "会员价消费", "累计消费折扣" or a fixed discount
    Value discount = 100;
    Value priceLevel = 0;
    Value handOutDate;
    Value validDate;
    Value amount = 0;  // stored-value balance
    Value totalAmount = 0;
    Value usedCount = 0;  // points
    Value cardState = "正常";
};

void addMemberCard(Database& db, const MemberCardRow& card);

// A card held by "持卡<cardNo>", handed out on 2023-05-01, valid until 2020-12-31, with a
// balance of 88.5.
MemberCardRow cardOfKind(const std::string& cardNo, const std::string& password, const std::string& type,
                         const std::string& discountType, double discount, double totalAmount, double points);

// The card-reading tests' cards: one of each kind, on both sides, with the bands
// [0, 1000) 98 and [1000, 5000) 95:
//   S1 储值卡 (password "123") own discount 90; S2 储值卡 member prices, password "";
//   M1 会员卡 member prices; A1 累计消费折扣 at 2500; A2 the same at 6000 (no band);
//   F0 fixed discount 0; B1 blocked; the operators 1003 (no right, signed on) and
//   kDeductor 1004 (may deduct from a card).
inline constexpr int kDeductor = 4;
void arrangeMemberCards(TerminalFixture& f);

// The member totals tests' cards on one side: V001 with 1234.5 bought, V002 with 88,
// V003 with no total.
void addCardsWithTotals(Database& db);

}  // namespace pos::test
