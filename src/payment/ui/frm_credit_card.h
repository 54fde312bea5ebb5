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
    std::optional<TenderFocus> enterIn(TenderFocus box) override;
    bool confirm() override { return tender_.confirm(); }

private:
    CreditCardTender& tender_;
};

}  // namespace pos
