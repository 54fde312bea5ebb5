#pragma once

#include "base/bill.h"

#include <string>

namespace pos::test {

// Appends a line of goods as goods input leaves it: the next line number, undiscounted at
// its list price, its codes made from the goods id, named "商品" without memo.
inline BillLine appendGoodsLine(Bill& bill, int goodsId, double quantity, double price)
{
    const BillLine line = bill.line(bill.detail.append());
    const std::string id = std::to_string(goodsId);
    line.orderId() = static_cast<int>(bill.detail.size());
    line.goodsId() = goodsId;
    line.quantity() = quantity;
    line.price() = price;
    line.discount() = 100.0;
    line.amount() = price * quantity;
    line.sPrice1() = price;
    line.memo() = "";
    line.code() = "C" + id;
    line.barCode() = "69" + id;
    line.name() = "商品";
    line.unit1() = "个";
    return line;
}

}  // namespace pos::test
