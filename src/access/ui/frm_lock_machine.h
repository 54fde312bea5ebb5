#pragma once

#include "base/person.h"
#include "config/working_connection.h"
#include "widgets/frm_base.h"

#include <string>

class QLineEdit;

namespace pos {

// "7/": the terminal locked until the signed-on operator (operatorId, operatorCode) types
// that operator's password, checked on the connection of the working mode, and Enter. Esc, Alt+F4 and every other close request are refused while it is locked;
// a wrong password is told and left selected for typing again.
class TfrmLockMachine : public TfrmBase {
    Q_OBJECT
public:
    TfrmLockMachine(WorkingConnection db, Person& person, int operatorId, std::string operatorCode,
                    QWidget* parent = nullptr);

    bool unlocked() const { return unlocked_; }

public slots:
    // Esc and the other ways out of a dialog end it only once it is unlocked.
    void reject() override;

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void edtPassEnter();

    WorkingConnection db_;
    Person& person_;
    int operatorId_;
    std::string operatorCode_;
    QLineEdit* edtPass_;
    bool unlocked_ = false;
};

}  // namespace pos
