#include "base/bill.h"

namespace pos {

Bill Bill::open(Database& local)
{
    Bill bill;
    bill.master = local.query("select * from PosBill where 1=2");
    bill.detail = local.query(
        "select  a.* ,b.Code,b.BarCode,b.Name,b.Unit1\r\nfrom PosDetail a left join B_Goods b on a.GoodsId=b.GoodsId\r\n"
        "where 1=2");
    return bill;
}

}  // namespace pos
