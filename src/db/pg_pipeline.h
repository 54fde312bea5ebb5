#pragma once

#include "db/pg_database.h"

#include <string>
#include <vector>

namespace pos {

// A statement with its bound values.
struct SqlStatement {
    std::string sql;
    Params params;
};

// Sends the statements to the server in order without waiting for each answer, then
// reads all answers: one round trip for the lot instead of one per statement.
// Consecutive statements of the same text are parsed once.
//
// Meant for the inside of the caller's transaction (without one, the statements form an
// implicit transaction of their own): after a failing statement the server skips the
// rest. The first error is raised as DbError, a lost connection, or one that does not
// answer within the command time-out, marked as a network failure. The connection
// leaves pipeline mode before this returns or raises.
void runPipelined(PgDatabase& db, const std::vector<SqlStatement>& statements);

}  // namespace pos
