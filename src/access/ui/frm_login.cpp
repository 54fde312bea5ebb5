#include "access/ui/frm_login.h"

#include "access/login.h"
#include "widgets/dialog_form.h"
#include "widgets/window_errors.h"
#include "config/terminal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace pos {

TfrmLogin::TfrmLogin(Terminal& t, QWidget* parent) : TfrmBase(parent), t_(t)
{
    setWindowTitle(QStringLiteral("登录"));
    DialogForm form(this);
    edtCode_ = form.addEdit(QStringLiteral("操作员代码："), "edtCode");
    edtPassword_ = form.addPasswordEdit(QStringLiteral("操作员密码："), "edtPassword");
    cmbClassNo_ = new QComboBox(this);
    cmbClassNo_->setObjectName(QStringLiteral("cmbClassNo"));
    cmbClassNo_->setEditable(false);
    cmbClassNo_->setAttribute(Qt::WA_InputMethodEnabled, false);
    form.addField(QStringLiteral("班次："), cmbClassNo_);
    btnOK_ = form.addButton(QStringLiteral("确定"), "btnOK");
    btnCancel_ = form.addButton(QStringLiteral("取消"), "btnCancel");
    connect(btnOK_, &QPushButton::clicked, this, &TfrmLogin::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmLogin::reject);
    edtCode_->setFocus();
}

void TfrmLogin::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (event->spontaneous())
        return;  // shown again after being minimised, not opened
    succeeded_ = false;
    cmbClassNo_->clear();
    guarded("读取班次", [this] {
        for (const std::string& name : shiftNames(t_.db().statements<AccessStatements>()))
            cmbClassNo_->addItem(QString::fromStdString(name));
    });
    cmbClassNo_->setCurrentIndex(-1);  // the cashier chooses; nothing is preselected
}

void TfrmLogin::btnOKClick()
{
    SignOnResult result = SignOnResult::BadCredentials;
    if (!guarded("登录", [&] {
            result = signOn(t_, edtCode_->text().toStdString(), edtPassword_->text().toStdString(),
                            cmbClassNo_->currentText().toStdString());
        }))
        return;  // the dialog stays open for another try
    switch (result) {
    case SignOnResult::BadCredentials:
        t_.person.message("您输入的代码或密码不正确！", "提示", MessageIcon::Information);
        edtCode_->setFocus();
        break;
    case SignOnResult::NoShift:
        t_.person.message("您没有选择班次！", "提示", MessageIcon::Information);
        cmbClassNo_->setFocus();
        break;
    case SignOnResult::SignedOn:
        succeeded_ = true;
        accept();
        break;
    }
}

}  // namespace pos
