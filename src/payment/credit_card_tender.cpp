#include "payment/credit_card_tender.h"

#include "base/number_format.h"

#include <algorithm>

namespace pos {

CreditCardTender::CreditCardTender(Person& person, double due)
    : payAmount(generalNumber(due)), cashAmount("0"), person_(person), due_(due)
{
}

bool CreditCardTender::cardAmountPasses()
{
    const double card = cardPaid();
    if (card > due_) {
        tenderHint(person_, "支付金额不能大于应收金额！");
        return false;
    }
    // A card amount on the other side of zero would pay cash out against the card.
    if (card < std::min(0.0, due_)) {
        tenderHint(person_, "支付金额不能小于零！");
        return false;
    }
    return true;
}

bool CreditCardTender::totalPasses()
{
    const double total = cardPaid() + cash();
    if (total < due_) {
        tenderHint(person_, "付款金额不足！");
        return false;
    }
    if (total - due_ >= 100) {
        tenderHint(person_, "付款金额太大！");
        return false;
    }
    return true;
}

TenderFocus CreditCardTender::payAmountEnter()
{
    emptyCountsAsZero(payAmount);
    if (!tenderBoxesHoldAmounts(person_, payAmount, cashAmount) || !cardAmountPasses())
        return TenderFocus::PayAmount;
    cashAmount = generalNumber(due_ - cardPaid());
    return TenderFocus::CashAmount;
}

TenderFocus CreditCardTender::cashAmountEnter()
{
    emptyCountsAsZero(cashAmount);
    if (!tenderBoxesHoldAmounts(person_, payAmount, cashAmount) || !totalPasses())
        return TenderFocus::PayAmount;
    return TenderFocus::OK;
}

bool CreditCardTender::confirm()
{
    confirmed_ = tenderBoxesHoldAmounts(person_, payAmount, cashAmount) && cardAmountPasses() && totalPasses();
    return confirmed_;
}

}  // namespace pos
