#pragma once

#include "base/clock.h"
#include "base/database.h"
#include "storage/numbering_statements.h"

#include <string>

namespace pos {

// The bill counter could not give a number: the local file failed, nothing was saved.
class BillNumberError : public DbError {
public:
    explicit BillNumberError(const DbError& cause) : DbError(cause.what(), cause.isNetworkFailure(), "取单号") {}
};

// Bill numbers: machine code, the counter's day as YYYYMMDD, and a daily sequence of at
// least four digits, kept in the local MaxBillNo. Works outside any caller transaction.
class BillNumbering {
public:
    BillNumbering(NumberingStatements& sql, const Clock& clock) : sql_(sql), clock_(clock) {}

    std::string peek(const std::string& machineCode);  // the number the next saved bill gets
    std::string take(const std::string& machineCode);  // that number, consumed; BillNumberError
    void dayRoll();                                     // after a failed save: next day, sequence 1

private:
    std::string next(const std::string& machineCode, bool consume);

    NumberingStatements& sql_;
    const Clock& clock_;
};

}  // namespace pos
