#pragma once

#include "payment/vip_card_payment.h"
#include "payment/ui/tender_window.h"

namespace pos {

// The stored-value card payment "储值卡支付". The caller opens it modally on the bill of
// a stored-value card and, once it has closed, reads completed() and the amount due.
class TfrmVIPCardPay : public TenderWindow {
    Q_OBJECT
public:
    // Reads the card on opening; a failing read reaches the caller.
    TfrmVIPCardPay(Terminal& t, Bill& bill, AfterSale& devices, const QString& totalQty, QWidget* parent = nullptr);

    bool completed() const { return payment_.completed(); }
    // The number in lblChargeAmount.
    double chargeAmount() const { return amountIn(payment_.chargeAmount()); }

protected:
    std::optional<TenderFocus> enterIn(TenderFocus box) override;
    bool confirm() override { return payment_.confirm(); }

private:
    VIPCardPayment payment_;
};

}  // namespace pos
