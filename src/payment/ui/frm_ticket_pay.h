#pragma once

#include "payment/ticket_tender.h"
#include "payment/ui/tender_window.h"

class QRadioButton;

namespace pos {

// The coupon tender "购物券支付" over the tender it fills; the checkout reads the tender
// once the dialog has closed.
class TfrmTicketPay : public TenderWindow {
    Q_OBJECT
public:
    TfrmTicketPay(TicketTender& tender, QWidget* parent = nullptr);

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    std::optional<TenderFocus> enterIn(TenderFocus box) override;
    bool confirm() override { return tender_.confirm(); }
    TenderFocus focusAfterRefusal() const override;
    void focusOn(TenderFocus focus) override;

private:
    void showStyle();

    TicketTender& tender_;
    QLineEdit* edtPayAmount_;
    QRadioButton* styles_[3];
};

}  // namespace pos
