#include "payment/sale_saving.h"

#include "config/terminal.h"

#include <exception>
#include <string>

namespace pos {

SaveBillResult SaveSale(Terminal& t, Bill& bill)
{
    BillNumbering numbering(t.dm.conClient().statements<NumberingStatements>(), t.clock);
    const SaveBillResult result = SaveBill(t.db().statements<SaleStatements>(),
                                           t.dm.conClient().statements<SaleStatements>(), numbering, t.person,
                                           t.state, bill, false, cardOnScreen(t.member, t.totals));
    // An unknown outcome has said what to do; "failed" would invite charging again.
    if (result != BillSavedOnServer && result != BillSavedLocally && result != BillOutcomeUnknown)
        t.person.message("保存数据失败！", "错误", MessageIcon::Error);
    return result;
}

void RunDeviceStep(Terminal& t, const char* device, const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        t.person.message(std::string("单据已保存，但") + device + "出错：" + error.what(), "错误", MessageIcon::Error);
    }
}

}  // namespace pos
