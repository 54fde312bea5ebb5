#pragma once

#include "base/database.h"

namespace pos {

// Prepares the statements of every subsystem on a connection as soon as it is open, so
// that one that does not compile stops the start-up or the switch, not a sale, and no
// statement is parsed again while the cashier waits.
void prepareServerStatements(Database& accountSet);
void prepareLocalStatements(Database& local);

}  // namespace pos
