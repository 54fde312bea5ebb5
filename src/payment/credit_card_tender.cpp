#include "payment/credit_card_tender.h"

#include "base/number_format.h"

#include <algorithm>

namespace pos {

CreditCardTender::CreditCardTender(Person& person, double due)
    : payAmount(generalAmount(due)), cashAmount("0"), person_(person), due_(cents(due))
{
}

bool CreditCardTender::cardAmountPasses()
{
    const double card = cents(cardPaid());
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
    return totalCoversDue(person_, cardPaid() + cash(), due_, "付款金额不足！", "付款金额太大！");
}

TenderFocus CreditCardTender::payAmountEnter()
{
    emptyCountsAsZero(payAmount);
    if (!tenderBoxesHoldAmounts(person_, payAmount, cashAmount) || !cardAmountPasses())
        return TenderFocus::PayAmount;
    cashAmount = generalAmount(due_ - cardPaid());
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
