#include "payment/sale_saving.h"

#include "peripherals/customer_display.h"

#include <exception>
#include <functional>
#include <string>

namespace pos {

SaveOutcome SaveSale(const PaymentContext& c, Sale& sale)
{
    BillNumbering numbering(c.dm.conClient().statements<NumberingStatements>(), c.clock);
    const SaveOutcome outcome = SaveBill(c.db().statements<SaleStatements>(),
                                         c.dm.conClient().statements<SaleStatements>(), numbering, c.person, c.state,
                                         sale.bill, false, cardOf(sale));
    sale.member.VIPUsedCount += outcome.pointsBooked;
    // An unknown outcome has said what to do; "failed" would invite charging again.
    if (!outcome.saved() && outcome.result != BillOutcomeUnknown)
        c.person.message("保存数据失败！", "错误", MessageIcon::Error);
    return outcome;
}

void RunAfterSale(const PaymentContext& c, AfterSale& devices, const Sale& sale, double paid, double change,
                  bool print)
{
    auto step = [&c](const char* device, const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& error) {
            c.person.message(std::string("单据已保存，但") + device + "出错：" + error.what(), "错误",
                             MessageIcon::Error);
        }
    };
    const Settings& s = c.settings;
    if (s.hasCustomerDisplay())
        step("顾客显示屏", [&] { devices.showOnDisplay(DisplayPaid, paid); });
    if (s.optionPresent("MoneyBox"))
        step("钱箱", [&] { devices.openDrawer(); });
    if (s.hasPrinter() && print)
        step("小票打印机", [&] { devices.printReceipt(sale); });
    if (s.hasCustomerDisplay())
        step("顾客显示屏", [&] { devices.showOnDisplay(DisplayChange, change); });
}

}  // namespace pos
