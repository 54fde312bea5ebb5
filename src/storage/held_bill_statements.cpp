#include "storage/held_bill_statements.h"

namespace pos {

HeldBillStatements::HeldBillStatements(Database& local)
    : StatementSet(local),
      largestHoldNo(*this, localOnly("select max(BillNo) as BillNo from hPosBill")),
      holdNumbers(*this, localOnly("select BillNo from hPosBill order by BillNo")),
      heldBill(*this, localOnly("select a.*, b.Code as ExeManCode, b.Name as ExeManName, "
                                "c.HolderName, c.TotalAmount, c.UsedCount, c.CardType, "
                                "c.DiscountType, c.Discount as VIPDiscount "
                                "from hPosBill a left join B_Employ b on a.ExeManId=b.EmployId "
                                "left join B_VIPCards c on a.InsiderCode=c.CardNo where a.BillNo=$1")),
      heldLines(*this, localOnly("select * from hPosDetail where BillNo=$1 order by OrderId")),
      deleteBill(*this, localOnly("delete from hPosBill where BillNo=$1")),
      deleteLines(*this, localOnly("delete from hPosDetail where BillNo=$1")),
      clearBills(*this, localOnly("delete from hPosBill")),
      clearLines(*this, localOnly("delete from hPosDetail"))
{
}

std::optional<HeldBill> readHeldBill(HeldBillStatements& local, const std::string& holdNo)
{
    const RowSet held = local.heldBill.query({holdNo});
    if (held.empty())
        return std::nullopt;
    return HeldBill{held.first("ExeManId"),
                    held.first("InsiderCode"),
                    held.first("ExeManCode").toString(),
                    held.first("ExeManName").toString(),
                    held.first("HolderName").toString(),
                    held.first("TotalAmount").toDouble(),
                    held.first("UsedCount").toDouble(),
                    held.first("CardType").toString(),
                    held.first("DiscountType").toString(),
                    held.first("VIPDiscount").toDouble()};
}

std::string readLargestHoldNo(HeldBillStatements& local) { return local.largestHoldNo.query().first("BillNo").toString(); }

std::string holdNumberAt(const RowSet& holdNumbers, std::size_t r) { return holdNumbers.at(r, "BillNo").toString(); }

}  // namespace pos
