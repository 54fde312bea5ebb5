#pragma once

#include "config/data_module.h"
#include "config/settings.h"
#include "base/pos_state.h"
#include "config/terminal.h"
#include "base/sale.h"
#include "members/member_card.h"
#include "payment/sale_saving.h"
#include "register/terminal_rights.h"
#include "support/back_office.h"
#include "support/fixed_clock.h"
#include "support/scripted_person.h"
#include "support/strict_error_log.h"
#include "support/temp_dir.h"

namespace pos::test {

// A terminal as the register has it after start-up: POS.ini in a temp dir naming the
// test cluster, a private back office, the local file POS.mdb open with its tables,
// the server connection moved to the account set and the working mode online. Set
// state.NetMode to Offline to work on the local file. The person is scripted and
// starts with nothing recorded; the error log fails the test on an error not expected.
class TerminalFixture {
public:
    TerminalFixture();
    // A terminal before start-up: POS.ini names the test cluster, nothing is open yet
    // and the working mode is offline.
    struct BeforeStartUp {};
    explicit TerminalFixture(BeforeStartUp);
    TerminalFixture(const TerminalFixture&) = delete;
    TerminalFixture& operator=(const TerminalFixture&) = delete;

    // Where to arrange data for a working mode: the account set or the local file.
    Database& side(WorkingMode netMode);

    TempDir dir;
    BackOffice office;
    Settings settings;
    ScriptedPerson person;
    FixedClock clock;
    StrictErrorLog log;
    TDM dm;
    TPosState state;
    Terminal terminal;
    TerminalRights rights{terminal};
    // The sale the logic below the register works on.
    Sale sale;

    // What payments and member cards take of this terminal.
    PaymentContext payment() { return {dm, state, settings, person, rights, clock}; }
    MemberCardContext memberCards() { return {dm, state, person, rights, log, clock}; }
};

}  // namespace pos::test
