#pragma once

#include "base/person.h"
#include "base/register_state.h"
#include "register/register_view.h"

#include <cstddef>
#include <string>

namespace pos {

struct Terminal;

// Sets one value of a bill line; its amount follows.
void changeLineValue(Bill& bill, std::size_t line, LineField field, double value, int digit);

// Removes a line. The other lines keep their numbers; the cursor stays on the line that
// took its place, or on the new last line.
void deleteLine(Bill& bill, std::size_t line);

// The bill lines while the bill is in progress: the price, quantity and discount boxes
// that shape the next goods input, and editing the lines in the grid.
class LineEntry {
public:
    LineEntry(Terminal& t, RegisterState& reg, RegisterView& view) : t_(t), reg_(reg), view_(view) {}

    // Enter in the price, quantity and discount boxes: a valid value sends the cashier
    // back to the input box; anything else is told and the box keeps the focus with a
    // safe value.
    void priceEnter();
    void quantityEnter();
    void discountEnter();

    // Up (quantity), Right (price, right 4) and Down (discount, right 3) from the input
    // box: the lines become editable in the grid. Nothing on a bill without lines.
    void startGridEditing(LineField field);
    // "-" typed in the grid: a negative quantity is a return.
    bool minusAllowed();
    // A value typed into a cell; false when it is not a number, a negative quantity or
    // price that no granted "-" of this editing let in (pasted), a quantity of 0 or a
    // discount outside 1 to 100 (these two told), and the line keeps its value.
    bool changeLine(std::size_t line, LineField field, const std::string& text);
    // A new quantity of a line, from "9/" or the grid; a promotional line keeps within
    // its promotion's limits or keeps its quantity (false, told).
    bool changeQuantity(std::size_t line, double quantity);
    // F12 in the grid: the current line goes, no right asked.
    void deleteCurrentLine();
    // Tab on the quantity column, the only way out of the grid.
    void endGridEditing();

    // The bill's totals recomputed and shown.
    void refreshTotals();

private:
    void backToInput();
    void refuseBox(const char* text, MessageIcon icon, EditBox box, const char* safeValue);

    Terminal& t_;
    RegisterState& reg_;
    RegisterView& view_;
    bool returnGranted_ = false;  // a "-" was let into the grid during this editing
};

}  // namespace pos
