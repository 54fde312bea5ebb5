#pragma once

#include "widgets/frm_base.h"

class QLineEdit;
class QPushButton;

namespace pos {

struct Terminal;

// "34/": the signed-on operator's totals of the current day from the server, read when
// the window is first shown; the three fields stay empty on a day without bills.
class TfrmLookTotalAmount : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmLookTotalAmount(Terminal& t, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    Terminal& t_;
    bool shown_ = false;
    QLineEdit* edtSAMount_;
    QLineEdit* edtRAmount_;
    QLineEdit* edtOAmount_;
    QPushButton* btnClose_;
};

}  // namespace pos
