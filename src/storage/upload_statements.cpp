#include "storage/upload_statements.h"

#include "db/pg_params.h"

#include <cmath>

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

std::vector<Value> readWaitingBillNumbers(UploadStatements& local)
{
    const RowSet waiting = local.waitingBills.query();
    std::vector<Value> numbers;
    numbers.reserve(waiting.size());
    for (std::size_t r = 0; r < waiting.size(); ++r)
        numbers.push_back(waiting.at(r, "BillNo"));
    return numbers;
}

std::map<std::string, ServerCopy> readServerCopies(UploadStatements& server, const std::vector<std::string>& billNos)
{
    const RowSet copies = server.serverCopies.query({pgTextArray(billNos)});
    std::map<std::string, ServerCopy> byNumber;
    for (std::size_t r = 0; r < copies.size(); ++r)
        byNumber.emplace(copies.at(r, "BillNo").toString(),
                         ServerCopy{copies.at(r, "MachineId"), copies.at(r, "BillDate").toString(),
                                    copies.at(r, "RealAmount").toDouble(), copies.at(r, "LineCount").toInt()});
    return byNumber;
}

bool sameBill(const ServerCopy& copy, const Bill& local)
{
    const bool sameMachine = copy.machineId.isNull() ? local.machineId().isNull()
                                                     : !local.machineId().isNull()
                                                           && copy.machineId.toInt() == local.machineId().toInt();
    return sameMachine && copy.billDate == local.billDate().toString().substr(0, 19)
        && std::fabs(copy.realAmount - local.realAmount().toDouble()) < 0.005
        && copy.lineCount == static_cast<std::int64_t>(local.detail.size());
}

std::map<std::string, std::string> readCardTypes(UploadStatements& server, const std::vector<std::string>& cardNos)
{
    const RowSet cards = server.cardTypes.query({pgTextArray(cardNos)});
    std::map<std::string, std::string> types;
    for (std::size_t r = 0; r < cards.size(); ++r)
        types.emplace(cards.at(r, "CardNo").toString(), cards.at(r, "CardType").toString());
    return types;
}

std::vector<std::string> readUsedCoupons(UploadStatements& server, const std::vector<std::string>& ticketNos)
{
    const RowSet used = server.usedCoupons.query({pgTextArray(ticketNos)});
    std::vector<std::string> numbers;
    for (std::size_t r = 0; r < used.size(); ++r)
        numbers.push_back(used.at(r, "TicketNo").toString());
    return numbers;
}

std::vector<CardBalance> readOverdrawnCards(UploadStatements& server, const std::vector<std::string>& cardNos)
{
    const RowSet below = server.overdrawnCards.query({pgTextArray(cardNos)});
    std::vector<CardBalance> cards;
    for (std::size_t r = 0; r < below.size(); ++r)
        cards.push_back({below.at(r, "CardNo").toString(), below.at(r, "Amount").toDouble()});
    return cards;
}

}  // namespace pos
