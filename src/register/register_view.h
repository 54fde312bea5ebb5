#pragma once

#include "payment/checkout.h"
#include "payment/vip_card_payment.h"
#include "register/new_bill.h"
#include "register/refresh_totals.h"

#include <optional>
#include <string>

namespace pos {

// The edit boxes of the register window.
enum class EditBox { Input, Price, Quantity, Discount, Amount };

// The line values the cashier changes: in the grid, and through the edit boxes for the
// next goods input.
enum class LineField { Quantity, Price, Discount };

inline const char* lineFieldColumn(LineField field)
{
    switch (field) {
    case LineField::Price:
        return "Price";
    case LineField::Discount:
        return "Discount";
    case LineField::Quantity:
        break;
    }
    return "Quantity";
}

// A member card the member card dialog accepted: the number typed and its member.
struct MemberCardRead {
    std::string cardNo;
    CurrentMember member;
};

// What the register's logic needs of its window: the boxes, the labels, the focus and
// the dialogs of other parts it opens. The window implements it; tests script it.
class RegisterView {
public:
    virtual ~RegisterView() = default;

    virtual std::string text(EditBox box) const = 0;
    virtual void setText(EditBox box, const std::string& text) = 0;
    // Selects all of the box and gives it the focus.
    virtual void focusBox(EditBox box) = 0;

    virtual void showBillHeader(const BillHeader& header) = 0;
    virtual void showTotals(const TotalsShown& totals) = 0;
    virtual void showNetMode() = 0;
    virtual void showStore() = 0;
    virtual void showPreviousBill() = 0;
    // Repaints the lines after they changed; the grid cursor goes to the bill's current line.
    virtual void showLines() = 0;

    // The grid becomes editable on Quantity and the given field (Quantity alone for
    // Quantity) and takes the focus on that field of the current line.
    virtual void startGridEditing(LineField field) = 0;
    // The grid is read-only again.
    virtual void endGridEditing() = 0;

    // The checkout dialog over the register's checkout of the sale, and the stored-value
    // card payment over its card payment, shown until the cashier leaves them; the
    // register reads the outcome from what it handed over. totalQty: the quantity label.
    virtual void charge(Checkout& checkout, const std::string& totalQty) = 0;
    virtual void payFromCard(VIPCardPayment& payment, const std::string& totalQty) = 0;
    // The device and receipt settings dialog.
    virtual void showOptions() = 0;
    // The dialog in which the signed-on operator changes the operator's own password.
    virtual void changePassword() = 0;
    // The bill browser with its reprint ("浏览POS单") and the stock query ("查库存").
    virtual void browseBills() = 0;
    virtual void queryStock() = 0;
    // The pick list of held bills over their hold numbers (column BillNo); the number
    // chosen, nullopt when it was left without or the list is empty.
    virtual std::optional<std::string> chooseHeldBill(const RowSet& holdNumbers) = 0;
    // The takings window of the shift, which prints the shift receipt ("36/").
    virtual void showShiftTakings() = 0;
    // The signed-on operator's totals of the day from the server ("34/").
    virtual void showTakingsToday() = 0;
    // The member totals query ("32/").
    virtual void showMemberTotals() = 0;
    // The member card dialog; the card it accepted, nullopt when it was left without.
    virtual std::optional<MemberCardRead> readMemberCard() = 0;
    // Asks the window to close (through the close query).
    virtual void closeRegister() = 0;
    // The lock dialog; returns once the signed-on operator has opened it.
    virtual void lockTerminal() = 0;
    // The key help window, in which the shop edits its key map.
    virtual void showKeyHelp() = 0;
};

}  // namespace pos
