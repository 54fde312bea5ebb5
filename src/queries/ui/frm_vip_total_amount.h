#pragma once

#include "config/working_connection.h"
#include "widgets/frm_base.h"

class QLineEdit;
class QPushButton;

namespace pos {

// "32/": the cumulative purchases of a member card, looked up anew by each Enter in the
// card number field on the database of the working mode.
class TfrmVIPTotalAmount : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmVIPTotalAmount(WorkingConnection db, QWidget* parent = nullptr);

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void edtCardNoEnter();

    WorkingConnection db_;
    QLineEdit* edtCardNo_;
    QLineEdit* edtTotalAmount_;
    QPushButton* btnOK_;
};

}  // namespace pos
