#pragma once

#include <string>

namespace pos {

struct Terminal;

// Stores and terminals, read on the side of the working mode; the results go into
// TPosState.

// The first store terminals sell from (IsPos=1) becomes the selling store; false when
// there is none.
bool GetPosStore(Terminal& t);
// StoreCode and StoreName of the store with this id; both empty when there is none.
void GetStoreById(Terminal& t, int storeId);
// The store with this code becomes the selling store; false when there is none.
bool GetStoreByCode(Terminal& t, const std::string& code);
// MachineCode and MachineName of this terminal's PosMachine row; both empty when the row
// is missing, so bill numbers then begin with the date.
void GetMachine(Terminal& t, int machineId);

}  // namespace pos
