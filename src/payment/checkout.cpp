#include "payment/checkout.h"

#include "access/rights.h"
#include "base/number_format.h"
#include "base/trim.h"
#include "payment/payment_statements.h"

namespace pos {
namespace {

std::string amountBoxText(double amount) { return twoDecimals(amount, -7); }

// The number in an amount box; 0 for a box that holds none.
double numberIn(const std::string& text)
{
    double v = 0;
    return parseNumber(trimmed(text), v) ? v : 0;
}

void hint(Person& person, const char* text) { person.message(text, "提示", MessageIcon::Information); }

}  // namespace

Checkout::Checkout(const PaymentContext& c, Sale& sale, AfterSale& devices)
    : c_(c),
      sale_(sale),
      bill_(sale.bill),
      devices_(devices),
      openingAmount_(bill_.realAmount().toDouble()),
      opening_(paymentOf(bill_)),
      due_(amountBoxText(openingAmount_)),
      change_("0.00")
{
}

Checkout::PaymentFields Checkout::paymentOf(const Bill& bill)
{
    return {bill.cashAmount(), bill.cardAmount1(), bill.cardAmount2(), bill.changeAmount(), bill.cardNo(),
            bill.memo()};
}

CheckoutAmounts Checkout::amounts() const { return {numberIn(due_), numberIn(paid_), numberIn(change_)}; }

TicketTender Checkout::couponTender() const
{
    return TicketTender(c_.person, c_.db().statements<PaymentStatements>(), amounts().due);
}

std::string Checkout::printCaption() const { return printing_ ? "状态：打印小票" : "状态：不打印小票"; }

void Checkout::writeOff()
{
    paid_.clear();
    if (!c_.rights.has(OperatorRight::WriteOff)) {
        hint(c_.person, kNotAuthorised);
        return;
    }
    const double amount = numberIn(c_.person.input("抹零", "抹零金额：", InputKind::Number));
    // A negative write-off would raise the amount due above the lines.
    if (amount < 0 || amount >= 100 || amount > openingAmount_ / 2) {
        hint(c_.person, "输入的抹零金额不正确！");
        return;
    }
    due_ = amountBoxText(openingAmount_ - amount);
}

void Checkout::closeWithoutPayment(const char* memo)
{
    if (!c_.rights.has(OperatorRight::GiveAway))
        return;
    paid_ = "0";
    change_ = "0";
    bill_.memo() = memo;
    complete();
}

bool Checkout::withoutPayment() const
{
    const std::string memo = bill_.memo().toString();
    return memo == kUnpaidBillMemo || memo == kFreeBillMemo;
}

bool Checkout::paidAmountPasses()
{
    if (trimmed(paid_).empty())
        paid_ = due_;
    double paid = 0;
    if (!parseNumber(trimmed(paid_), paid)) {
        hint(c_.person, "输入的客付金额不是数值！");
        return false;
    }
    // With a coupon on the bill the coupon tender has settled the change: cash back for
    // "找现金", none otherwise.
    const double change =
        bill_.cardAmount2().toDouble() == 0 ? paid - numberIn(due_) : bill_.changeAmount().toDouble();
    change_ = amountBoxText(change);
    if (change < 0) {
        hint(c_.person, "客付金额不能小于应收金额！");
        return false;
    }
    // Judged as shown, so a difference a hair below 100 that shows as 100.00 is refused too.
    if (numberIn(change_) >= 100) {
        hint(c_.person, "找赎金额不能大于100！");
        return false;
    }
    return true;
}

void Checkout::writePayment()
{
    const std::string now = c_.paidAt().text();
    const double realAmount = numberIn(due_);
    bill_.realAmount() = realAmount;
    if (withoutPayment()) {
        clearTenders();  // nothing paid: no coupon is spent either
        bill_.cardAmount3() = 0.0;
    } else {
        const double card1 = bill_.cardAmount1().toDouble();
        const double card2 = bill_.cardAmount2().toDouble();
        const double card3 = bill_.cardAmount3().toDouble();
        // A coupon payment keeps the cash its tender wrote.
        if (card2 == 0)
            bill_.cashAmount() = realAmount - card1 - card2 - card3;
        bill_.changeAmount() = numberIn(change_);
    }
    bill_.billDate() = now;
}

bool Checkout::complete()
{
    if (completed_)
        return true;  // a completed bill is never saved twice
    if (!withoutPayment() && !paidAmountPasses())
        return false;
    writePayment();
    const SaveOutcome saved = SaveSale(c_, sale_);
    if (saved.result == BillTenderRefused)
        dropCoupon();
    if (!saved.saved())
        return false;
    completed_ = true;
    runAfterSale();
    return true;
}

// A tender replaces whatever another tender of a failed save left on the bill.
void Checkout::clearTenders()
{
    for (Value* amount : {&bill_.cashAmount(), &bill_.cardAmount1(), &bill_.cardAmount2(), &bill_.changeAmount()})
        *amount = 0.0;
    bill_.cardNo() = std::string();
}

bool Checkout::payByCard(const CreditCardTender& tender)
{
    clearTenders();
    bill_.cardAmount1() = tender.cardPaid();
    bill_.cashAmount() = tender.cash();
    const double paid = tender.cardPaid() + tender.cash();
    paid_ = generalNumber(paid);
    change_ = amountBoxText(paid - numberIn(due_));
    return complete();
}

bool Checkout::payByCoupon(const TicketTender& tender)
{
    clearTenders();
    bill_.cardAmount2() = tender.couponPaid();
    // The cash that stays in the till: what was added, less the change paid out.
    bill_.cashAmount() = tender.cash() - tender.cashChange();
    bill_.changeAmount() = tender.cashChange();
    bill_.cardNo() = tender.billCardNo();
    paid_ = generalNumber(tender.paid());
    change_ = amountBoxText(tender.changeStyle == NoChange ? 0.0 : tender.overpayment());
    return complete();
}

void Checkout::dropCoupon()
{
    // The coupon was spent elsewhere since it was read: it pays nothing, and the cashier
    // takes another tender.
    clearTenders();
    paid_.clear();
    change_ = "0.00";
}

void Checkout::leave()
{
    if (completed_)
        return;
    bill_.cashAmount() = opening_.cash;
    bill_.cardAmount1() = opening_.bankCard;
    bill_.cardAmount2() = opening_.coupons;
    bill_.changeAmount() = opening_.change;
    bill_.cardNo() = opening_.couponNumbers;
    bill_.memo() = opening_.memo;
}

void Checkout::runAfterSale() { RunAfterSale(c_, devices_, sale_, numberIn(paid_), numberIn(change_), printing_); }

}  // namespace pos
