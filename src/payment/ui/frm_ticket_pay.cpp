#include "payment/ui/frm_ticket_pay.h"

#include "base/number_format.h"
#include "widgets/dialog_form.h"
#include "widgets/window_errors.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pos {

TfrmTicketPay::TfrmTicketPay(TicketTender& tender, QWidget* parent) : TenderWindow(parent), tender_(tender)
{
    setWindowTitle(QStringLiteral("购物券支付"));
    DialogForm form(this);
    chargeLabel(form, QString::fromStdString(generalNumber(tender.due())));
    edtCardNo_ = form.addEdit(QStringLiteral("购物券号码："), "edtCardNo");
    edtPayAmount_ = amountEdit(form, QStringLiteral("购物券金额："), "edtPayAmount");
    edtCashAmount_ = amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount");

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("rdgChangeStyle"));
    rdgChangeStyle_ = group;
    auto* buttons = new QButtonGroup(group);
    auto* column = new QVBoxLayout(group);
    const char* captions[] = {"不找零", "找现金", "找购物券"};
    for (int i = 0; i < 3; ++i) {
        styles_[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
        styles_[i]->setFocusPolicy(Qt::NoFocus);
        buttons->addButton(styles_[i], i);
        column->addWidget(styles_[i]);
    }
    connect(buttons, &QButtonGroup::idClicked, this, [this](int id) { tender_.changeStyle = id; });
    form.addField(QStringLiteral("找零方式："), group);
    form.addField(QString(), new QLabel(QStringLiteral("说明：* 键切换找零方式"), this));
    addButtons(form);

    show(edtCashAmount_, tender.cashAmount);
    edtPayAmount_->setEnabled(false);
    showStyle();
    edtCardNo_->setFocus();
}

void TfrmTicketPay::showStyle() { styles_[tender_.changeStyle]->setChecked(true); }

void TfrmTicketPay::take()
{
    tender_.cardNo = textOf(edtCardNo_);
    tender_.payAmount = textOf(edtPayAmount_);
    tender_.cashAmount = textOf(edtCashAmount_);
}

void TfrmTicketPay::focusOn(TenderFocus focus)
{
    show(edtPayAmount_, tender_.payAmount);
    show(edtCashAmount_, tender_.cashAmount);
    edtPayAmount_->setEnabled(tender_.payAmountEnabled());
    // The amount of a coupon read by its number is not typed: its cash is corrected.
    if (focus == TenderFocus::PayAmount && !tender_.payAmountEnabled())
        focus = TenderFocus::CashAmount;
    TenderWindow::focusOn(focus == TenderFocus::PayAmount    ? edtPayAmount_
                          : focus == TenderFocus::CashAmount ? edtCashAmount_
                          : focus == TenderFocus::CardNo     ? edtCardNo_
                                                             : nullptr);
}

bool TfrmTicketPay::baseKeyDown(QKeyEvent* event)
{
    if (event->text() == QLatin1String("*")) {
        tender_.switchChangeStyle();
        showStyle();
        return true;
    }
    if (dropsTypedKey(event))
        return true;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (enter && (focus == edtCardNo_ || focus == edtPayAmount_ || focus == edtCashAmount_)) {
        take();
        guarded("读购物券", [&] {
            focusOn(focus == edtCardNo_      ? tender_.cardNoEnter()
                    : focus == edtPayAmount_ ? tender_.payAmountEnter()
                                             : tender_.cashAmountEnter());
        });
        return true;
    }
    return TenderWindow::baseKeyDown(event);
}

void TfrmTicketPay::btnOKClick()
{
    take();
    if (tender_.confirm()) {
        accept();
        return;
    }
    focusOn(tender_.cardNo.empty() ? TenderFocus::CardNo : TenderFocus::PayAmount);
}

}  // namespace pos
