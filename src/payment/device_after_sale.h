#pragma once

#include "payment/after_sale.h"
#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"
#include "peripherals/receipt_printing.h"
#include "reports/report_engine.h"

namespace pos {

// The after-sale steps on the terminal's devices: the customer display on the line the
// register holds open, the cash drawer, and the receipt through the register's report
// engine, in the receipt's context (settings, person, header, the terminal directory
// holding POS.frf and the drawer-card programs).
class DeviceAfterSale : public AfterSale {
public:
    DeviceAfterSale(ReceiptContext receipt, DisplayPort& display, Launcher& launcher, ReportEngine& report);

    void showOnDisplay(int kind, double amount) override;
    void openDrawer() override;
    void printReceipt(const Sale& sale) override;

private:
    ReceiptContext receipt_;
    DisplayPort& display_;
    Launcher& launcher_;
    ReportEngine& report_;
};

}  // namespace pos
