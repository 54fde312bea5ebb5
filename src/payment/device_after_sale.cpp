#include "payment/device_after_sale.h"

#include "peripherals/cash_drawer.h"
#include "peripherals/receipt_printing.h"
#include "config/terminal.h"

namespace pos {

DeviceAfterSale::DeviceAfterSale(Terminal& t, DisplayPort& display, Launcher& launcher, ReportEngine& report,
                                 std::string programDir)
    : t_(t), display_(display), launcher_(launcher), report_(report), programDir_(std::move(programDir))
{
}

void DeviceAfterSale::showOnDisplay(int kind, double amount) { ShowOnCustomerDisplay(t_.settings, display_, kind, amount); }

void DeviceAfterSale::openDrawer() { OpenCashDrawer(t_.settings, t_.person, launcher_, programDir_); }

void DeviceAfterSale::printReceipt(const Bill& bill) { PrintBill(ReceiptContext::of(t_, programDir_), report_, bill); }

}  // namespace pos
