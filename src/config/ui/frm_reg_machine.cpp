#include "config/ui/frm_reg_machine.h"

#include "widgets/dialog_form.h"
#include "widgets/window_errors.h"
#include "config/enrollment.h"
#include "base/person.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace pos {

TfrmRegMachine::TfrmRegMachine(Settings& settings, PgDatabase& server, Person& person, QWidget* parent)
    : TfrmBase(parent), settings_(settings), server_(server), person_(person)
{
    setWindowTitle(QStringLiteral("注册POS机"));
    DialogForm form(this);
    edtMachineCode_ = form.addEdit(QStringLiteral("POS机号："), "edtMachineCode");
    btnOK_ = form.addButton(QStringLiteral("确定"), "btnOK");
    btnCancel_ = form.addButton(QStringLiteral("取消"), "btnCancel");
    connect(btnOK_, &QPushButton::clicked, this, &TfrmRegMachine::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmRegMachine::reject);
    edtMachineCode_->setFocus();
}

void TfrmRegMachine::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (!event->spontaneous())
        enrolled_ = false;
}

void TfrmRegMachine::btnOKClick()
{
    const std::string number = edtMachineCode_->text().trimmed().toStdString();
    EnrolResult result = EnrolResult::NotFree;
    if (!guarded("注册POS机", [&] { result = enrolMachine(settings_, server_, number); }))
        return;  // the dialog stays open for another try
    if (result == EnrolResult::NotFree) {
        person_.message("您输入的POS机号不正确或者该POS机号已被注册。", "提示", MessageIcon::Information);
        edtMachineCode_->setFocus();
        return;
    }
    person_.message("恭喜您！POS机号注册成功。", "提示", MessageIcon::Information);
    enrolled_ = true;
    accept();
}

}  // namespace pos
