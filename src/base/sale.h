#pragma once

#include "base/bill.h"

#include <string>

namespace pos {

// How a discount is in force on the sale: it decides whether "/" and "8/" may run and
// whether the discount box goes back to 100 after a goods input.
enum class BillDiscountState : int {
    None = 0,
    LineDiscount = 1,  // a line discount typed for the next goods input
    WholeBill = 2,     // every goods input of the bill gets the discount in the box
};

// How a member card lowers prices (B_VIPCards.DiscountType).
enum class MemberDiscountType : int {
    None = 0,
    MemberPrices = 1,  // the goods' member prices
    Cumulative = 2,    // a rate by the card's cumulative purchases
    CardDiscount = 3,  // the card's own rate
};

// What the card on the bill is. Unknown: no card read, or a reprint of a bill that keeps
// no card balance or totals, so none are printed.
enum class MemberCardKind : int { Unknown = 0, Other = 1, StoredValue = 2 };

// Whether the member's rate is a whole-bill discount: every goods input of the bill gets it.
inline bool isWholeBillRate(MemberDiscountType type)
{
    return type == MemberDiscountType::Cumulative || type == MemberDiscountType::CardDiscount;
}

// The member card on the sale.
struct CurrentMember {
    std::string VIPCardNo;
    std::string VIPHolderName;
    MemberCardKind VIPCardKind = MemberCardKind::Unknown;
    MemberDiscountType VIPDiscountType = MemberDiscountType::None;
    double VIPDiscount = 0;
    double VIPTotalAmount = 0;
    double VIPUsedCount = 0;
    double VIPCardBalance = 0;

    bool hasStoredValueCard() const { return !VIPCardNo.empty() && VIPCardKind == MemberCardKind::StoredValue; }
};

// Running totals of the sale's lines.
struct BillTotals {
    double TotalQty = 0;
    double DisAmount = 0;
    double NoPointAmount = 0;
};

// Amounts of the last completed sale, shown under "上单应收", "上单实收", "上单找零".
struct PreviousBill {
    double RealAmount = 0;
    double ClientAmount = 0;
    double ChangeAmount = 0;
};

// The sale in progress, whole: the bill and its lines, the member on it, the salesman,
// the totals, the discount in force and the next line number, with the amounts of the
// sale before it for the screen. A new sale is a new Sale; what lives as long as the
// terminal (connections, settings, operator, shift, store) is not here.
struct Sale {
    Bill bill;
    CurrentMember member;
    std::string ExeManCode;  // the salesman ("33/"), code and name as the receipt prints them
    std::string ExeManName;
    BillTotals totals;
    BillDiscountState DiscountState = BillDiscountState::None;
    int NextOrderId = 1;  // OrderId of the next new line; advanced by the goods lookup and recall
    PreviousBill previous;

    // The sale after this one: a bill of the same shape with an empty master record and
    // no lines, no member, salesman or discount, and this sale's previous amounts.
    Sale next() const;
};

}  // namespace pos
