#include "access/ui/frm_admin_login.h"

#include "widgets/dialog_form.h"
#include "widgets/enter_key.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace pos {

TfrmAdminLogin::TfrmAdminLogin(OperatorRight right, QWidget* parent) : TfrmBase(parent), right_(right)
{
    setWindowTitle(QStringLiteral("管理员授权"));
    DialogForm form(this);
    edtCode_ = form.addEdit(QStringLiteral("管理员代码："), "edtCode");
    edtPass_ = form.addPasswordEdit(QStringLiteral("管理员密码："), "edtPass");
    btnOK_ = form.addButton(QStringLiteral("确定(&O)"), "btnOK");
    btnCancel_ = form.addButton(QStringLiteral("取消(&C)"), "btnCancel");
    connect(btnOK_, &QPushButton::clicked, this, &TfrmAdminLogin::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmAdminLogin::reject);
    edtCode_->setFocus();
}

bool TfrmAdminLogin::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && focusWidget() == edtPass_) {
        btnOK_->click();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

void TfrmAdminLogin::btnOKClick()
{
    credentials_ = Credentials{edtCode_->text().toStdString(), edtPass_->text().toStdString()};
    accept();
}

}  // namespace pos
