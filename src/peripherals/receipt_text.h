#pragma once

#include "config/settings.h"
#include "base/sale.h"
#include "peripherals/receipt_header.h"

#include <string>

namespace pos {

// One copy of the text receipt of a finished sale, in GBK with CR LF line ends, `width`
// bytes to the line. Reads the receipt keys of section Options at every call, the
// cashier from the header and the salesman, member card and totals from the sale;
// changes nothing.
std::string ReceiptText(const Settings& settings, const Sale& sale, int width, const ReceiptHeader& header);

// Writes ReceiptText to the printer port `device` ("LPT1".."LPT4"), opened for this copy.
// DeviceError when the port cannot be opened or written.
void WriteReceiptText(const Settings& settings, const std::string& device, const Sale& sale, int width,
                      const ReceiptHeader& header);

}  // namespace pos
