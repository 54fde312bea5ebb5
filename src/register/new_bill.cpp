#include "register/new_bill.h"

#include "config/terminal.h"
#include "storage/bill_numbering.h"

namespace pos {

std::string memberCaption(const CurrentMember& member)
{
    return member.VIPCardNo.empty() ? std::string() : member.VIPCardNo + "  " + member.VIPHolderName;
}

BillHeader currentBillHeader(const Terminal& t, const RegisterState& reg)
{
    return BillHeader{reg.bill.hasMaster() ? reg.bill.m("BillNo").toString() : std::string(),
                      t.state.OperatorCode,
                      t.state.MachineName,
                      t.state.ClassName,
                      memberCaption(t.member),
                      t.state.ExeManName};
}

BillHeader NewBill(Terminal& t, RegisterState& reg)
{
    Bill& bill = reg.bill;
    if (!bill.hasMaster())
        bill.master.append();
    const TPosState& s = t.state;
    // The counter lives in the local file in both modes; peeking does not consume it.
    bill.m("BillNo") = BillNumbering(t.dm.conClient().statements<NumberingStatements>(), t.clock).peek(s.MachineCode);
    bill.m("BillDate") = t.dm.serverTime(s.NetMode).text();
    bill.m("StoreId") = s.StoreId;
    bill.m("OperatorId") = s.OperatorId;
    bill.m("ExeManId") = Value();
    bill.m("ClassId") = s.ClassId;
    bill.m("MachineId") = s.MachineId;
    bill.m("InsiderCode") = "";
    bill.m("Discount") = 100.0;
    for (const char* amount : {"Amount", "RealAmount", "CashAmount", "CardAmount1", "CardAmount2", "CardAmount3",
                               "ChangeAmount"})
        bill.m(amount) = 0.0;
    bill.m("CardNo") = "";
    bill.m("Memo") = "";
    bill.m("IsCloseOff") = false;

    t.state.ExeManCode.clear();
    t.state.ExeManName.clear();
    t.member.VIPCardNo.clear();
    t.member.VIPHolderName.clear();
    t.member.VIPTotalAmount = 0;
    t.member.VIPUsedCount = 0;
    t.totals.DisAmount = 0;
    t.totals.NoPointAmount = 0;
    return currentBillHeader(t, reg);
}

}  // namespace pos
