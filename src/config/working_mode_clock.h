#pragma once

#include "base/clock.h"
#include "base/pos_state.h"
#include "config/data_module.h"

namespace pos {

// The time of the working mode: the server's online, the terminal's own offline.
class WorkingModeClock : public Clock {
public:
    WorkingModeClock(TDM& dm, const TPosState& state) : dm_(dm), state_(state) {}
    DateTime now() const override { return dm_.serverTime(state_.NetMode); }

private:
    TDM& dm_;
    const TPosState& state_;
};

}  // namespace pos
