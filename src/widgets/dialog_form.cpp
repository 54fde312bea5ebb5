#include "widgets/dialog_form.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pos {

DialogForm::DialogForm(QDialog* dialog)
    : dialog_(dialog), fields_(new QGridLayout), buttons_(new QHBoxLayout)
{
    auto* outer = new QVBoxLayout(dialog);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addLayout(fields_);
    buttons_->addStretch();
    outer->addLayout(buttons_);
}

void DialogForm::addField(const QString& caption, QWidget* field)
{
    const int row = fields_->rowCount();
    auto* label = new QLabel(caption, dialog_);
    label->setBuddy(field);
    fields_->addWidget(label, row, 0, Qt::AlignRight);
    fields_->addWidget(field, row, 1);
}

QLineEdit* DialogForm::addEdit(const QString& caption, const char* objectName)
{
    auto* edit = new QLineEdit(dialog_);
    edit->setObjectName(QString::fromLatin1(objectName));
    addField(caption, edit);
    return edit;
}

QLineEdit* DialogForm::addPasswordEdit(const QString& caption, const char* objectName)
{
    QLineEdit* edit = addEdit(caption, objectName);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return edit;
}

QPushButton* DialogForm::addButton(const QString& text, const char* objectName)
{
    auto* button = new QPushButton(text, dialog_);
    button->setObjectName(QString::fromLatin1(objectName));
    buttons_->addWidget(button);
    return button;
}

}  // namespace pos
