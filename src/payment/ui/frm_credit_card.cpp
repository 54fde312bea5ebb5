#include "payment/ui/frm_credit_card.h"

#include "widgets/dialog_form.h"

namespace pos {

TfrmCreditCard::TfrmCreditCard(CreditCardTender& tender, QWidget* parent) : TenderWindow(parent), tender_(tender)
{
    setWindowTitle(QStringLiteral("银行卡支付"));
    DialogForm form(this);
    addTenderBoxes(form, tender.due(), QStringLiteral("卡　　号："), tender.cardNo, QStringLiteral("卡付金额："),
                   tender.payAmount, tender.cashAmount);
    addButtons(form);
}

std::optional<TenderFocus> TfrmCreditCard::enterIn(TenderFocus box)
{
    switch (box) {
    case TenderFocus::CardNo:
        return TenderFocus::PayAmount;  // selected: the amount typed replaces the proposal
    case TenderFocus::PayAmount:
        return tender_.payAmountEnter();
    case TenderFocus::CashAmount:
        return tender_.cashAmountEnter();
    default:
        return std::nullopt;
    }
}

}  // namespace pos
