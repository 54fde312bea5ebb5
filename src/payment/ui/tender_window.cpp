#include "payment/ui/tender_window.h"

#include "base/number_format.h"
#include "widgets/dialog_form.h"
#include "widgets/enter_key.h"
#include "widgets/window_errors.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pos {

TenderWindow::TenderWindow(QWidget* parent) : TfrmBase(parent) {}

QLabel* TenderWindow::chargeLabel(DialogForm& form, const QString& amount)
{
    auto* label = new QLabel(amount, this);
    label->setObjectName(QStringLiteral("lblChargeAmount"));
    QFont f = label->font();
    f.setPixelSize(24);
    f.setBold(true);
    label->setFont(f);
    form.addField(QStringLiteral("应收款："), label);
    return label;
}

QLineEdit* TenderWindow::amountEdit(DialogForm& form, const QString& caption, const char* objectName)
{
    QLineEdit* box = form.addEdit(caption, objectName);
    box->setProperty("amountBox", true);
    return box;
}

QLineEdit* TenderWindow::shownEdit(DialogForm& form, const QString& caption, const char* objectName,
                                   const std::string& text)
{
    QLineEdit* box = form.addEdit(caption, objectName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    show(box, text);
    return box;
}

void TenderWindow::addButtons(DialogForm& form)
{
    btnOK_ = form.addButton(QStringLiteral("确定"), "btnOK");
    btnCancel_ = form.addButton(QStringLiteral("取消"), "btnCancel");
    connect(btnOK_, &QPushButton::clicked, this, [this] { guarded("确认付款", [this] { btnOKClick(); }); });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

TenderWindow::TenderBoxes TenderWindow::addTenderBoxes(DialogForm& form, double due, const QString& numberCaption,
                                                      std::string& number, const QString& amountCaption,
                                                      std::string& amount, std::string& cash)
{
    chargeLabel(form, QString::fromStdString(generalAmount(due)));
    TenderBoxes boxes{form.addEdit(numberCaption, "edtCardNo"), amountEdit(form, amountCaption, "edtPayAmount")};
    bind(TenderFocus::CardNo, boxes.edtCardNo, number);
    bind(TenderFocus::PayAmount, boxes.edtPayAmount, amount);
    bind(TenderFocus::CashAmount, amountEdit(form, QStringLiteral("补 现 金："), "edtCashAmount"), cash);
    boxes.edtCardNo->setFocus();
    return boxes;
}

void TenderWindow::bind(TenderFocus focus, QLineEdit* box, std::string& text)
{
    bindings_.push_back({focus, box, &text});
    show(box, text);
}

void TenderWindow::take()
{
    for (const Binding& b : bindings_)
        *b.text = b.box->text().toStdString();
}

void TenderWindow::showTexts()
{
    for (const Binding& b : bindings_)
        show(b.box, *b.text);
}

void TenderWindow::focusOn(TenderFocus focus)
{
    showTexts();
    for (const Binding& b : bindings_)
        if (b.focus == focus) {
            b.box->setFocus();
            b.box->selectAll();
            return;
        }
    btnOK_->setFocus();
}

bool TenderWindow::baseKeyDown(QKeyEvent* event)
{
    if (dropsTypedKey(event))
        return true;
    if (isEnterKey(event)) {
        for (const Binding& b : bindings_)
            if (b.box == focusWidget()) {
                take();
                std::optional<TenderFocus> next;
                if (!guarded("付款", [&] { next = enterIn(b.focus); }))
                    return true;  // reported; the dialog stays as it was
                if (!next)
                    break;
                focusOn(*next);
                return true;
            }
    }
    return TfrmBase::baseKeyDown(event);
}

void TenderWindow::btnOKClick()
{
    take();
    if (confirm())
        accept();
    else
        focusOn(focusAfterRefusal());
}

bool TenderWindow::dropsTypedKey(QKeyEvent* event) const
{
    QWidget* focus = focusWidget();
    if (!focus || !focus->property("amountBox").toBool())
        return false;
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
        return false;  // editing keys: Backspace, Tab, Enter, arrows
    for (QChar c : text)
        if (c.unicode() > 0x7f || !amountBoxAccepts(static_cast<char>(c.unicode())))
            return true;
    return false;
}

void TenderWindow::show(QLineEdit* box, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (box->text() != shown)
        box->setText(shown);
}

}  // namespace pos
