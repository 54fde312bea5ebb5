#pragma once

#include "widgets/frm_base.h"

class QLineEdit;

namespace pos {

struct Terminal;

// "7/": the terminal locked until the signed-on operator types that operator's password
// and Enter. Esc, Alt+F4 and every other close request are refused while it is locked;
// a wrong password is told and left selected for typing again.
class TfrmLockMachine : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmLockMachine(Terminal& t, QWidget* parent = nullptr);

    bool unlocked() const { return unlocked_; }

public slots:
    // Esc and the other ways out of a dialog end it only once it is unlocked.
    void reject() override;

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void edtPassEnter();

    Terminal& t_;
    QLineEdit* edtPass_;
    bool unlocked_ = false;
};

}  // namespace pos
