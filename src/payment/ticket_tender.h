#pragma once

#include "payment/payment_statements.h"
#include "payment/tender.h"

#include <string>

namespace pos {

// The change styles of a coupon payment (rdgChangeStyle).
enum CouponChangeStyle { NoChange = 0, ChangeInCash = 1, ChangeAsCoupon = 2 };

// The coupon tender "购物券支付": one coupon read by its number from B_GoodsTicket, or a
// bare amount under the number "0", with the cash added and the change style.
class TicketTender {
public:
    // sql: the statements of the working mode's connection.
    TicketTender(Person& person, PaymentStatements& sql, double due);

    double due() const { return due_; }
    std::string cardNo;           // edtCardNo
    std::string payAmount;        // edtPayAmount
    std::string cashAmount = "0"; // edtCashAmount
    int changeStyle = NoChange;   // rdgChangeStyle
    // edtPayAmount takes typing only for the bare amount of number "0".
    bool payAmountEnabled() const { return bareAmount_; }

    // Enter in the three boxes.
    TenderFocus cardNoEnter();
    TenderFocus payAmountEnter();
    TenderFocus cashAmountEnter();
    // "*": from "找现金" to "不找零", from either other style to "找现金".
    void switchChangeStyle() { changeStyle = changeStyle == ChangeInCash ? NoChange : ChangeInCash; }
    // btnOK. A number typed without Enter is read first and the cashier confirms again;
    // the check of the cash then runs again. True when confirmed.
    bool confirm();
    bool confirmed() const { return confirmed_; }

    // What the checkout writes on confirmation.
    double couponAmount() const { return amountIn(payAmount); }
    double cash() const { return amountIn(cashAmount); }
    double paid() const { return couponAmount() + cash(); }
    double overpayment() const { return cents(paid() - due_); }
    // CardAmount2: less the overpayment when it goes back as a coupon.
    double couponPaid() const { return changeStyle == ChangeAsCoupon ? couponAmount() - overpayment() : couponAmount(); }
    // The change handed back in cash ("找现金"); none in the other styles.
    double cashChange() const { return changeStyle == ChangeInCash && overpayment() > 0 ? overpayment() : 0.0; }
    // CardNo: the number of a coupon that pays, "0" for a bare amount; empty after a
    // refused coupon, which pays nothing and is not booked.
    std::string billCardNo() const;

private:
    void readCoupon();
    TenderFocus cashForTheRest();
    bool totalPasses();

    Person& person_;
    PaymentStatements& sql_;
    double due_;
    bool bareAmount_ = false;
    std::string numberRead_;  // the coupon number last read, refused or not
    bool refused_ = false;
    bool confirmed_ = false;
};

}  // namespace pos
