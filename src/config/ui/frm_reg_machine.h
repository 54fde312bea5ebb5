#pragma once

#include "widgets/frm_base.h"

class QLineEdit;
class QPushButton;

namespace pos {

class Person;
class PgDatabase;
class Settings;

// Binds this terminal to the PosMachine row of the number typed. enrolled() tells
// whether it did; the dialog closes only then, or when cancelled.
class TfrmRegMachine : public TfrmBase {
    Q_OBJECT
public:
    TfrmRegMachine(Settings& settings, PgDatabase& server, Person& person, QWidget* parent = nullptr);

    bool enrolled() const { return enrolled_; }

    // The OK button. A DbError while taking the row is passed on to the application's
    // error handler; the dialog stays open and unchanged, ready for another try.
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Settings& settings_;
    PgDatabase& server_;
    Person& person_;
    QLineEdit* edtMachineCode_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    bool enrolled_ = false;
};

}  // namespace pos
