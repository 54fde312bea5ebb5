#pragma once

#include "widgets/frm_base.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pos {

struct Terminal;

// Sign-on with operator code, password and shift. Fills the operator and shift of the
// terminal state when OK succeeds; leaving it any other way leaves succeeded() false.
class TfrmLogin : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmLogin(Terminal& t, QWidget* parent = nullptr);
    bool succeeded() const { return succeeded_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOKClick();

    Terminal& t_;
    QLineEdit* edtCode_;
    QLineEdit* edtPassword_;
    QComboBox* cmbClassNo_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    bool succeeded_ = false;
};

}  // namespace pos
