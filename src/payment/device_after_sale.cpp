#include "payment/device_after_sale.h"

#include "peripherals/cash_drawer.h"

namespace pos {

DeviceAfterSale::DeviceAfterSale(ReceiptContext receipt, DisplayPort& display, Launcher& launcher, ReportEngine& report)
    : receipt_(std::move(receipt)), display_(display), launcher_(launcher), report_(report)
{
}

void DeviceAfterSale::showOnDisplay(int kind, double amount)
{
    ShowOnCustomerDisplay(receipt_.settings, display_, kind, amount);
}

void DeviceAfterSale::openDrawer()
{
    OpenCashDrawer(receipt_.settings, receipt_.person, launcher_, receipt_.programDir);
}

void DeviceAfterSale::printReceipt(const Sale& sale) { PrintBill(receipt_, report_, sale); }

}  // namespace pos
