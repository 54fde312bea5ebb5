#include "queries/ui/frm_total_amount.h"

#include "config/working_mode_clock.h"
#include "queries/time_field.h"
#include "widgets/enter_key.h"
#include "widgets/window_errors.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace pos {
namespace {

QLineEdit* timeField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setInputMask(QStringLiteral("9999-99-99 99:99"));
    return edit;
}

}  // namespace

TfrmTotalAmount::TfrmTotalAmount(const ShiftTakingsContext& c, QWidget* parent) : TfrmBase(parent), c_(c)
{
    setWindowTitle(QStringLiteral("统计收银金额"));
    edtStartTime_ = timeField(this, "edtStartTime");
    edtEndTime_ = timeField(this, "edtEndTime");
    auto* row = new QHBoxLayout(this);
    row->addWidget(edtStartTime_);
    row->addWidget(new QLabel(QStringLiteral("－"), this));
    row->addWidget(edtEndTime_);

    // The window opens on today from midnight to now, in the time of the working mode.
    DateTime now;
    if (guarded("统计收银金额", [&] { now = WorkingModeClock(c_.dm, c_.state).now(); })) {
        edtStartTime_->setText(QString::fromStdString(TimeFieldText(now.date())));
        edtEndTime_->setText(QString::fromStdString(TimeFieldText(now)));
    }
    edtStartTime_->setFocus();
}

bool TfrmTotalAmount::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    if (enter && focusWidget() == edtEndTime_) {
        edtEndTimeEnter();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

void TfrmTotalAmount::edtEndTimeEnter()
{
    ShiftTakingsResult result = ShiftTakingsResult::NoPrinter;
    if (!guarded("统计收银金额", [&] {
            result = RunShiftTakings(c_, edtStartTime_->text().toStdString(), edtEndTime_->text().toStdString());
        }))
        return;
    switch (result) {
    case ShiftTakingsResult::BadStart:
        edtStartTime_->setFocus();
        break;
    case ShiftTakingsResult::BadEnd:
        edtEndTime_->setFocus();
        break;
    case ShiftTakingsResult::NoPrinter:
        break;
    case ShiftTakingsResult::Printed:
        accept();
        break;
    }
}

}  // namespace pos
