#pragma once

#include "config/settings.h"
#include "base/bill.h"
#include "base/pos_state.h"

#include <string>

namespace pos {

// One copy of the text receipt of a finished bill, in GBK with CR LF line ends, `width`
// bytes to the line. Reads the receipt keys of section Options at every call and the
// operator, salesman, member card and totals from the three records; changes nothing.
std::string ReceiptText(const Settings& settings, const Bill& bill, int width, const TPosState& state,
                        const CurrentMember& member, const BillTotals& totals);

// Writes ReceiptText to the printer port `device` ("LPT1".."LPT4"), opened for this copy.
// DeviceError when the port cannot be opened or written.
void WriteReceiptText(const Settings& settings, const std::string& device, const Bill& bill, int width,
                      const TPosState& state, const CurrentMember& member, const BillTotals& totals);

}  // namespace pos
