#pragma once

#include "payment/credit_card_tender.h"
#include "payment/ui/tender_window.h"

namespace pos {

// The bank card tender "银行卡支付" over the tender it fills; the checkout reads the
// tender once the dialog has closed.
class TfrmCreditCard : public TenderWindow {
    Q_OBJECT
public:
    TfrmCreditCard(CreditCardTender& tender, QWidget* parent = nullptr);

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    void btnOKClick() override;

private:
    void take();
    void focusOn(TenderFocus focus);

    CreditCardTender& tender_;
    QLineEdit* edtCardNo_;
    QLineEdit* edtPayAmount_;
    QLineEdit* edtCashAmount_;
};

}  // namespace pos
