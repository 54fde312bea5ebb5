#pragma once

#include "pricing/bill_arithmetic.h"
#include "register/new_bill.h"
#include "storage/bill_saving.h"
#include "base/register_state.h"
#include "support/operator_data.h"
#include "support/goods_line.h"
#include "support/signed_on_terminal.h"

namespace pos::test {

// A cashier who may give a bill away (right 7) and write off its cents (right 8).
inline constexpr int kGiveAwayAndWriteOffCashier = 4;

// A terminal signed on as a cashier without rights at store 2, terminal "07", online,
// every after-sale device switched on. Both sides know the cashier, the senior cashier
// kGiveAwayAndWriteOffCashier, the supervisor 9001/999 with rights 7 and 8 and the
// supervisor 8001/888 with neither.
class CheckoutTerminal : public SignedOnTerminal {
public:
    CheckoutTerminal()
    {
        for (WorkingMode mode : {Online, Offline}) {
            Database& db = side(mode);
            addOperator(db, {kCashier, "1003", "收银员", "333", 0, {}});
            addOperator(db, {kGiveAwayAndWriteOffCashier, "1004", "老收银员", "444", 0,
                             {OperatorRight::GiveAway, OperatorRight::WriteOff}});
            addOperator(db, {9, "9001", "店长", "999", 1, {OperatorRight::GiveAway, OperatorRight::WriteOff}});
            addOperator(db, {8, "8001", "值班主管", "888", 1, {OperatorRight::OpenCashDrawer}});
        }
        for (const char* key : {"ClientDisplay", "MoneyBox", "Printer"})
            settings.setOption(key, "有");
    }

    // A new bill of one line worth `amount`, its totals computed, as "+" hands it over.
    // Messages shown so far are forgotten.
    Bill& newBill(double amount)
    {
        sale = Sale();
        sale.bill = Bill::open(dm.conClient());
        startNewBill(terminal, sale);
        appendGoodsLine(sale.bill, 101, 1.0, amount);
        ComputeBillTotals(sale.bill, state, sale.totals);
        person.messages.clear();
        return sale.bill;
    }
    // The sale of such a bill.
    Sale& newSale(double amount)
    {
        newBill(amount);
        return sale;
    }
    // The sale of such a bill carrying the stored-value card.
    Sale& newCardSale(const char* cardNo, double amount)
    {
        Bill& b = newBill(amount);
        b.insiderCode() = cardNo;
        sale.member.VIPCardNo = cardNo;
        sale.member.VIPCardKind = MemberCardKind::StoredValue;
        return sale;
    }

    // The bills saved on the side of a working mode.
    RowSet savedBills(WorkingMode mode) { return side(mode).query("select * from PosBill order by BillNo"); }
    RowSet savedBill(const Value& billNo)
    {
        return side(state.NetMode).query("select * from PosBill where BillNo=$1", {billNo});
    }
};

}  // namespace pos::test
