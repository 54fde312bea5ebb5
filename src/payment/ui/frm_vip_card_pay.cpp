#include "payment/ui/frm_vip_card_pay.h"

#include "widgets/dialog_form.h"

#include <QLabel>
#include <QLineEdit>

namespace pos {

TfrmVIPCardPay::TfrmVIPCardPay(VIPCardPayment& payment, const QString& totalQty, QWidget* parent)
    : TenderWindow(parent), payment_(payment)
{
    setWindowTitle(QStringLiteral("储值卡支付"));
    DialogForm form(this);
    chargeLabel(form, QString::fromStdString(payment_.chargeAmount()));
    shownEdit(form, QStringLiteral("会员卡号："), "edtCardNo", payment_.cardNo());
    shownEdit(form, QStringLiteral("折　　扣："), "edtDiscount", payment_.discount());
    shownEdit(form, QStringLiteral("卡内余额："), "edtAmount", payment_.balance());
    shownEdit(form, QStringLiteral("累计消费："), "edtTotalAmount", payment_.totalAmount());
    QLineEdit* edtPayAmount = amountEdit(form, QStringLiteral("本次支付："), "edtPayAmount");
    bind(TenderFocus::PayAmount, edtPayAmount, payment_.payAmount);
    bind(TenderFocus::CashAmount, amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount"), payment_.cashAmount);
    auto* lblQty = new QLabel(totalQty, this);
    lblQty->setObjectName(QStringLiteral("lblQty"));
    form.addField(QStringLiteral("数量合计:"), lblQty);
    addButtons(form);
    edtPayAmount->setFocus();
}

std::optional<TenderFocus> TfrmVIPCardPay::enterIn(TenderFocus box)
{
    if (box == TenderFocus::PayAmount)
        return payment_.payAmountEnter();
    if (box == TenderFocus::CashAmount)
        return payment_.cashAmountEnter();
    return std::nullopt;
}

}  // namespace pos
