#pragma once

#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"
#include "register/key_map.h"
#include "register/line_editing.h"
#include "base/operator_rights.h"
#include "base/register_state.h"
#include "register/register_view.h"
#include "reports/report_engine.h"

#include <string>

namespace pos {

struct Terminal;

// The devices the register drives itself: the customer display's line it holds from
// start to exit, the starter of programs, and its report for the receipt template.
struct RegisterDevices {
    DisplayPort& display;
    Launcher& launcher;
    ReportEngine& report;
};

// The input box of the register: keys turned into command codes through the key map,
// the command codes with their rights and refusals, and every other text as goods input.
class CommandInterpreter {
public:
    CommandInterpreter(Terminal& t, RegisterState& reg, RegisterView& view, LineEntry& lines,
                       RegisterDevices devices)
        : t_(t), reg_(reg), view_(view), lines_(lines), devices_(devices)
    {
    }

    // A key going down in the input box, before its character: on an empty box the key
    // or combination mapped to a command runs it; Up, Right and Down (pressed or mapped)
    // start editing the lines in the grid.
    void keyDown(int keyCode, KeyModifiers modifiers);
    // A character typed into the input box. True when it was Enter, or became Enter or an
    // arrow through the key map: the character is used up and not to be typed.
    bool keyPress(char32_t ch);
    // Enter: the trimmed text as a command code or goods input, then the totals, the
    // empty box and the customer display, whatever the command did.
    void enter();

private:
    using Operation = void (CommandInterpreter::*)();
    struct Command {
        const char* code;
        Operation run;
    };
    static const Command kCommands[];

    void run(const std::string& text);
    // Up, Right and Down start editing the quantity, price and discount of the lines.
    void startLineEditing(int arrowKey);
    void afterEnter();
    void goodsInput(const std::string& text);
    void tell(const char* text);
    void refuse();
    bool granted(OperatorRight right);
    // A new sale: no lines, the first line number, no discount, member or salesman, and
    // the discount box at 100.
    void clearEntry();
    void startNextBill();
    // The member's rate as a whole-bill discount, when the card on the sale has one.
    void applyMemberDiscount();

    void checkout();
    void holdBill();
    void recallHeldBill();
    void clearHeldBills();
    void memberCard();
    void lineDiscount();
    void priceForNextGoods();
    void quantityForNextGoods();
    void deleteLineByNumber();
    void chooseStore();
    void wholeBillDiscount();
    void changeCurrentQuantity();
    void deleteBill();
    void switchWorkingMode();
    void downloadMasterData();
    void uploadOfflineBills();
    void openCashDrawer();
    void deviceSettings();
    void changeOwnPassword();
    void memberTotals();
    void takingsToday();
    void shiftTakings();
    void browseBills();
    void queryStock();
    void leaveProgram();
    void designReceipt();
    void refreshOnly();
    void calculator();
    void chooseSalesman();
    void giveAway();
    void lockTerminal();
    void keyHelp();

    Terminal& t_;
    RegisterState& reg_;
    RegisterView& view_;
    LineEntry& lines_;
    RegisterDevices devices_;
};

}  // namespace pos
