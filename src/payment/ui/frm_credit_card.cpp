#include "payment/ui/frm_credit_card.h"

#include "base/number_format.h"
#include "widgets/dialog_form.h"

#include <QLineEdit>

namespace pos {

TfrmCreditCard::TfrmCreditCard(CreditCardTender& tender, QWidget* parent) : TenderWindow(parent), tender_(tender)
{
    setWindowTitle(QStringLiteral("银行卡支付"));
    DialogForm form(this);
    chargeLabel(form, QString::fromStdString(generalNumber(tender.due())));
    QLineEdit* edtCardNo = form.addEdit(QStringLiteral("卡　　号："), "edtCardNo");
    bind(TenderFocus::CardNo, edtCardNo, tender.cardNo);
    bind(TenderFocus::PayAmount, amountEdit(form, QStringLiteral("卡付金额："), "edtPayAmount"), tender.payAmount);
    bind(TenderFocus::CashAmount, amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount"), tender.cashAmount);
    addButtons(form);
    edtCardNo->setFocus();
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
