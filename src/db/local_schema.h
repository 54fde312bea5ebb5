#pragma once

#include "db/sqlite_database.h"

namespace pos {

// The schema version this program writes into the local file.
int localSchemaVersion();

// Brings the local file to the current schema: each migration newer than the file's
// user_version runs in order, in a transaction of its own that also records its number.
// Rows already in the file (bills waiting for upload) stay. A file newer than this
// program is refused with DbError.
void migrateLocalSchema(SqliteDatabase& local);

}  // namespace pos
