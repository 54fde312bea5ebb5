#pragma once

#include "base/person.h"
#include "base/pos_state.h"
#include "config/data_module.h"
#include "widgets/frm_base.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pos {

class AccessStatements;

// Sign-on with operator code, password and shift, on the connection of the working mode.
// Fills the operator and shift of state when OK succeeds; leaving it any other way leaves succeeded() false.
class TfrmLogin : public TfrmBase {
    Q_OBJECT
public:
    TfrmLogin(TDM& dm, TPosState& state, Person& person, QWidget* parent = nullptr);
    bool succeeded() const { return succeeded_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOKClick();

    AccessStatements& statements();

    TDM& dm_;
    TPosState& state_;
    Person& person_;
    QLineEdit* edtCode_;
    QLineEdit* edtPassword_;
    QComboBox* cmbClassNo_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    bool succeeded_ = false;
};

}  // namespace pos
