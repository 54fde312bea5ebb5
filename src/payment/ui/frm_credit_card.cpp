#include "payment/ui/frm_credit_card.h"

#include "base/number_format.h"
#include "widgets/dialog_form.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace pos {

TfrmCreditCard::TfrmCreditCard(CreditCardTender& tender, QWidget* parent) : TenderWindow(parent), tender_(tender)
{
    setWindowTitle(QStringLiteral("银行卡支付"));
    DialogForm form(this);
    chargeLabel(form, QString::fromStdString(generalNumber(tender.due())));
    edtCardNo_ = form.addEdit(QStringLiteral("卡　　号："), "edtCardNo");
    edtPayAmount_ = amountEdit(form, QStringLiteral("卡付金额："), "edtPayAmount");
    edtCashAmount_ = amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount");
    addButtons(form);
    show(edtPayAmount_, tender.payAmount);
    show(edtCashAmount_, tender.cashAmount);
    edtCardNo_->setFocus();
}

void TfrmCreditCard::take()
{
    tender_.cardNo = textOf(edtCardNo_);
    tender_.payAmount = textOf(edtPayAmount_);
    tender_.cashAmount = textOf(edtCashAmount_);
}

void TfrmCreditCard::focusOn(TenderFocus focus)
{
    show(edtPayAmount_, tender_.payAmount);
    show(edtCashAmount_, tender_.cashAmount);
    TenderWindow::focusOn(focus == TenderFocus::PayAmount    ? edtPayAmount_
                          : focus == TenderFocus::CashAmount ? edtCashAmount_
                          : focus == TenderFocus::CardNo     ? edtCardNo_
                                                             : nullptr);
}

bool TfrmCreditCard::baseKeyDown(QKeyEvent* event)
{
    if (dropsTypedKey(event))
        return true;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (enter && focus == edtCardNo_) {
        TenderWindow::focusOn(edtPayAmount_);  // selected: the amount typed replaces the proposal
        return true;
    }
    if (enter && (focus == edtPayAmount_ || focus == edtCashAmount_)) {
        take();
        focusOn(focus == edtPayAmount_ ? tender_.payAmountEnter() : tender_.cashAmountEnter());
        return true;
    }
    return TenderWindow::baseKeyDown(event);
}

void TfrmCreditCard::btnOKClick()
{
    take();
    if (tender_.confirm())
        accept();
    else
        focusOn(TenderFocus::PayAmount);
}

}  // namespace pos
