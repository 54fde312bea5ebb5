#pragma once

#include "access/access_statements.h"
#include "base/operator_rights.h"
#include "base/person.h"

namespace pos {

// The supervisor's verdict: the code and password (trimmed) belong to a supervisor
// (SysManager 1) who holds the right.
bool supervisorGrants(AccessStatements& sql, const Credentials& credentials, OperatorRight right);

// What the cashier is told when an operation is refused for want of a right.
inline constexpr const char* kNotAuthorised = "您没有授权使用该操作！";

// Whether operatorId may do what the right guards, on the statements given: the
// operator's own right, or else a grant the person asks a supervisor for, for this one
// call. Nothing is remembered.
bool HasRight(AccessStatements& sql, Person& person, int operatorId, OperatorRight right);

}  // namespace pos
