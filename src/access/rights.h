#pragma once

#include "access/access_statements.h"
#include "base/operator_rights.h"
#include "base/person.h"

namespace pos {

struct Terminal;

// Whether PosOperatorRight has a row for the operator and the right number.
bool operatorHasRight(AccessStatements& sql, int operatorId, OperatorRight right);

// The supervisor's verdict: the code and password (trimmed) belong to a supervisor
// (SysManager 1) who holds the right.
bool supervisorGrants(AccessStatements& sql, const Credentials& credentials, OperatorRight right);

// What the cashier is told when an operation is refused for want of a right.
inline constexpr const char* kNotAuthorised = "您没有授权使用该操作！";

// Whether the signed-on operator may do what the right guards: the operator's own
// right, or else a supervisor's grant for this one call. Nothing is remembered.
bool HasRight(Terminal& t, OperatorRight right);

}  // namespace pos
