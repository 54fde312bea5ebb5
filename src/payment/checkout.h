#pragma once

#include "payment/after_sale.h"
#include "payment/credit_card_tender.h"
#include "payment/sale_saving.h"
#include "payment/ticket_tender.h"
#include "base/sale.h"

#include <string>

namespace pos {

// Memo of a bill closed by F11 without payment, and of a free bill (F12).
inline constexpr const char* kUnpaidBillMemo = "挂单";
inline constexpr const char* kFreeBillMemo = "免单";

// The numbers in the three amount boxes, as the register shows them after a sale.
struct CheckoutAmounts {
    double due = 0;
    double paid = 0;
    double change = 0;
};

// The payment of the sale in progress: the texts of the amount boxes (due, paid,
// change), the print and completed flags, and what the keys of the checkout dialog do.
// Works on the sale's bill in place; the window shows the texts and passes on what the
// cashier types.
class Checkout {
public:
    // Opening: due is the bill's RealAmount, paid empty, change "0.00", printing on.
    Checkout(const PaymentContext& c, Sale& sale, AfterSale& devices);

    const std::string& due() const { return due_; }  // "%-7.2f"
    const std::string& paid() const { return paid_; }
    const std::string& change() const { return change_; }  // "%-7.2f"
    void setPaid(std::string text) { paid_ = std::move(text); }
    CheckoutAmounts amounts() const;

    bool printing() const { return printing_; }
    void togglePrinting() { printing_ = !printing_; }  // F5
    std::string printCaption() const;                  // lblPrintBill
    bool completed() const { return completed_; }

    // "*": clears the paid box; with right 8 asks for a write-off and lowers the amount
    // due by it. Every write-off is taken from the amount the checkout opened with.
    void writeOff();
    // F11 and F12: with right 7 the bill is closed unpaid or free and completed.
    void closeUnpaid() { closeWithoutPayment(kUnpaidBillMemo); }
    void closeFree() { closeWithoutPayment(kFreeBillMemo); }
    // Enter: checks the paid amount (not for an unpaid or free bill), writes the payment
    // into the bill master, saves the bill and runs the after-sale devices. True once
    // the bill is saved; false leaves the dialog open for another try.
    bool complete();
    // "/" and F8 once their tender was confirmed: the tender's amounts go into the bill
    // master and the paid and change boxes, then the completion step runs.
    bool payByCard(const CreditCardTender& tender);
    bool payByCoupon(const TicketTender& tender);
    // The tenders of "/" and F8, over the amount due now.
    CreditCardTender cardTender() const { return CreditCardTender(c_.person, amounts().due); }
    TicketTender couponTender() const;
    // Leaving before completion puts back every payment field this checkout wrote: an
    // unpaid or free mark (so that the next checkout asks for right 7 anew) and the amounts
    // and coupon numbers of a tender whose save failed, which the next checkout must not
    // count again.
    void leave();

private:
    void closeWithoutPayment(const char* memo);
    bool paidAmountPasses();
    bool withoutPayment() const;
    void writePayment();
    void runAfterSale();
    void dropCoupon();

    const PaymentContext c_;
    Sale& sale_;
    Bill& bill_;
    AfterSale& devices_;
    const double openingAmount_;  // RealAmount when the checkout opened
    // The payment fields as the checkout found them.
    struct PaymentFields {
        Value cash, bankCard, coupons, change, couponNumbers, memo;
    };
    static PaymentFields paymentOf(const Bill& bill);
    void clearTenders();

    const PaymentFields opening_;
    std::string due_;
    std::string paid_;
    std::string change_;
    bool printing_ = true;
    bool completed_ = false;
};

}  // namespace pos
