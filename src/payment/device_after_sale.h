#pragma once

#include "payment/after_sale.h"
#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"
#include "reports/report_engine.h"

#include <string>

namespace pos {

struct Terminal;

// The after-sale steps on the terminal's devices: the customer display on the line the
// register holds open, the cash drawer, and the receipt through the calling window's
// report engine.
class DeviceAfterSale : public AfterSale {
public:
    // programDir: the terminal directory, ending in "/", holding POS.frf and the
    // drawer-card programs.
    DeviceAfterSale(Terminal& t, DisplayPort& display, Launcher& launcher, ReportEngine& report,
                    std::string programDir);

    void showOnDisplay(int kind, double amount) override;
    void openDrawer() override;
    void printReceipt(const Bill& bill) override;

private:
    Terminal& t_;
    DisplayPort& display_;
    Launcher& launcher_;
    ReportEngine& report_;
    std::string programDir_;
};

}  // namespace pos
