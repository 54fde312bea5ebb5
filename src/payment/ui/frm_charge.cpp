#include "payment/ui/frm_charge.h"

#include "payment/ui/frm_credit_card.h"
#include "payment/ui/frm_ticket_pay.h"
#include "widgets/window_errors.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pos {
namespace {

QFont largeFont(const QFont& base)
{
    QFont f(base);
    f.setPixelSize(28);
    f.setBold(true);
    return f;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(largeFont(parent->font()));
    return label;
}

QLineEdit* amountBox(const char* objectName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setFont(largeFont(parent->font()));
    return box;
}

// A shown amount: read-only and out of the focus chain.
QLineEdit* shownAmount(const char* objectName, QWidget* parent)
{
    QLineEdit* box = amountBox(objectName, parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

bool isModifier(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
}

}  // namespace

TfrmCharge::TfrmCharge(Checkout& checkout, const QString& totalQty, QWidget* parent)
    : TfrmBase(parent), checkout_(checkout)
{
    setWindowTitle(QStringLiteral("收银"));
    edtSAmount_ = shownAmount("edtSAmount", this);
    edtCAmount_ = amountBox("edtCAmount", this);
    edtOAmount_ = shownAmount("edtOAmount", this);
    lblQty_ = new QLabel(totalQty, this);
    lblQty_->setObjectName(QStringLiteral("lblQty"));
    lblPrintBill_ = new QLabel(this);
    lblPrintBill_->setObjectName(QStringLiteral("lblPrintBill"));
    auto* lblHelp = new QLabel(QStringLiteral("功能键：F5[是否打印]    * [抹零]     / [银行卡支付]   F8[购物券支付]"), this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));

    auto* amounts = new QGridLayout;
    amounts->addWidget(caption(QStringLiteral("应收款"), this), 0, 0);
    amounts->addWidget(edtSAmount_, 0, 1);
    amounts->addWidget(caption(QStringLiteral("客付款"), this), 1, 0);
    amounts->addWidget(edtCAmount_, 1, 1);
    amounts->addWidget(caption(QStringLiteral("找　零"), this), 2, 0);
    amounts->addWidget(edtOAmount_, 2, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("数量合计:"), this));
    status->addWidget(lblQty_);
    status->addStretch();
    status->addWidget(lblPrintBill_);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(amounts);
    outer->addLayout(status);
    outer->addWidget(lblHelp);
    setFixedSize(480, 240);

    connect(edtCAmount_, &QLineEdit::textEdited, this,
            [this](const QString& text) { checkout_.setPaid(text.toStdString()); });
    showBoxes();
    edtCAmount_->setFocus();
}

void TfrmCharge::showBoxes()
{
    edtSAmount_->setText(QString::fromStdString(checkout_.due()));
    const QString paid = QString::fromStdString(checkout_.paid());
    if (edtCAmount_->text() != paid)
        edtCAmount_->setText(paid);
    edtOAmount_->setText(QString::fromStdString(checkout_.change()));
    lblPrintBill_->setText(QString::fromStdString(checkout_.printCaption()));
}

void TfrmCharge::edtCAmountEnter()
{
    const bool saved = checkout_.complete();
    showBoxes();
    if (!saved)
        edtCAmount_->selectAll();  // the cashier simply types the amount again
}

bool TfrmCharge::baseKeyDown(QKeyEvent* event)
{
    // A key whose step failed is used up; the dialog stays open and shows where the
    // checkout stopped.
    bool used = true;
    if (!guarded("收款", [&] { used = checkoutKey(event); }))
        showBoxes();
    return used;
}

bool TfrmCharge::checkoutKey(QKeyEvent* event)
{
    const int key = event->key();
    if (checkout_.completed()) {
        if (!isModifier(key))
            accept();
        return true;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        edtCAmountEnter();
        return true;
    case Qt::Key_F5:
        checkout_.togglePrinting();
        break;
    case Qt::Key_F8:
        payByCoupon();
        return true;
    case Qt::Key_F11:
        checkout_.closeUnpaid();
        break;
    case Qt::Key_F12:
        checkout_.closeFree();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;  // the paid box keeps the focus
    default:
        if (event->text() == QLatin1String("/")) {
            payByCard();
            return true;
        }
        if (event->text() != QLatin1String("*"))
            return false;
        checkout_.writeOff();
        break;
    }
    showBoxes();
    return true;
}

void TfrmCharge::payByCard()
{
    CreditCardTender tender = checkout_.cardTender();
    TfrmCreditCard dialog(tender, this);
    dialog.exec();
    if (tender.confirmed()) {
        afterTender(checkout_.payByCard(tender));
        return;
    }
    showBoxes();
    edtCAmount_->setFocus();
    edtCAmount_->selectAll();
}

void TfrmCharge::payByCoupon()
{
    TicketTender tender = checkout_.couponTender();
    TfrmTicketPay dialog(tender, this);
    dialog.exec();
    if (tender.confirmed())
        afterTender(checkout_.payByCoupon(tender));
}

void TfrmCharge::afterTender(bool saved)
{
    showBoxes();
    edtCAmount_->setFocus();
    if (!saved)
        edtCAmount_->selectAll();
}

void TfrmCharge::reject()
{
    if (checkout_.completed()) {
        accept();
        return;
    }
    checkout_.leave();
    TfrmBase::reject();
}

}  // namespace pos
