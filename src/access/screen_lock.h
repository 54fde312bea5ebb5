#pragma once

#include "access/access_statements.h"

#include <string>

namespace pos {

// Whether the typed text opens the terminal locked by the operator signed on
// (operatorId, operatorCode): that operator's password (blanks around it aside),
// checked on the statements given (those of the working mode) as at sign-on. Another
// operator's password does not open it, even one sharing the code, and no code built
// into the program does: such a code would be the same secret in every copy. Database
// errors are passed on.
bool UnlocksTerminal(AccessStatements& sql, int operatorId, const std::string& operatorCode, const std::string& typed);

}  // namespace pos
