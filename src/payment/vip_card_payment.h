#pragma once

#include "payment/after_sale.h"
#include "payment/sale_saving.h"
#include "payment/tender.h"
#include "base/sale.h"

#include <string>

namespace pos {

// The stored-value card payment "储值卡支付" of a bill carrying a stored-value card: the
// card pays as much as its balance allows, cash the rest. Confirming writes the payment,
// saves the bill and runs the after-sale devices.
class VIPCardPayment {
public:
    // Opening: reads the card on the bill (InsiderCode, the sale's member card) on the
    // working mode's connection and proposes the split. A bill without a card gets no
    // card amount.
    VIPCardPayment(const PaymentContext& c, Sale& sale, AfterSale& devices);

    const std::string& chargeAmount() const { return chargeAmount_; }  // lblChargeAmount
    const std::string& cardNo() const { return cardNo_; }              // edtCardNo
    const std::string& discount() const { return discount_; }          // edtDiscount
    const std::string& balance() const { return balance_; }            // edtAmount
    const std::string& totalAmount() const { return totalAmount_; }    // edtTotalAmount
    std::string payAmount;                                             // edtPayAmount
    std::string cashAmount;                                            // edtCashAmount

    TenderFocus payAmountEnter();
    TenderFocus cashAmountEnter();
    // btnOK: the checks of the card amount against the balance and the amount due run
    // again, so an amount typed without Enter can never overdraw the card. Once they
    // pass the bill is saved; true when it is.
    bool confirm();
    bool completed() const { return completed_; }

private:
    bool cardAmountPasses();
    void runAfterSale();

    const PaymentContext c_;
    Sale& sale_;
    Bill& bill_;
    AfterSale& devices_;
    double due_;
    double balanceRead_ = 0;
    std::string chargeAmount_;
    std::string cardNo_;
    std::string discount_ = "0";
    std::string balance_ = "0";
    std::string totalAmount_ = "0";
    bool completed_ = false;
};

}  // namespace pos
