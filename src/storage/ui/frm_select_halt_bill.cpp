#include "storage/ui/frm_select_halt_bill.h"

#include "storage/held_bill_statements.h"
#include "widgets/enter_key.h"
#include "widgets/row_set_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace pos {

TfrmSelectHaltBill::TfrmSelectHaltBill(const RowSet& holdNumbers, QWidget* parent)
    : TfrmBase(parent), holdNumbers_(holdNumbers)
{
    setWindowTitle(QStringLiteral("选择挂单"));
    DBGrid1_ = new QTableView(this);
    DBGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new RowSetModel(holdNumbers_, {{QStringLiteral("顺序号"), "BillNo", 120}}, this);
    DBGrid1_->setModel(model_);
    DBGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1_->verticalHeader()->hide();
    model_->applyWidths(*DBGrid1_);
    if (model_->rowCount() > 0)
        DBGrid1_->setCurrentIndex(model_->index(0, 0));

    btnOK_ = new QPushButton(QStringLiteral("确定"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_ = new QPushButton(QStringLiteral("取消"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(DBGrid1_);
    outer->addLayout(buttons);
    setFixedSize(220, 260);

    connect(btnOK_, &QPushButton::clicked, this, &TfrmSelectHaltBill::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmSelectHaltBill::reject);
    DBGrid1_->setFocus();
}

void TfrmSelectHaltBill::btnOKClick()
{
    const int row = DBGrid1_->currentIndex().row();
    if (row >= 0 && static_cast<std::size_t>(row) < holdNumbers_.size())
        chosen_ = holdNumberAt(holdNumbers_, static_cast<std::size_t>(row));
    accept();
}

bool TfrmSelectHaltBill::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && focusWidget() == DBGrid1_) {
        btnOKClick();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

}  // namespace pos
