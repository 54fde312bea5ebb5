#pragma once

#include "config/person.h"
#include "config/settings.h"
#include "payment/after_sale.h"
#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"

#include <functional>
#include <string>

namespace pos {

// The after-sale steps on the terminal's devices: the customer display on the line the
// register holds open, the cash drawer, and the receipt through the printing the
// caller owns (it needs the caller's report engine for a template receipt).
class DeviceAfterSale : public AfterSale {
public:
    using ReceiptPrinter = std::function<void(const Bill&)>;

    // programDir: the terminal directory, ending in "/", where drawer-card programs lie.
    DeviceAfterSale(const Settings& settings, Person& person, DisplayPort& display, Launcher& launcher,
                    std::string programDir, ReceiptPrinter printReceipt);

    void showOnDisplay(int kind, double amount) override;
    void openDrawer() override;
    void printReceipt(const Bill& bill) override;

private:
    const Settings& settings_;
    Person& person_;
    DisplayPort& display_;
    Launcher& launcher_;
    std::string programDir_;
    ReceiptPrinter printReceipt_;
};

}  // namespace pos
