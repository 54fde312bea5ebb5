#pragma once

#include "base/clock.h"
#include "base/error_log.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "config/data_module.h"

#include <string>

namespace pos {

// What a password change works with: both connections, the working mode and the
// signed-on operator (read at the call), the person told and the log with its time.
struct PasswordChangeContext {
    TDM& dm;
    const TPosState& state;
    Person& person;
    ErrorLog& log;
    const Clock& clock;
};

// Sets an operator's new password on both sides, each in the form it keeps: as typed in
// the back office, as a salted hash in the local copy. Online only; offline the person
// is told to switch and nothing changes. The server's change is committed only once
// the local copy holds the new password, and the local copy is put back when that
// commit fails: each such failure is told to the person, saying which password now
// holds where, and logged with its reason. Shows its own messages. A server that
// refuses the update changes nothing on either side; its error is passed on.
void ChangePassword(const PasswordChangeContext& c, const std::string& code, const std::string& newPassword);

}  // namespace pos
