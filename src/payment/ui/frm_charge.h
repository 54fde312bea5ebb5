#pragma once

#include "payment/checkout.h"
#include "widgets/frm_base.h"

class QLabel;
class QLineEdit;

namespace pos {

// The checkout dialog "收银" over a checkout of the sale in progress. The caller opens it
// modally and, once it has closed, reads the checkout: completed() and the numbers of
// its three amount boxes. A completed bill is saved; the dialog then closes on the next
// key.
class TfrmCharge : public TfrmBase {
    Q_OBJECT
public:
    // totalQty: the register's total quantity text, shown in lblQty.
    TfrmCharge(Checkout& checkout, const QString& totalQty, QWidget* parent = nullptr);

public slots:
    // Esc or closing the window: a bill not completed stays unsaved with the register.
    void reject() override;

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void showBoxes();
    void edtCAmountEnter();
    // The keys of the dialog, without the guard against errors of the checkout.
    bool checkoutKey(QKeyEvent* event);
    // "/": a cancelled tender returns to the paid box; the bill is not completed.
    void payByCard();
    // F8: a cancelled tender changes nothing.
    void payByCoupon();
    void afterTender(bool saved);

    Checkout& checkout_;
    QLineEdit* edtSAmount_;
    QLineEdit* edtCAmount_;
    QLineEdit* edtOAmount_;
    QLabel* lblQty_;
    QLabel* lblPrintBill_;
};

}  // namespace pos
