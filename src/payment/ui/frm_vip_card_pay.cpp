#include "payment/ui/frm_vip_card_pay.h"

#include "widgets/dialog_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pos {

TfrmVIPCardPay::TfrmVIPCardPay(Terminal& t, Bill& bill, AfterSale& devices, const QString& totalQty, QWidget* parent)
    : TenderWindow(parent), payment_(t, bill, devices)
{
    setWindowTitle(QStringLiteral("储值卡支付"));
    DialogForm form(this);
    chargeLabel(form, QString::fromStdString(payment_.chargeAmount()));
    shownEdit(form, QStringLiteral("会员卡号："), "edtCardNo", payment_.cardNo());
    shownEdit(form, QStringLiteral("折　　扣："), "edtDiscount", payment_.discount());
    shownEdit(form, QStringLiteral("卡内余额："), "edtAmount", payment_.balance());
    shownEdit(form, QStringLiteral("累计消费："), "edtTotalAmount", payment_.totalAmount());
    edtPayAmount_ = amountEdit(form, QStringLiteral("本次支付："), "edtPayAmount");
    edtCashAmount_ = amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount");
    auto* lblQty = new QLabel(totalQty, this);
    lblQty->setObjectName(QStringLiteral("lblQty"));
    form.addField(QStringLiteral("数量合计:"), lblQty);
    addButtons(form);
    show(edtPayAmount_, payment_.payAmount);
    show(edtCashAmount_, payment_.cashAmount);
    edtPayAmount_->setFocus();
}

void TfrmVIPCardPay::take()
{
    payment_.payAmount = textOf(edtPayAmount_);
    payment_.cashAmount = textOf(edtCashAmount_);
}

void TfrmVIPCardPay::focusOn(TenderFocus focus)
{
    show(edtPayAmount_, payment_.payAmount);
    show(edtCashAmount_, payment_.cashAmount);
    TenderWindow::focusOn(focus == TenderFocus::PayAmount    ? edtPayAmount_
                          : focus == TenderFocus::CashAmount ? edtCashAmount_
                                                             : nullptr);
}

bool TfrmVIPCardPay::baseKeyDown(QKeyEvent* event)
{
    if (dropsTypedKey(event))
        return true;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (enter && (focus == edtPayAmount_ || focus == edtCashAmount_)) {
        take();
        focusOn(focus == edtPayAmount_ ? payment_.payAmountEnter() : payment_.cashAmountEnter());
        return true;
    }
    return TenderWindow::baseKeyDown(event);
}

void TfrmVIPCardPay::btnOKClick()
{
    take();
    if (payment_.confirm())
        accept();
    else
        focusOn(payment_.focusAfterRefusal());
}

}  // namespace pos
