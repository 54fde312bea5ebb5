#include "payment/ui/frm_ticket_pay.h"

#include "base/trim.h"
#include "widgets/dialog_form.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pos {

TfrmTicketPay::TfrmTicketPay(TicketTender& tender, QWidget* parent) : TenderWindow(parent), tender_(tender)
{
    setWindowTitle(QStringLiteral("购物券支付"));
    DialogForm form(this);
    edtPayAmount_ = addTenderBoxes(form, tender.due(), QStringLiteral("购物券号码："), tender.cardNo,
                                   QStringLiteral("购物券金额："), tender.payAmount, tender.cashAmount)
                        .edtPayAmount;

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("rdgChangeStyle"));
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

    edtPayAmount_->setEnabled(false);
    showStyle();
}

void TfrmTicketPay::showStyle() { styles_[tender_.changeStyle]->setChecked(true); }

void TfrmTicketPay::focusOn(TenderFocus focus)
{
    edtPayAmount_->setEnabled(tender_.payAmountEnabled());
    // The amount of a coupon read by its number is not typed: its cash is corrected.
    if (focus == TenderFocus::PayAmount && !tender_.payAmountEnabled())
        focus = TenderFocus::CashAmount;
    TenderWindow::focusOn(focus);
}

TenderFocus TfrmTicketPay::focusAfterRefusal() const
{
    return trimmed(tender_.cardNo).empty() ? TenderFocus::CardNo : TenderFocus::PayAmount;
}

std::optional<TenderFocus> TfrmTicketPay::enterIn(TenderFocus box)
{
    switch (box) {
    case TenderFocus::CardNo:
        return tender_.cardNoEnter();
    case TenderFocus::PayAmount:
        return tender_.payAmountEnter();
    case TenderFocus::CashAmount:
        return tender_.cashAmountEnter();
    default:
        return std::nullopt;
    }
}

bool TfrmTicketPay::baseKeyDown(QKeyEvent* event)
{
    if (event->text() == QLatin1String("*")) {
        tender_.switchChangeStyle();
        showStyle();
        return true;
    }
    return TenderWindow::baseKeyDown(event);
}

}  // namespace pos
