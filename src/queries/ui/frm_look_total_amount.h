#pragma once

#include "config/data_module.h"
#include "widgets/frm_base.h"

class QLineEdit;
class QPushButton;

namespace pos {

// "34/": the totals of the signed-on operator (operatorId) of the current day from the server, read when
// the window is first shown; the three fields stay empty on a day without bills.
class TfrmLookTotalAmount : public TfrmBase {
    Q_OBJECT
public:
    TfrmLookTotalAmount(TDM& dm, int operatorId, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TDM& dm_;
    int operatorId_;
    bool shown_ = false;
    QLineEdit* edtSAMount_;
    QLineEdit* edtRAmount_;
    QLineEdit* edtOAmount_;
    QPushButton* btnClose_;
};

}  // namespace pos
