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

// What became of one transaction sent by runTransactionsPipelined.
enum class TransactionOutcome {
    Committed,
    Failed,      // rolled back by the server: `error` says why
    Unanswered,  // the connection was lost first: the server may or may not have committed it
};

struct TransactionAnswer {
    TransactionOutcome outcome = TransactionOutcome::Unanswered;
    std::string error;
};

struct PipelinedTransactions {
    std::vector<TransactionAnswer> answers;  // one per transaction, in order
    std::string lostConnection;              // why the connection was lost; empty when it was not
};

// Sends every transaction (statements without begin or commit, outside any transaction
// of the caller) in one pipeline, each followed by a synchronisation point, so that the
// server commits each on its own and rolls back only a failing one; then reads the
// answers: one round trip for them all. Each text is prepared once for the lot. A lost
// connection, or one that does not answer within the command time-out, is not raised:
// the transactions still unanswered are reported so.
PipelinedTransactions runTransactionsPipelined(PgDatabase& db,
                                               const std::vector<std::vector<SqlStatement>>& transactions);

}  // namespace pos
