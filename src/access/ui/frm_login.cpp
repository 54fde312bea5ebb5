#include "access/ui/frm_login.h"

#include "access/login.h"
#include "widgets/dialog_form.h"
#include "config/working_connection.h"
#include "widgets/window_errors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace pos {

TfrmLogin::TfrmLogin(TDM& dm, TPosState& state, Person& person, QWidget* parent)
    : TfrmBase(parent), dm_(dm), state_(state), person_(person)
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

AccessStatements& TfrmLogin::statements()
{
    return WorkingConnection(dm_, state_).db().statements<AccessStatements>();
}

void TfrmLogin::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (event->spontaneous())
        return;  // shown again after being minimised, not opened
    succeeded_ = false;
    cmbClassNo_->clear();
    guarded("读取班次", [this] {
        for (const std::string& name : shiftNames(statements()))
            cmbClassNo_->addItem(QString::fromStdString(name));
    });
    cmbClassNo_->setCurrentIndex(-1);  // the cashier chooses; nothing is preselected
}

void TfrmLogin::btnOKClick()
{
    SignOnResult result = SignOnResult::BadCredentials;
    if (!guarded("登录", [&] {
            result = signOn(statements(), state_, edtCode_->text().toStdString(), edtPassword_->text().toStdString(),
                            cmbClassNo_->currentText().toStdString());
        }))
        return;  // the dialog stays open for another try
    switch (result) {
    case SignOnResult::BadCredentials:
        person_.message("您输入的代码或密码不正确！", "提示", MessageIcon::Information);
        edtCode_->setFocus();
        break;
    case SignOnResult::NoShift:
        person_.message("您没有选择班次！", "提示", MessageIcon::Information);
        cmbClassNo_->setFocus();
        break;
    case SignOnResult::SignedOn:
        succeeded_ = true;
        accept();
        break;
    }
}

}  // namespace pos
