#pragma once

#include "widgets/frm_base.h"

class QLineEdit;

namespace pos {

struct Terminal;

// "36/": the time window of the shift, whose takings Enter in the end field sums and
// prints as the shift receipt. Closes once printed; a bad field, a missing printer port
// or a failure keeps it open.
class TfrmTotalAmount : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmTotalAmount(Terminal& t, QWidget* parent = nullptr);

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void edtEndTimeEnter();

    Terminal& t_;
    QLineEdit* edtStartTime_;
    QLineEdit* edtEndTime_;
};

}  // namespace pos
