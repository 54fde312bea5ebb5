#pragma once

#include "access/access_statements.h"

#include <string>
#include <vector>

namespace pos {

struct Terminal;

// The shift names for the login list, in the order the rows come.
std::vector<std::string> shiftNames(AccessStatements& sql);

enum class SignOnResult { SignedOn, BadCredentials, NoShift };

// Signs the operator on for a shift on the connection of the working mode; on success
// the operator and shift fields of t.state are filled. shiftName is the list entry as
// chosen ("" when none is chosen).
SignOnResult signOn(Terminal& t, const std::string& code, const std::string& password, const std::string& shiftName);

}  // namespace pos
