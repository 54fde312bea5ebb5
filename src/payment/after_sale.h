#pragma once

#include "base/sale.h"

namespace pos {

// The devices a completed sale drives, called by the checkout once the bill is saved.
// Each may throw when its device fails; the sale is kept all the same.
class AfterSale {
public:
    virtual ~AfterSale() = default;
    // kind: DisplayPaid or DisplayChange of the customer display.
    virtual void showOnDisplay(int kind, double amount) = 0;
    virtual void openDrawer() = 0;
    virtual void printReceipt(const Sale& sale) = 0;
};

}  // namespace pos
