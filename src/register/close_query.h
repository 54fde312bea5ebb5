#pragma once

namespace pos {

struct Terminal;

// Asked when the register window is to close: whether to leave at all and, when bills
// wait in the local file, whether to send them to the server first (going online when
// needed). Returns whether the window may close; a failed upload does not keep it open.
bool registerCloseQuery(Terminal& t);

}  // namespace pos
