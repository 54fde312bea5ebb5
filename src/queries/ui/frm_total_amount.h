#pragma once

#include "queries/shift_takings.h"
#include "widgets/frm_base.h"

class QLineEdit;

namespace pos {

// "36/": the time window of the shift, whose takings Enter in the end field sums and
// prints as the shift receipt. Closes once printed; a bad field, a missing printer port
// or a failure keeps it open.
class TfrmTotalAmount : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmTotalAmount(const ShiftTakingsContext& c, QWidget* parent = nullptr);

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void edtEndTimeEnter();

    ShiftTakingsContext c_;
    QLineEdit* edtStartTime_;
    QLineEdit* edtEndTime_;
};

}  // namespace pos
