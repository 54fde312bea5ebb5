#pragma once

#include "base/bill.h"

namespace pos {

// What Enter in the discount box applies to.
enum class DiscountTarget { NextLine = 1, WholeBill = 2 };

// Amounts of the last completed bill, shown under "上单应收", "上单实收", "上单找零".
struct PreviousBill {
    double RealAmount = 0;
    double ClientAmount = 0;
    double ChangeAmount = 0;
};

// The register window's own state beside TPosState, CurrentMember and BillTotals: the
// bill in progress and the fields the goods lookup, line entry and recall change.
struct RegisterState {
    Bill bill;
    int NextOrderId = 1;       // OrderId of the next new line; advanced by the goods lookup and recall
    bool FocusToInput = true;  // leaving an edit box or the grid returns the focus to the input box
    DiscountTarget discountTarget = DiscountTarget::NextLine;
    PreviousBill previous;
};

}  // namespace pos
