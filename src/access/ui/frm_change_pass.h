#pragma once

#include "access/password_change.h"
#include "widgets/frm_base.h"

class QLineEdit;
class QPushButton;

namespace pos {

// "17/": the signed-on operator changes the operator's own password, proving the old
// one first and typing the new one twice. Closes once the change is done (or refused
// offline, with its message); a wrong entry keeps it open with the focus on the box
// to correct.
class TfrmChangePass : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmChangePass(const PasswordChangeContext& c, QWidget* parent = nullptr);

private:
    void btnOKClick();

    PasswordChangeContext c_;
    QLineEdit* edtOldPass_;
    QLineEdit* edtNewPassA_;
    QLineEdit* edtNewPassB_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace pos
