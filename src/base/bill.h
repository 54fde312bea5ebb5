#pragma once

#include "base/database.h"

#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>

namespace pos {

// The columns of the bill record, those of the local PosBill: X(accessor, Column).
#define POS_BILL_COLUMNS(X)          \
    X(billNo, BillNo)                \
    X(billDate, BillDate)            \
    X(storeId, StoreId)              \
    X(operatorId, OperatorId)        \
    X(exeManId, ExeManId)            \
    X(classId, ClassId)              \
    X(machineId, MachineId)          \
    X(insiderCode, InsiderCode)      \
    X(discount, Discount)            \
    X(amount, Amount)                \
    X(realAmount, RealAmount)        \
    X(cashAmount, CashAmount)        \
    X(cardAmount1, CardAmount1)      \
    X(cardAmount2, CardAmount2)      \
    X(cardAmount3, CardAmount3)      \
    X(changeAmount, ChangeAmount)    \
    X(cardNo, CardNo)                \
    X(isCloseOff, IsCloseOff)        \
    X(memo, Memo)

// The columns of a line, those of the local PosDetail plus the goods' display columns
// from B_Goods: X(accessor, Column, table).
#define POS_BILL_LINE_COLUMNS(X)     \
    X(billNo, BillNo, PosDetail)     \
    X(orderId, OrderId, PosDetail)   \
    X(goodsId, GoodsId, PosDetail)   \
    X(quantity, Quantity, PosDetail) \
    X(price, Price, PosDetail)       \
    X(discount, Discount, PosDetail) \
    X(amount, Amount, PosDetail)     \
    X(sPrice1, SPrice1, PosDetail)   \
    X(memo, Memo, PosDetail)         \
    X(code, Code, B_Goods)           \
    X(barCode, BarCode, B_Goods)     \
    X(name, Name, B_Goods)           \
    X(unit1, Unit1, B_Goods)

#define POS_BILL_COLUMN_INDEX(field, ...) std::size_t field = 0;

// Where each column of the bill record lies in its row, resolved when the bill opens.
struct BillColumns {
    POS_BILL_COLUMNS(POS_BILL_COLUMN_INDEX)
};

// Where each column of a line lies in its row.
struct BillLineColumns {
    POS_BILL_LINE_COLUMNS(POS_BILL_COLUMN_INDEX)
};

#undef POS_BILL_COLUMN_INDEX

// One line of the bill seen through its named columns: `bill.line(i).quantity()`. A view
// over the row: valid until lines are added or removed, or the bill is moved.
template <class RowType>  // Row, or const Row for a read-only view
class BasicBillLine {
public:
    using Field = std::conditional_t<std::is_const_v<RowType>, const Value&, Value&>;

    BasicBillLine(RowType& row, const BillLineColumns& columns) : row_(&row), columns_(&columns) {}

#define POS_BILL_LINE_ACCESSOR(field, ...) \
    Field field() const { return (*row_)[columns_->field]; }
    POS_BILL_LINE_COLUMNS(POS_BILL_LINE_ACCESSOR)
#undef POS_BILL_LINE_ACCESSOR

private:
    RowType* row_;
    const BillLineColumns* columns_;
};

using BillLine = BasicBillLine<Row>;
using ConstBillLine = BasicBillLine<const Row>;

// An online save that lost its answer while the local file could not keep the bill either:
// the server may hold the bill under this number, so the next save keeps the number and
// asks the server first, and the cashier must not take the money again.
struct SaveInDoubt {
    std::string billNo;
    int serverSession = 0;  // the broken session, ended before the server is asked
};

// The bill in progress: one master record with the columns of the local PosBill (row 0
// of `master`), and its lines with the columns of the local PosDetail plus the goods'
// Code, BarCode, Name and Unit1. Held in memory only; rows reach a table through the
// row copy. The logic reads and writes the columns through the named accessors
// (`bill.realAmount()`, `bill.line(i).quantity()`), which return the value in place.
// A default Bill has no columns; open() or of() gives it its records.
struct Bill {
    RowSet master;
    RowSet detail;
    // The line under the cursor of the line list, valid while below detail.size(). The
    // goods input merges into it and leaves it on the line it added or changed.
    std::size_t currentLine = 0;
    std::optional<SaveInDoubt> saveInDoubt;

    // Empty records shaped by the local tables. Throws std::runtime_error naming the
    // table and the column when one the bill needs is missing.
    static Bill open(Database& local);
    // A bill over records of that shape (columns in any order and case, more allowed);
    // the same error when one is missing.
    static Bill of(RowSet master, RowSet detail);
    // A bill of the same shape with no master record and no lines.
    Bill emptyLike() const;

    bool hasMaster() const { return !master.empty(); }

    // The columns of the master record; valid while hasMaster().
#define POS_BILL_ACCESSOR(field, Column)                                   \
    Value& field() { return master.row(0)[columns_.field]; }               \
    const Value& field() const { return master.row(0)[columns_.field]; }
    POS_BILL_COLUMNS(POS_BILL_ACCESSOR)
#undef POS_BILL_ACCESSOR

    // Line i (below detail.size()).
    BillLine line(std::size_t i) { return BillLine(detail.row(i), lineColumns_); }
    ConstBillLine line(std::size_t i) const { return ConstBillLine(detail.row(i), lineColumns_); }

private:
    BillColumns columns_;
    BillLineColumns lineColumns_;
};

}  // namespace pos
