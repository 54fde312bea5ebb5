#pragma once

#include "base/clock.h"
#include "base/error_log.h"
#include "config/data_module.h"
#include "base/person.h"
#include "config/settings.h"
#include "base/pos_state.h"

namespace pos {

// What every operation of the register works with: the settings, the connections, the
// three state records, the person at the terminal, the clock and the error log. Created
// once by the program (or a test) and passed in; nothing here is global.
struct Terminal {
    Settings& settings;
    TDM& dm;
    TPosState& state;
    CurrentMember& member;
    BillTotals& totals;
    Person& person;
    const Clock& clock;
    ErrorLog& log;

    // The connection of the working mode, chosen at the moment of the call.
    Database& db() { return dm.current(state.NetMode); }
    // A subsystem's statements on that connection.
    template <class Set>
    Set& sql()
    {
        return db().template statements<Set>();
    }
};

}  // namespace pos
