#pragma once

#include "db/row_copy.h"

#include <memory>

namespace pos {

// The held bills hPosBill and hPosDetail of the local file, under their hold numbers.
class HeldBillStatements : public StatementSet {
public:
    explicit HeldBillStatements(Database& local);

    Statement largestHoldNo;
    Statement holdNumbers;
    // The held master with its salesperson's code and name and its member card's facts.
    Statement heldBill;
    Statement heldLines;
    Statement deleteBill;
    Statement deleteLines;
    Statement clearBills;
    Statement clearLines;

    RowCopy& billCopy(const Columns& source) { return RowCopy::reuse(bill_, database(), "hPosBill", source); }
    RowCopy& lineCopy(const Columns& source) { return RowCopy::reuse(lines_, database(), "hPosDetail", source); }

private:
    std::unique_ptr<RowCopy> bill_;
    std::unique_ptr<RowCopy> lines_;
};

}  // namespace pos
