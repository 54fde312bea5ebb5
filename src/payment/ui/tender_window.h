#pragma once

#include "payment/tender.h"
#include "widgets/frm_base.h"

#include <optional>
#include <vector>
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
    // The amount due, the number box and the two amount boxes of the bank card and coupon
    // tenders, bound to their texts; the number box has the focus.
    struct TenderBoxes {
        QLineEdit* edtCardNo;
        QLineEdit* edtPayAmount;
    };
    TenderBoxes addTenderBoxes(DialogForm& form, double due, const QString& numberCaption, std::string& number,
                               const QString& amountCaption, std::string& amount, std::string& cash);

    // Keeps the box and the tender's text of it in step; `focus` names the box.
    void bind(TenderFocus focus, QLineEdit* box, std::string& text);
    // The boxes' texts into the tender, and back.
    void take();
    void showTexts();
    // Shows the tender's texts, then selects the box named and gives it the focus, or
    // focuses btnOK.
    virtual void focusOn(TenderFocus focus);
    // Enter in a bound box: the tender's step, and where the focus goes after it;
    // nullopt leaves the key to the common dialog keys.
    virtual std::optional<TenderFocus> enterIn(TenderFocus box) = 0;
    // btnOK after the texts were taken: true when the tender is confirmed.
    virtual bool confirm() = 0;
    virtual TenderFocus focusAfterRefusal() const { return TenderFocus::PayAmount; }

    bool baseKeyDown(QKeyEvent* event) override;
    static void show(QLineEdit* box, const std::string& text);

    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;

private:
    void btnOKClick();
    // Drops a typed character an amount box does not take; true when it was dropped.
    bool dropsTypedKey(QKeyEvent* event) const;

    struct Binding {
        TenderFocus focus;
        QLineEdit* box;
        std::string* text;
    };
    std::vector<Binding> bindings_;
};

}  // namespace pos
