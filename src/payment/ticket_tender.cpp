#include "payment/ticket_tender.h"

#include "base/number_format.h"
#include "base/trim.h"

namespace pos {

TicketTender::TicketTender(Person& person, PaymentStatements& sql, double due)
    : person_(person), sql_(sql), due_(cents(due))
{
}

std::string TicketTender::billCardNo() const { return refused_ ? std::string() : trimmed(cardNo); }

TenderFocus TicketTender::cashForTheRest()
{
    if (due_ > cents(couponAmount())) {
        cashAmount = generalAmount(due_ - couponAmount());
        return TenderFocus::CashAmount;
    }
    return TenderFocus::PayAmount;
}

void TicketTender::readCoupon()
{
    numberRead_ = trimmed(cardNo);
    refused_ = true;
    payAmount = "0";
    const std::optional<Coupon> coupon = findCoupon(sql_, numberRead_);
    if (!coupon)
        return tenderHint(person_, "在数据库中未找到该购物券！", "");
    if (coupon->used)
        return tenderHint(person_, "该购物券已消费, 不能再次消费！", "");
    refused_ = false;
    payAmount = generalNumber(coupon->amount);
}

TenderFocus TicketTender::cardNoEnter()
{
    if (trimmed(cardNo) == "0") {
        bareAmount_ = true;
        refused_ = false;
        numberRead_ = "0";
        return TenderFocus::PayAmount;
    }
    bareAmount_ = false;
    readCoupon();
    if (refused_)
        return TenderFocus::CardNo;
    return due_ > cents(couponAmount()) ? cashForTheRest() : TenderFocus::OK;
}

TenderFocus TicketTender::payAmountEnter()
{
    emptyCountsAsZero(payAmount);
    if (!tenderBoxesHoldAmounts(person_, payAmount, cashAmount))
        return TenderFocus::PayAmount;
    return cashForTheRest();
}

bool TicketTender::totalPasses()
{
    if (couponAmount() < 0) {
        tenderHint(person_, "购物券金额不能小于零！");
        return false;
    }
    // Negative cash would lower what the customer pays below what the coupon leaves due.
    if (cents(cash()) < 0) {
        tenderHint(person_, "补现金金额不能小于零！");
        return false;
    }
    if (!totalCoversDue(person_, paid(), due_, "输入金额小于应收金额！", "输入金额太大！"))
        return false;
    // Change beyond the coupon is the customer's own cash paying more than is due: in any
    // style it would hand the coupon back as cash or book a negative coupon amount.
    if (overpayment() > cents(couponAmount())) {
        tenderHint(person_, "找零金额不能大于购物券金额！请减少补现金金额。");
        return false;
    }
    return true;
}

TenderFocus TicketTender::cashAmountEnter()
{
    emptyCountsAsZero(cashAmount);
    if (!tenderBoxesHoldAmounts(person_, payAmount, cashAmount) || !totalPasses())
        // The coupon amount of a coupon read by its number is not typed: the cash is.
        return bareAmount_ ? TenderFocus::PayAmount : TenderFocus::CashAmount;
    return TenderFocus::OK;
}

bool TicketTender::confirm()
{
    confirmed_ = false;
    if (trimmed(cardNo).empty()) {
        tenderHint(person_, "请输入购物券号码！");
        return false;
    }
    // A number changed since it was read would book one coupon and count another's amount.
    if (trimmed(cardNo) != numberRead_) {
        cardNoEnter();
        return false;
    }
    confirmed_ = tenderBoxesHoldAmounts(person_, payAmount, cashAmount) && totalPasses();
    return confirmed_;
}

}  // namespace pos
