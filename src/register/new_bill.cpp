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
    return BillHeader{reg.bill.hasMaster() ? reg.bill.billNo().toString() : std::string(),
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
    bill.billNo() = BillNumbering(t.dm.conClient().statements<NumberingStatements>(), t.clock).peek(s.MachineCode);
    bill.billDate() = t.dm.serverTime(s.NetMode).text();
    bill.storeId() = s.StoreId;
    bill.operatorId() = s.OperatorId;
    bill.exeManId() = Value();
    bill.classId() = s.ClassId;
    bill.machineId() = s.MachineId;
    bill.insiderCode() = "";
    bill.discount() = 100.0;
    for (Value* amount : {&bill.amount(), &bill.realAmount(), &bill.cashAmount(), &bill.cardAmount1(),
                          &bill.cardAmount2(), &bill.cardAmount3(), &bill.changeAmount()})
        *amount = 0.0;
    bill.cardNo() = "";
    bill.memo() = "";
    bill.isCloseOff() = false;

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
