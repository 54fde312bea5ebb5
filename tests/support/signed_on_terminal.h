#pragma once

#include "base/pos_state.h"
#include "support/terminal_fixture.h"

namespace pos::test {

inline constexpr int kCashier = 3;  // holds no right
inline constexpr int kStoreId = 2;

// Signed on as the cashier at store 2 on terminal "07".
inline void signOnAsCashier(TPosState& state)
{
    state.MachineCode = "07";
    state.OperatorId = kCashier;
    state.StoreId = kStoreId;
}

// A terminal after start-up with the cashier signed on, online.
class SignedOnTerminal : public TerminalFixture {
public:
    SignedOnTerminal() { signOnAsCashier(state); }
};

}  // namespace pos::test
