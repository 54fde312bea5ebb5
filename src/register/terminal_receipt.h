#pragma once

#include "config/terminal.h"
#include "peripherals/receipt_printing.h"

namespace pos {

// Receipts printed at this terminal: its settings, its person, its cashier, shift and
// store, and its directory holding POS.frf.
inline ReceiptContext terminalReceipt(Terminal& t)
{
    return {t.settings, t.person, ReceiptHeader::of(t.state), t.settings.directory()};
}

}  // namespace pos
