#include "storage/upload_statements.h"

namespace pos {

UploadStatements::UploadStatements(Database& db)
    : StatementSet(db),
      waitingBills(*this, localOnly("select BillNo from PosBill order by BillNo")),
      billMaster(*this, localOnly("select * from PosBill where BillNo=$1")),
      billLines(*this, localOnly("select d.*, g.Code, g.BarCode, g.Name, g.Unit1 from PosDetail d "
                                 "left join B_Goods g on g.GoodsId=d.GoodsId where d.BillNo=$1 order by d.OrderId")),
      deleteBill(*this, localOnly("delete from PosBill where BillNo=$1")),
      deleteLines(*this, localOnly("delete from PosDetail where BillNo=$1")),
      serverCopies(*this,
                   serverOnly("select b.BillNo, b.MachineId, to_char(b.BillDate,'YYYY-MM-DD HH24:MI:SS') as BillDate, "
                              "b.RealAmount, (select count(*) from PosDetail d where d.BillNo=b.BillNo) as LineCount "
                              "from PosBill b where b.BillNo=any($1::varchar[])")),
      cardTypes(*this, serverOnly("select CardNo,CardType from B_VIPCards where CardNo=any($1::varchar[])")),
      usedCoupons(*this,
                  serverOnly("select TicketNo from B_GoodsTicket where TicketNo=any($1::varchar[]) and IsEnd=1")),
      overdrawnCards(*this, serverOnly("select CardNo,Amount from B_VIPCards "
                                       "where CardNo=any($1::varchar[]) and coalesce(Amount,0)<0"))
{
}

}  // namespace pos
