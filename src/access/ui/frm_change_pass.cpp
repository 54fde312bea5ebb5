#include "access/ui/frm_change_pass.h"

#include "access/operators.h"
#include "access/password_change.h"
#include "base/trim.h"
#include "config/working_connection.h"
#include "widgets/dialog_form.h"
#include "widgets/window_errors.h"

#include <QLineEdit>
#include <QPushButton>

namespace pos {

TfrmChangePass::TfrmChangePass(const PasswordChangeContext& c, QWidget* parent) : TfrmBase(parent), c_(c)
{
    setWindowTitle(QStringLiteral("修改密码"));
    DialogForm form(this);
    edtOldPass_ = form.addPasswordEdit(QStringLiteral("输入旧密码："), "edtOldPass");
    edtNewPassA_ = form.addPasswordEdit(QStringLiteral("输入新密码："), "edtNewPassA");
    edtNewPassB_ = form.addPasswordEdit(QStringLiteral("确认新密码："), "edtNewPassB");
    btnOK_ = form.addButton(QStringLiteral("确定"), "btnOK");
    btnCancel_ = form.addButton(QStringLiteral("取消"), "btnCancel");
    connect(btnOK_, &QPushButton::clicked, this, &TfrmChangePass::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmChangePass::reject);
    edtOldPass_->setFocus();
}

void TfrmChangePass::btnOKClick()
{
    const std::string oldPass = trimmed(edtOldPass_->text().toStdString());
    const std::string newPass = trimmed(edtNewPassA_->text().toStdString());
    int check = -1;
    if (!guarded("修改密码", [&] {
            AccessStatements& sql = WorkingConnection(c_.dm, c_.state).db().statements<AccessStatements>();
            check = CheckOperator(sql, c_.state.OperatorCode, oldPass);
        }))
        return;
    if (check < 0) {
        c_.person.message("您输入的旧密码不正确！", "提示", MessageIcon::Information);
        edtOldPass_->setFocus();
        return;
    }
    if (newPass != trimmed(edtNewPassB_->text().toStdString())) {
        c_.person.message("两次输入的新密码不相同！", "提示", MessageIcon::Information);
        edtNewPassA_->setFocus();
        return;
    }
    if (guarded("修改密码", [&] { ChangePassword(c_, c_.state.OperatorCode, newPass); }))
        accept();
}

}  // namespace pos
