#pragma once

#include "base/person.h"
#include "config/data_module.h"

#include <string>

namespace pos {

// Sets an operator's new password on both sides, each in the form it keeps: as typed in
// the back office, as a salted hash in the local copy. Online only; offline the person
// is told to switch and nothing changes. Shows its own messages. Database errors are
// passed on; when the server refuses, the local copy is left as it was.
void ChangePassword(TDM& dm, WorkingMode netMode, Person& person, const std::string& code,
                    const std::string& newPassword);

}  // namespace pos
