#pragma once

#include "base/pos_state.h"

#include <optional>
#include <string>

namespace pos {

class RegisterStatements;

struct Store {
    int id = 0;
    std::string code;
    std::string name;
};

// A terminal's PosMachine row; both empty when the row is missing, so bill numbers then
// begin with the date.
struct Machine {
    std::string code;
    std::string name;
};

// Stores and terminals, read with the statements of the working mode.

// The first store terminals sell from (IsPos=1); nullopt when there is none.
std::optional<Store> GetPosStore(RegisterStatements& sql);
std::optional<Store> GetStoreById(RegisterStatements& sql, int storeId);
std::optional<Store> GetStoreByCode(RegisterStatements& sql, const std::string& code);
Machine GetMachine(RegisterStatements& sql, int machineId);

// The store becomes the one the terminal sells from.
void sellFrom(TPosState& s, const Store& store);

}  // namespace pos
