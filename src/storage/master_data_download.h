#pragma once

#include "base/person.h"
#include "storage/download_statements.h"

namespace pos {

// Replaces the local copies of the master data by the server's rows, each table in one
// local transaction, so a table whose copy fails keeps its previous rows. Goods (of the
// selling store) and bar codes only when asked for, behind the please-wait window.
// Operator and member-card passwords go into the local copy as salted hashes. Database errors are
// passed on.
void downloadMasterData(DownloadStatements& server, Database& local, Person& person, int storeId, bool withGoods);

}  // namespace pos
