#pragma once

#include "base/person.h"
#include "widgets/frm_base.h"

#include <optional>

class QLineEdit;
class QPushButton;

namespace pos {

// A supervisor's code and password for one right. Gives the credentials as typed when
// OK is pressed and nothing when left otherwise; the verdict is the caller's.
class TfrmAdminLogin : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmAdminLogin(OperatorRight right, QWidget* parent = nullptr);
    OperatorRight right() const { return right_; }
    std::optional<Credentials> credentials() const { return credentials_; }

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void btnOKClick();

    OperatorRight right_;
    QLineEdit* edtCode_;
    QLineEdit* edtPass_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    std::optional<Credentials> credentials_;
};

}  // namespace pos
