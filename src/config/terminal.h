#pragma once

#include "base/clock.h"
#include "base/error_log.h"
#include "config/data_module.h"
#include "base/person.h"
#include "config/settings.h"
#include "base/pos_state.h"

namespace pos {

// What the register works with for as long as the terminal runs: the settings, the
// connections, the terminal's state, the person at the terminal, the clock and the error
// log. Created once by the program (or a test) and passed in; nothing here is global.
// Only the register and the program hold it: below them an operation takes what it uses.
struct Terminal {
    Settings& settings;
    TDM& dm;
    TPosState& state;
    Person& person;
    const Clock& clock;
    ErrorLog& log;

    // The connection of the working mode, chosen at the moment of the call; a
    // subsystem's statements are `db().statements<Set>()`.
    Database& db() { return dm.current(state.NetMode); }
};

}  // namespace pos
