#pragma once

#include "base/clock.h"
#include "base/error_log.h"
#include "base/operator_rights.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "base/sale.h"
#include "config/data_module.h"
#include "members/member_statements.h"

#include <optional>
#include <string>

namespace pos {

inline constexpr const char* kStoredValueCardType = "储值卡";
// From this many ticks of 10 ms between the first character and Enter, a number
// counts as typed by hand: about 0.15 s.
inline constexpr int kHandTypedTicks = 16;

// Whether the password is the card's: compared by the server online, against the
// local copy's hash offline.
bool CheckCardPassword(MemberStatements& sql, const std::string& cardNo, const std::string& password);
bool isStoredValueCard(const MemberCardRecord& card);

// The texts of the card's group "会员卡信息".
struct MemberCardShown {
    std::string cardNo, holder, cardType, handOutDate, discountType, discount, totalAmount, points, validDate,
        cardAmount;
};
MemberCardShown cardShown(const MemberCardRecord& card);

// What the member card checks and deductions use of the terminal: the connections (cards
// are read on the working mode's, deducted on the server's), the state naming the mode
// and the operator, the person, the rights and the log with its clock.
struct MemberCardContext {
    TDM& dm;
    const TPosState& state;
    Person& person;
    Rights& rights;
    ErrorLog& log;
    const Clock& clock;

    Database& db() const { return dm.current(state.NetMode); }
};

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
CardCheck CheckMemberCard(const MemberCardContext& c, CurrentMember& member, const std::string& cardNo, const std::string& password,
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
DeductionResult DeductFromCard(const MemberCardContext& c, Deduction what, const std::string& cardNo, const std::string& shownValue);

}  // namespace pos
