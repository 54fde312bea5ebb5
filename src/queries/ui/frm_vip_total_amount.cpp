#include "queries/ui/frm_vip_total_amount.h"

#include "queries/member_totals.h"
#include "widgets/dialog_form.h"
#include "widgets/enter_key.h"
#include "widgets/window_errors.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace pos {

TfrmVIPTotalAmount::TfrmVIPTotalAmount(WorkingConnection db, QWidget* parent) : TfrmBase(parent), db_(db)
{
    setWindowTitle(QStringLiteral("会员累计消费查询"));
    DialogForm form(this);
    edtCardNo_ = form.addEdit(QStringLiteral("会员卡号："), "edtCardNo");
    edtTotalAmount_ = form.addEdit(QStringLiteral("累计消费："), "edtTotalAmount");
    edtTotalAmount_->setReadOnly(true);
    edtTotalAmount_->setFocusPolicy(Qt::NoFocus);
    btnOK_ = form.addButton(QStringLiteral("确定"), "btnOK");
    connect(btnOK_, &QPushButton::clicked, this, &TfrmVIPTotalAmount::accept);
    edtCardNo_->setFocus();
}

bool TfrmVIPTotalAmount::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && focusWidget() == edtCardNo_) {
        edtCardNoEnter();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

// The focus stays on the number, selected, so the next card typed replaces it.
void TfrmVIPTotalAmount::edtCardNoEnter()
{
    const std::string cardNo = edtCardNo_->text().toStdString();
    if (cardNo.empty())
        return;
    std::string total;
    if (!guarded("会员累计消费查询", [&] { total = MemberTotalText(db_.db().statements<MemberTotalsStatements>(), cardNo); }))
        return;
    edtTotalAmount_->setText(QString::fromStdString(total));
    edtCardNo_->selectAll();
}

}  // namespace pos
