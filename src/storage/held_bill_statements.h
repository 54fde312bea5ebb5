#pragma once

#include "db/row_copy.h"

#include <memory>
#include <optional>
#include <string>

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

// The master of heldBill, with what the recall takes of its salesperson and member card.
// The card's facts are empty when the bill has none or the card is gone.
struct HeldBill {
    Value exeManId;
    Value insiderCode;
    std::string exeManCode;
    std::string exeManName;
    std::string holderName;
    double totalAmount = 0;
    double usedCount = 0;
    std::string cardType;
    std::string discountType;
    double discount = 0;
};
std::optional<HeldBill> readHeldBill(HeldBillStatements& local, const std::string& holdNo);

// The largest hold number as stored; empty when nothing is held.
std::string readLargestHoldNo(HeldBillStatements& local);

// The hold number on row r of holdNumbers.
std::string holdNumberAt(const RowSet& holdNumbers, std::size_t r);

}  // namespace pos
