#include "register/line_editing.h"

#include "access/rights.h"
#include "register/terminal_rights.h"
#include "base/number_format.h"
#include "base/trim.h"
#include "pricing/bill_arithmetic.h"
#include "pricing/price_determination.h"
#include "config/terminal.h"
#include "config/working_mode_clock.h"

namespace pos {
namespace {

// The value of the line a field stands for.
Value& valueOf(BillLine line, LineField field)
{
    switch (field) {
    case LineField::Price:
        return line.price();
    case LineField::Discount:
        return line.discount();
    case LineField::Quantity:
        break;
    }
    return line.quantity();
}

}  // namespace

void changeLineValue(Bill& bill, std::size_t line, LineField field, double value, int digit)
{
    valueOf(bill.line(line), field) = value;
    LineAmount(bill, line, digit);
}

void deleteLine(Bill& bill, std::size_t line)
{
    bill.detail.remove(line);
    if (bill.currentLine > line)
        --bill.currentLine;
    if (bill.currentLine >= bill.detail.size() && !bill.detail.empty())
        bill.currentLine = bill.detail.size() - 1;
}

void LineEntry::backToInput()
{
    view_.setText(EditBox::Input, "");
    reg_.FocusToInput = true;
    view_.focusBox(EditBox::Input);
}

void LineEntry::refuseBox(const char* text, MessageIcon icon, EditBox box, const char* safeValue)
{
    t_.person.message(text, "提示", icon);
    view_.setText(box, safeValue);
    view_.focusBox(box);
}

void LineEntry::priceEnter()
{
    const std::string text = trimmed(view_.text(EditBox::Price));
    double price = 0;
    // An empty box leaves the next goods input at its own price.
    if (!text.empty() && !parseNumber(text, price))
        return refuseBox("您输入的单价不是数值！", MessageIcon::Question, EditBox::Price, "");
    // A negative price makes the next line a refund, as a negative quantity does.
    if (price < 0 && !TerminalRights(t_).has(OperatorRight::Return))
        return refuseBox("您没有退货权限！", MessageIcon::Information, EditBox::Price, "");
    backToInput();
}

void LineEntry::quantityEnter()
{
    double quantity = 0;
    const char* refusal = nullptr;
    if (!parseNumber(trimmed(view_.text(EditBox::Quantity)), quantity))
        refusal = "您输入的数量不是数值！";
    else if (quantity == 0)
        refusal = "输入的数量不能为0！";
    else if (quantity < 0 && !TerminalRights(t_).has(OperatorRight::Return))
        refusal = "您没有退货权限！";
    if (refusal)
        return refuseBox(refusal, MessageIcon::Information, EditBox::Quantity, "1");
    backToInput();
}

void LineEntry::discountEnter()
{
    double discount = 0;
    if (!parseNumber(trimmed(view_.text(EditBox::Discount)), discount))
        return refuseBox("您输入的折扣不是整数！", MessageIcon::Question, EditBox::Discount, "100");
    discount = RoundHalfUp(discount, 4);  // a fixed-point number with four decimals
    if (discount < 1 || discount > 100)
        return refuseBox("折扣必须在1-100之间 ！", MessageIcon::Question, EditBox::Discount, "100");
    backToInput();
    // A discount already in use on the bill keeps its kind; the value only stays in the box.
    if (reg_.sale.DiscountState != BillDiscountState::None || discount >= 100)
        return;
    if (reg_.discountTarget == DiscountTarget::NextLine) {
        reg_.sale.DiscountState = BillDiscountState::LineDiscount;
        return;
    }
    ApplyBillDiscount(reg_.sale.bill, discount, t_.state.Digit);
    refreshTotals();
    view_.showLines();
    reg_.sale.DiscountState = BillDiscountState::WholeBill;
}

void LineEntry::startGridEditing(LineField field)
{
    if (reg_.sale.bill.detail.empty())
        return;
    std::optional<OperatorRight> right;  // the quantity needs none
    if (field != LineField::Quantity)
        right = field == LineField::Price ? OperatorRight::Price : OperatorRight::Discount;
    if (right && !TerminalRights(t_).has(*right)) {
        t_.person.message(kNotAuthorised, "", MessageIcon::Information);
        return;
    }
    reg_.FocusToInput = false;
    returnGranted_ = false;
    view_.startGridEditing(field);
}

bool LineEntry::minusAllowed()
{
    const bool granted = TerminalRights(t_).has(OperatorRight::Return);
    returnGranted_ = returnGranted_ || granted;
    return granted;
}

bool LineEntry::changeLine(std::size_t line, LineField field, const std::string& text)
{
    double value = 0;
    if (line >= reg_.sale.bill.detail.size() || !parseNumber(trimmed(text), value))
        return false;
    // A negative quantity or price is a refund: only after a granted "-".
    if (field != LineField::Discount && value < 0 && !returnGranted_)
        return false;
    // The cells hold what the boxes would let in.
    const char* refusal = nullptr;
    if (field == LineField::Quantity && value == 0)
        refusal = "输入的数量不能为0！";
    if (field == LineField::Discount) {
        value = RoundHalfUp(value, 4);
        if (value < 1 || value > 100)
            refusal = "折扣必须在1-100之间 ！";
    }
    if (refusal) {
        t_.person.message(refusal, "提示", MessageIcon::Information);
        return false;
    }
    if (field == LineField::Quantity)
        return changeQuantity(line, value);
    changeLineValue(reg_.sale.bill, line, field, value, t_.state.Digit);
    return true;
}

bool LineEntry::changeQuantity(std::size_t line, double quantity)
{
    const WorkingModeClock clock(t_.dm, t_.state);
    const PricingContext pricing{t_.db().statements<PricingStatements>(), t_.person, clock, t_.state, reg_.sale.member};
    if (!ChangePromotionalQuantity(pricing, reg_.sale.bill, line, quantity))
        return false;
    changeLineValue(reg_.sale.bill, line, LineField::Quantity, quantity, t_.state.Digit);
    return true;
}

void LineEntry::deleteCurrentLine()
{
    if (reg_.sale.bill.currentLine < reg_.sale.bill.detail.size()) {
        deleteLine(reg_.sale.bill, reg_.sale.bill.currentLine);
        view_.showLines();
    }
}

void LineEntry::endGridEditing()
{
    view_.setText(EditBox::Input, "");
    reg_.FocusToInput = true;
    view_.endGridEditing();
    refreshTotals();
    view_.focusBox(EditBox::Input);
}

void LineEntry::refreshTotals() { view_.showTotals(RefreshTotals(t_.state, reg_.sale)); }

}  // namespace pos
