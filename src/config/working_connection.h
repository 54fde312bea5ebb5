#pragma once

#include "base/database.h"
#include "base/pos_state.h"
#include "config/data_module.h"

namespace pos {

// The connection of the working mode, chosen anew at each call: what an operation or a
// window that may outlive a switch of the working mode (a lost server) holds.
class WorkingConnection {
public:
    WorkingConnection(TDM& dm, const TPosState& state) : dm_(dm), state_(state) {}
    Database& db() const { return dm_.current(state_.NetMode); }
    WorkingMode mode() const { return state_.NetMode; }

private:
    TDM& dm_;
    const TPosState& state_;
};

}  // namespace pos
