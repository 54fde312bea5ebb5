#include "widgets/frm_comm_input.h"

#include "base/number_format.h"
#include "widgets/enter_key.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace pos {

TfrmCommInput::TfrmCommInput(Person& person, QWidget* parent) : TfrmBase(parent), person_(person)
{
    setWindowTitle(QStringLiteral("通用输入框"));
    lblInput_ = new QLabel(QStringLiteral("标题："), this);
    lblInput_->setObjectName(QStringLiteral("lblInput"));
    edtInput_ = new QLineEdit(this);
    edtInput_->setObjectName(QStringLiteral("edtInput"));
    lblInput_->setBuddy(edtInput_);
    btnOK_ = new QPushButton(QStringLiteral("确定"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_ = new QPushButton(QStringLiteral("取消"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));

    auto* field = new QHBoxLayout;
    field->addWidget(lblInput_);
    field->addWidget(edtInput_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    auto* outer = new QVBoxLayout(this);
    outer->addStretch();
    outer->addLayout(field);
    outer->addStretch();
    outer->addLayout(buttons);
    setFixedSize(278, 119);

    connect(btnOK_, &QPushButton::clicked, this, &TfrmCommInput::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmCommInput::reject);
    edtInput_->setFocus();
}

void TfrmCommInput::setLabel(const QString& text) { lblInput_->setText(text); }

void TfrmCommInput::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (!event->spontaneous())
        result_ = std::string(kind_ == 3 ? "" : "0");
}

bool TfrmCommInput::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && focusWidget() == edtInput_) {
        btnOKClick();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

std::string TfrmCommInput::refusal(const std::string& text) const
{
    long long i = 0;
    double d = 0;
    if (text.empty())
        return "输入的内容不能为空！";
    if (kind_ == 1 && !parseInt(text, i))
        return "您输入的不是整数！";
    if (kind_ == 2 && !parseNumber(text, d))
        return "您输入的不是数值！";
    return {};
}

void TfrmCommInput::btnOKClick()
{
    const std::string text = edtInput_->text().toStdString();
    const std::string refused = refusal(text);
    if (!refused.empty()) {
        person_.message(refused, "提示", MessageIcon::Information);
        edtInput_->selectAll();
        edtInput_->setFocus();
        return;
    }
    result_ = text;
    accept();
}

}  // namespace pos
