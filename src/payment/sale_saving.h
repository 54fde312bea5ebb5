#pragma once

#include "base/bill.h"
#include "storage/bill_saving.h"

#include <functional>

namespace pos {

struct Terminal;

// Saves the completed bill of the screen with a new number, as the checkout and the
// stored-value payment do; a failure is told with "保存数据失败！" after the save's own
// message, except an unknown outcome, whose message asks not to charge again.
SaveBillResult SaveSale(Terminal& t, Bill& bill);

// One after-sale step on a device. The bill is saved: a failing device is told to the
// cashier and the next step runs.
void RunDeviceStep(Terminal& t, const char* device, const std::function<void()>& action);

}  // namespace pos
