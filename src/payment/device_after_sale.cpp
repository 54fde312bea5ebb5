#include "payment/device_after_sale.h"

#include "peripherals/cash_drawer.h"

namespace pos {

DeviceAfterSale::DeviceAfterSale(const Settings& settings, Person& person, DisplayPort& display,
                                 Launcher& launcher, std::string programDir, ReceiptPrinter printReceipt)
    : settings_(settings),
      person_(person),
      display_(display),
      launcher_(launcher),
      programDir_(std::move(programDir)),
      printReceipt_(std::move(printReceipt))
{
}

void DeviceAfterSale::showOnDisplay(int kind, double amount) { ShowOnCustomerDisplay(settings_, display_, kind, amount); }

void DeviceAfterSale::openDrawer() { OpenCashDrawer(settings_, person_, launcher_, programDir_); }

void DeviceAfterSale::printReceipt(const Bill& bill) { printReceipt_(bill); }

}  // namespace pos
