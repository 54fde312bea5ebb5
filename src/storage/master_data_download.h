#pragma once

#include "config/terminal.h"

namespace pos {

// Replaces the local copies of the master data by the server's rows, each table in one
// local transaction, so a table whose copy fails keeps its previous rows. Goods and bar
// codes only when asked for, behind the please-wait window. Database errors are passed on.
void downloadMasterData(Terminal& terminal, bool withGoods);

}  // namespace pos
