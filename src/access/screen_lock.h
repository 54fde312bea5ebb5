#pragma once

#include <string>

namespace pos {

struct Terminal;

// Whether the typed text opens the locked terminal: the password of the operator signed
// on (blanks around it aside), checked on the connection of the working mode as at
// sign-on. Another operator's password does not open it, even one sharing the code, and
// no code built into the program does: such a code would be the same secret in every
// copy. Database errors are passed on.
bool UnlocksTerminal(Terminal& t, const std::string& typed);

}  // namespace pos
