#include "storage/held_bills.h"

#include "base/number_format.h"
#include "pricing/auto_discount.h"

#include <fmt/format.h>

#include <optional>

namespace pos {
namespace {

constexpr long long kLargestHoldNo = 9999;

// The largest hold number plus one; 1 when none is held or the largest is no number.
long long nextHoldNo(HeldBillStatements& local)
{
    long long largest = 0;
    if (!parseInt(readLargestHoldNo(local), largest))
        largest = 0;
    return largest + 1;
}

bool refuseHold(Person& person, const char* text, const char* title)
{
    person.message(text, title, MessageIcon::Error);
    return false;
}

void restoreMember(PricingStatements& pricing, const HeldBill& held, CurrentMember& member)
{
    member.VIPCardNo = held.insiderCode.toString();
    member.VIPHolderName = held.holderName;
    member.VIPTotalAmount = held.totalAmount;
    member.VIPUsedCount = held.usedCount;
    member.VIPCardKind = held.cardType == "储值卡" ? MemberCardKind::StoredValue : MemberCardKind::Other;
    if (held.discountType == "会员价消费") {
        member.VIPDiscountType = MemberDiscountType::MemberPrices;
        member.VIPDiscount = 100;
    } else if (held.discountType == "累计消费折扣") {
        member.VIPDiscountType = MemberDiscountType::Cumulative;
        member.VIPDiscount = AutoDiscountRate(pricing, member.VIPTotalAmount);
    } else {
        member.VIPDiscountType = MemberDiscountType::CardDiscount;
        member.VIPDiscount = held.discount == 0 ? 100 : held.discount;
    }
}

void restoreLines(const RowSet& held, Bill& bill)
{
    const Columns& to = bill.detail.columns();
    for (std::size_t r = 0; r < held.size(); ++r) {
        const std::size_t line = bill.detail.append();
        for (std::size_t c = 0; c < held.columns().size(); ++c) {
            if (const auto column = to.find(held.columns().name(c)))
                bill.detail.row(line)[*column] = held.row(r)[c];
        }
        bill.line(line).orderId() = static_cast<long long>(line + 1);
    }
}

}  // namespace

bool HoldBill(HeldBillStatements& local, Person& person, const Bill& bill)
{
    if (bill.master.size() != 1)
        return refuseHold(person, "主表记录只能有一条记录！", "错误");
    if (bill.storeId().toInt() == 0)
        return refuseHold(person, "此单没有选择销售仓库！请选择销售仓库。", "错误");
    if (bill.operatorId().toInt() == 0)
        return refuseHold(person, "挂单失败！收银员为空。", "");
    // Held, it would come back under a new number and be charged a second time.
    if (bill.saveInDoubt)
        return refuseHold(person, "此单是否已保存到服务器尚未确认，不能挂单！请再次结算以核对。", "错误");
    try {
        Transaction transaction(local.database());
        const long long holdNo = nextHoldNo(local);
        // A fifth digit would sort below "9999" and be formed again for every hold.
        if (holdNo > kLargestHoldNo)
            return refuseHold(person, "挂单已满9999张！请先取单或清除挂单。", "错误");
        const std::string number = fmt::format("{:04d}", holdNo);
        Row master = bill.master.row(0);
        master[bill.master.columns().index("BillNo")] = number;
        local.billCopy(bill.master.columns()).insert(master);
        RowCopy& lines = local.lineCopy(bill.detail.columns());
        const std::size_t lineBillNo = bill.detail.columns().index("BillNo");
        for (std::size_t r = 0; r < bill.detail.size(); ++r) {
            Row line = bill.detail.row(r);
            line[lineBillNo] = number;
            lines.insert(line);
        }
        transaction.commit();
        return true;
    } catch (const DbError&) {
        person.message("挂单操作挫败！", "提示", MessageIcon::Information);
        return false;
    }
}

RowSet HeldBillNumbers(HeldBillStatements& local) { return local.holdNumbers.query(); }

void RecallBill(HeldBillStatements& local, PricingStatements& pricing, BillNumbering& numbering,
                const Clock& modeClock, const std::string& holdNo, const std::string& machineCode, Sale& sale)
{
    const std::optional<HeldBill> held = readHeldBill(local, holdNo);
    if (!held)
        return;
    const RowSet lines = local.heldLines.query({holdNo});
    // Everything that may fail is read before the bill changes.
    const std::string billNo = numbering.peek(machineCode);
    const std::string billDate = modeClock.now().text();
    CurrentMember card = sale.member;
    restoreMember(pricing, *held, card);
    sale.member = card;
    Bill& bill = sale.bill;
    bill.billNo() = billNo;
    bill.billDate() = billDate;
    bill.exeManId() = held->exeManId;
    bill.insiderCode() = held->insiderCode;
    sale.ExeManCode = held->exeManCode;
    sale.ExeManName = held->exeManName;
    restoreLines(lines, bill);
    sale.NextOrderId = static_cast<int>(bill.detail.size()) + 1;
    try {
        Transaction transaction(local.database());
        local.deleteBill.execute({holdNo});
        local.deleteLines.execute({holdNo});
        transaction.commit();
    } catch (const DbError&) {
        // The held copy stays and can be recalled again.
    }
}

void ClearHeldBills(HeldBillStatements& local)
{
    try {
        Transaction transaction(local.database());
        local.clearLines.execute();
        local.clearBills.execute();
        transaction.commit();
    } catch (const DbError&) {
        // The held bills stay as they were.
    }
}

}  // namespace pos
