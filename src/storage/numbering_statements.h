#pragma once

#include "base/statement_set.h"

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

}  // namespace pos
