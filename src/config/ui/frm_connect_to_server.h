#pragma once

#include "widgets/frm_base.h"

#include <string>

class QLineEdit;
class QPushButton;

namespace pos {

class Person;
class Settings;

// Asks for the server name, login and password, tries them on the registry database,
// and on success writes them to section "Connection" of POS.ini (the password
// scrambled). exec() returns Accepted exactly when confirmed() is true.
class TfrmConnectToServer : public TfrmBase {
    Q_OBJECT
public:
    TfrmConnectToServer(Settings& settings, std::string registryDatabase, QWidget* parent = nullptr);

    // Messages go to this person when set; otherwise to a message box of the dialog.
    void setPerson(Person* person) { person_ = person; }
    bool confirmed() const { return confirmed_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btbOKClick();
    void showFailure();

    Settings& settings_;
    std::string registryDatabase_;
    Person* person_ = nullptr;
    QLineEdit* edtServerName_;
    QLineEdit* edtLoginName_;
    QLineEdit* edtLoginPwd_;
    QPushButton* btbOK_;
    QPushButton* btbCancel_;
    bool confirmed_ = false;
};

}  // namespace pos
