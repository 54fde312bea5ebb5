#pragma once

#include "base/pos_state.h"
#include "base/row_set.h"
#include "members/member_statements.h"

#include <optional>
#include <string>

namespace pos {

struct Terminal;

inline constexpr const char* kStoredValueCardType = "储值卡";
// From this many ticks of 10 ms between the first character and Enter, a number
// counts as typed by hand: about 0.15 s.
inline constexpr int kHandTypedTicks = 16;

// The card row without its password; no row when there is no such card.
RowSet ReadMemberCard(MemberStatements& sql, const std::string& cardNo);
// Whether the password is the card's: compared by the server online, against the
// local copy's hash offline.
bool CheckCardPassword(MemberStatements& sql, const std::string& cardNo, const std::string& password);
bool isStoredValueCard(const RowSet& card);

// The texts of the card's group "会员卡信息".
struct MemberCardShown {
    std::string cardNo, holder, cardType, handOutDate, discountType, discount, totalAmount, points, validDate,
        cardAmount;
};
MemberCardShown cardShown(const RowSet& card);

enum class CardCheckOutcome { NoNumber, HandTyped, Unknown, WrongPassword, Blocked, Accepted };

struct CardCheck {
    CardCheckOutcome outcome;
    std::optional<MemberCardShown> shown;  // once the card was found, also when refused
};

// The card check of the member card dialog on the numbers as typed and the ticks the
// number took to arrive (0 outside swipe-only mode). A refusal is shown to the person;
// an accepted card fills `member` (its balance is left to the stored-value payment),
// with the band rate for discounts by cumulative purchases. The dialog passes a copy of
// CurrentMember, which takes it only when the dialog closes with the card accepted.
CardCheck CheckMemberCard(Terminal& t, CurrentMember& member, const std::string& cardNo, const std::string& password,
                          int ticks);

enum class Deduction { Points, TotalAmount };
enum class DeductionOutcome { NoCard, NotAllowed, Nothing, NotEnough, Failed, Done };

struct DeductionResult {
    DeductionOutcome outcome;
    double newValue = 0;  // what the card holds now, when Done
};

// Takes points or cumulative purchases off the card shown, for an operator holding
// right 10 (or granted it): the amount is asked, checked against the value shown and
// taken off on the server in either working mode. Every refusal and a failure with its
// reason are shown to the person. CurrentMember is not touched.
DeductionResult DeductFromCard(Terminal& t, Deduction what, const std::string& cardNo, const std::string& shownValue);

}  // namespace pos
