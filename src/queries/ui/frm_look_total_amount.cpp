#include "queries/ui/frm_look_total_amount.h"

#include "queries/shift_takings.h"
#include "widgets/dialog_form.h"
#include "widgets/window_errors.h"

#include <QLineEdit>
#include <QPushButton>

namespace pos {
namespace {

// Read-only and skipped by Tab.
QLineEdit* shownField(DialogForm& form, const QString& caption, const char* name)
{
    QLineEdit* edit = form.addEdit(caption, name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

}  // namespace

TfrmLookTotalAmount::TfrmLookTotalAmount(TDM& dm, int operatorId, QWidget* parent)
    : TfrmBase(parent), dm_(dm), operatorId_(operatorId)
{
    setWindowTitle(QStringLiteral("查看收银总金额"));
    DialogForm form(this);
    edtSAMount_ = shownField(form, QStringLiteral("应收总金额："), "edtSAMount");
    edtRAmount_ = shownField(form, QStringLiteral("实收总金额："), "edtRAmount");
    edtOAmount_ = shownField(form, QStringLiteral("抹零总金额："), "edtOAmount");
    btnClose_ = form.addButton(QStringLiteral("关闭"), "btnClose");
    connect(btnClose_, &QPushButton::clicked, this, &TfrmLookTotalAmount::accept);
    btnClose_->setFocus();
}

void TfrmLookTotalAmount::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmLookTotalAmount::FormShow()
{
    guarded("查看收银总金额", [this] {
        const auto totals = QueryTakingsToday(dm_.conServer().statements<TakingsStatements>(), operatorId_,
                                              dm_.serverTime(Online));
        if (!totals)
            return;
        edtSAMount_->setText(QString::fromStdString(totals->Amount.toString()));
        edtRAmount_->setText(QString::fromStdString(totals->RealAmount.toString()));
        edtOAmount_->setText(QString::fromStdString(totals->OAmount.toString()));
    });
    btnClose_->setFocus();
}

}  // namespace pos
