#pragma once

namespace pos {

struct Terminal;

// Copies the back office's PosOptions into section "Options" of POS.ini: the receipt
// texts and flags only where the terminal has none of its own, the amount and point
// settings always, in one write of the file. Line breaks in a value are stored as
// blanks. Online only; does nothing offline.
void LoadServerOptions(Terminal& t);

}  // namespace pos
