#pragma once

#include "access/access_statements.h"
#include "base/pos_state.h"

#include <string>
#include <vector>

namespace pos {

// The shift names for the login list, in the order the rows come.
std::vector<std::string> shiftNames(AccessStatements& sql);

enum class SignOnResult { SignedOn, BadCredentials, NoShift };

// Signs the operator on for a shift, checked on the statements given (those of the
// working mode); on success the operator and shift fields of state are filled.
// shiftName is the list entry as chosen ("" when none is chosen).
SignOnResult signOn(AccessStatements& sql, TPosState& state, const std::string& code, const std::string& password,
                    const std::string& shiftName);

}  // namespace pos
