#pragma once

#include "base/sale.h"

namespace pos {

// What Enter in the discount box applies to.
enum class DiscountTarget { NextLine = 1, WholeBill = 2 };

// The register window's state: the sale in progress and where the cashier's input goes.
struct RegisterState {
    Sale sale;
    bool FocusToInput = true;  // leaving an edit box or the grid returns the focus to the input box
    DiscountTarget discountTarget = DiscountTarget::NextLine;
};

}  // namespace pos
