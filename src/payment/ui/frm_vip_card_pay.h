#pragma once

#include "payment/vip_card_payment.h"
#include "payment/ui/tender_window.h"

namespace pos {

// The stored-value card payment "储值卡支付" over the payment of a sale with a
// stored-value card. The caller opens it modally and, once it has closed, reads the
// payment: completed() and the amount due.
class TfrmVIPCardPay : public TenderWindow {
    Q_OBJECT
public:
    TfrmVIPCardPay(VIPCardPayment& payment, const QString& totalQty, QWidget* parent = nullptr);

protected:
    std::optional<TenderFocus> enterIn(TenderFocus box) override;
    bool confirm() override { return payment_.confirm(); }

private:
    VIPCardPayment& payment_;
};

}  // namespace pos
