#pragma once

#include "payment/tender.h"

#include <string>

namespace pos {

// The bank card tender "银行卡支付": the cashier types the amount the card terminal took
// and the cash added. The boxes are plain texts the window keeps in step.
class CreditCardTender {
public:
    // Opening: the card amount is the amount due, the cash "0".
    CreditCardTender(Person& person, double due);

    double due() const { return due_; }
    std::string cardNo;      // edtCardNo, typed but kept nowhere
    std::string payAmount;   // edtPayAmount
    std::string cashAmount;  // edtCashAmount

    // Enter in the card amount and in the cash box.
    TenderFocus payAmountEnter();
    TenderFocus cashAmountEnter();
    // btnOK: the checks of both boxes run again, so an amount typed without Enter is
    // never taken unchecked. True when the tender is confirmed.
    bool confirm();
    bool confirmed() const { return confirmed_; }

    double cardPaid() const { return amountIn(payAmount); }
    double cash() const { return amountIn(cashAmount); }

private:
    bool cardAmountPasses();
    bool totalPasses();

    Person& person_;
    double due_;
    bool confirmed_ = false;
};

}  // namespace pos
