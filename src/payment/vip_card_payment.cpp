#include "payment/vip_card_payment.h"

#include "base/number_format.h"
#include "base/trim.h"
#include "payment/payment_statements.h"
#include "payment/sale_saving.h"

#include <algorithm>

namespace pos {

VIPCardPayment::VIPCardPayment(const PaymentContext& c, Sale& sale, AfterSale& devices)
    : c_(c),
      sale_(sale),
      bill_(sale.bill),
      devices_(devices),
      due_(cents(bill_.realAmount().toDouble())),
      chargeAmount_(generalAmount(due_)),
      cardNo_(trimmed(bill_.insiderCode().toString()))
{
    const std::optional<CardFigures> card =
        cardNo_.empty() ? std::nullopt : findCard(c.db().statements<PaymentStatements>(), cardNo_);
    if (card) {
        discount_ = generalNumber(card->discount);
        balanceRead_ = cents(card->balance);
        balance_ = generalNumber(balanceRead_);
        totalAmount_ = generalNumber(card->totalAmount);
    }
    // A card gone below zero (bills sold offline) offers nothing, and other tenders pay.
    const double offered = std::clamp(balanceRead_, 0.0, std::max(due_, 0.0));
    if (balanceRead_ > due_) {
        payAmount = generalAmount(due_);
        cashAmount = "0.00";
    } else {
        payAmount = generalNumber(offered);
        cashAmount = generalAmount(due_ - offered);
    }
}

bool VIPCardPayment::cardAmountPasses()
{
    const double card = cents(amountIn(payAmount));
    // The save books the card amount against the bill's card: without one nobody pays it.
    if (card != 0 && cardNo_.empty()) {
        tenderHint(c_.person, "此单没有会员卡，不能用储值卡支付！");
        return false;
    }
    // Nothing taken off the card needs a balance, so a card below zero still takes a bill.
    if (card > 0 && card > balanceRead_) {
        tenderHint(c_.person, "卡内余额不够！");
        return false;
    }
    if (card > due_) {
        tenderHint(c_.person, "支付金额不能大于应收金额！");
        return false;
    }
    // A negative amount would put money on the card.
    if (card < std::min(0.0, due_)) {
        tenderHint(c_.person, "支付金额不能小于零！");
        return false;
    }
    return true;
}

TenderFocus VIPCardPayment::payAmountEnter()
{
    emptyCountsAsZero(payAmount);
    if (!tenderBoxesHoldAmounts(c_.person, payAmount, cashAmount) || !cardAmountPasses())
        return TenderFocus::PayAmount;
    cashAmount = generalAmount(due_ - amountIn(payAmount));
    return TenderFocus::CashAmount;
}

TenderFocus VIPCardPayment::cashAmountEnter()
{
    emptyCountsAsZero(cashAmount);
    if (!tenderBoxesHoldAmounts(c_.person, payAmount, cashAmount))
        return TenderFocus::PayAmount;
    if (!totalCoversDue(c_.person, amountIn(payAmount) + amountIn(cashAmount), due_, "输入金额太小！",
                        "输入金额太大！"))
        return TenderFocus::PayAmount;
    return TenderFocus::OK;
}

bool VIPCardPayment::confirm()
{
    if (completed_)
        return true;  // a saved bill is never saved twice
    if (!tenderBoxesHoldAmounts(c_.person, payAmount, cashAmount) || !cardAmountPasses())
        return false;
    const double card = cents(amountIn(payAmount));
    if (cents(card + amountIn(cashAmount)) < due_) {
        tenderHint(c_.person, "输入金额小于应收金额！", "");
        return false;
    }
    // Like every completed bill, it is dated when it is paid.
    const std::string paidAt = c_.paidAt().text();
    const Value cardBefore = bill_.cardAmount3();
    const Value cashBefore = bill_.cashAmount();
    bill_.cardAmount3() = card;
    bill_.realAmount() = due_;
    bill_.cashAmount() = cents(due_ - card);
    bill_.billDate() = paidAt;
    const SaveOutcome saved = SaveSale(c_, sale_);
    if (!saved.saved()) {
        // A card part that was not saved must not be counted by the next tender; a bill in
        // doubt keeps what the server may hold.
        if (saved.result != BillOutcomeUnknown) {
            bill_.cardAmount3() = cardBefore;
            bill_.cashAmount() = cashBefore;
        }
        return false;
    }
    completed_ = true;
    sale_.member.VIPCardBalance = cents(balanceRead_ - card);  // the receipt prints it
    runAfterSale();
    return true;
}

void VIPCardPayment::runAfterSale() { RunAfterSale(c_, devices_, sale_, due_, 0, true); }

}  // namespace pos
