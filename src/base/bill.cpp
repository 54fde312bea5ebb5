#include "base/bill.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pos {
namespace {

std::size_t columnOf(const RowSet& rows, const char* table, const char* column)
{
    if (std::optional<std::size_t> index = rows.columns().find(column))
        return *index;
    throw std::runtime_error(std::string("the local table ") + table + " has no column " + column
                             + ", which the bill needs");
}

}  // namespace

Bill Bill::open(Database& local)
{
    RowSet master = local.query("select * from PosBill where 1=2");
    RowSet detail;
    try {
        detail = local.query(
            "select  a.* ,b.Code,b.BarCode,b.Name,b.Unit1\r\n"
            "from PosDetail a left join B_Goods b on a.GoodsId=b.GoodsId\r\nwhere 1=2");
    } catch (const DbError&) {
        // A goods column missing from B_Goods fails the query itself: name it.
        const RowSet goods = local.query("select * from B_Goods where 1=2");
#define POS_CHECK_GOODS_COLUMN(field, Column, table) \
    if (std::string_view(#table) == "B_Goods")       \
        columnOf(goods, #table, #Column);
        POS_BILL_LINE_COLUMNS(POS_CHECK_GOODS_COLUMN)
#undef POS_CHECK_GOODS_COLUMN
        throw;
    }
    return of(std::move(master), std::move(detail));
}

Bill Bill::of(RowSet master, RowSet detail)
{
    Bill bill;
    bill.master = std::move(master);
    bill.detail = std::move(detail);
#define POS_RESOLVE_COLUMN(field, Column) bill.columns_.field = columnOf(bill.master, "PosBill", #Column);
    POS_BILL_COLUMNS(POS_RESOLVE_COLUMN)
#undef POS_RESOLVE_COLUMN
#define POS_RESOLVE_LINE_COLUMN(field, Column, table) \
    bill.lineColumns_.field = columnOf(bill.detail, #table, #Column);
    POS_BILL_LINE_COLUMNS(POS_RESOLVE_LINE_COLUMN)
#undef POS_RESOLVE_LINE_COLUMN
    return bill;
}

Bill Bill::emptyLike() const
{
    Bill bill;
    bill.master = RowSet(master.columns());
    bill.detail = RowSet(detail.columns());
    bill.columns_ = columns_;
    bill.lineColumns_ = lineColumns_;
    return bill;
}

}  // namespace pos
