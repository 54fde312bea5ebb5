#pragma once

#include "base/clock.h"
#include "base/statement_set.h"

#include <cstdint>
#include <optional>

namespace pos {

// The bill counter MaxBillNo of the local file.
class NumberingStatements : public StatementSet {
public:
    explicit NumberingStatements(Database& local)
        : StatementSet(local),
          read(*this, "select * from MaxBillNo"),
          create(*this, "insert into MaxBillNo(BillDate,MaxNo) values($1,1)"),
          startDay(*this, "update MaxBillNo set BillDate=$1,MaxNo=1"),
          consume(*this, "update MaxBillNo set MaxNo=$1"),
          dayRoll(*this, "update MaxBillNo set BillDate=datetime(BillDate, '+1 day'),MaxNo=1")
    {
    }

    Statement read;
    Statement create;
    Statement startDay;
    Statement consume;
    Statement dayRoll;
};

// The counter's one row: its day (none when unreadable) and the next number of that day.
struct BillCounter {
    std::optional<DateTime> billDate;
    std::int64_t maxNo = 0;
};
// None before the first number of the file.
std::optional<BillCounter> readBillCounter(NumberingStatements& local);

}  // namespace pos
