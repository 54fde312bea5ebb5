#include "register/new_bill.h"

#include "config/terminal.h"
#include "config/working_mode_clock.h"
#include "storage/bill_numbering.h"

#include <exception>

namespace pos {
namespace {

// The working mode's time, or the terminal's own when the server does not answer; the
// lost connection is kept to be raised once the bill has started.
class TimeWithoutServer : public Clock {
public:
    TimeWithoutServer(const Clock& mode, const Clock& own) : mode_(mode), own_(own) {}
    DateTime now() const override
    {
        try {
            return mode_.now();
        } catch (const DbError& error) {
            if (!error.isNetworkFailure())
                throw;
            lostServer_ = std::current_exception();
            return own_.now();
        }
    }
    std::exception_ptr lostServer() const { return lostServer_; }

private:
    const Clock& mode_;
    const Clock& own_;
    mutable std::exception_ptr lostServer_;
};

}  // namespace

std::string memberCaption(const CurrentMember& member)
{
    return member.VIPCardNo.empty() ? std::string() : member.VIPCardNo + "  " + member.VIPHolderName;
}

BillHeader currentBillHeader(const TPosState& state, const Sale& sale)
{
    return BillHeader{sale.bill.hasMaster() ? sale.bill.billNo().toString() : std::string(),
                      state.OperatorCode,
                      state.MachineName,
                      state.ClassName,
                      memberCaption(sale.member),
                      sale.ExeManName};
}

BillHeader NewBill(BillNumbering& numbering, const Clock& modeClock, const TPosState& state, Sale& sale)
{
    Bill& bill = sale.bill;
    if (!bill.hasMaster())
        bill.master.append();
    const TPosState& s = state;
    // The counter lives in the local file in both modes; peeking does not consume it.
    bill.billNo() = numbering.peek(s.MachineCode);
    bill.saveInDoubt.reset();
    bill.billDate() = modeClock.now().text();
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

    sale.ExeManCode.clear();
    sale.ExeManName.clear();
    CurrentMember& member = sale.member;
    member.VIPCardNo.clear();
    member.VIPHolderName.clear();
    member.VIPTotalAmount = 0;
    member.VIPUsedCount = 0;
    sale.totals.DisAmount = 0;
    sale.totals.NoPointAmount = 0;
    return currentBillHeader(state, sale);
}

BillHeader startNewBill(Terminal& t, Sale& sale)
{
    BillNumbering numbering(t.dm.conClient().statements<NumberingStatements>(), t.clock);
    const WorkingModeClock modeClock(t.dm, t.state);
    const TimeWithoutServer clock(modeClock, t.clock);
    BillHeader header = NewBill(numbering, clock, t.state, sale);
    if (clock.lostServer())
        std::rethrow_exception(clock.lostServer());
    return header;
}

}  // namespace pos
