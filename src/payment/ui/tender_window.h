#pragma once

#include "payment/tender.h"
#include "widgets/frm_base.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pos {

class DialogForm;

// The frame of the tender dialogs: the amount due beside "应收款：", amount boxes that
// take digits, ".", "-" and the editing keys only, and the buttons "确定" and "取消".
class TenderWindow : public TfrmBase {
    Q_OBJECT
protected:
    explicit TenderWindow(QWidget* parent);

    QLabel* chargeLabel(DialogForm& form, const QString& amount);
    QLineEdit* amountEdit(DialogForm& form, const QString& caption, const char* objectName);
    QLineEdit* shownEdit(DialogForm& form, const QString& caption, const char* objectName, const std::string& text);
    void addButtons(DialogForm& form);

    // Selects the box and gives it the focus, or focuses btnOK.
    void focusOn(QLineEdit* box);
    // Drops a typed character an amount box does not take; true when it was dropped.
    bool dropsTypedKey(QKeyEvent* event) const;
    static std::string textOf(QLineEdit* box);
    static void show(QLineEdit* box, const std::string& text);

    virtual void btnOKClick() = 0;

    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace pos
