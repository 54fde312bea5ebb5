#pragma once

namespace pos {

// The operator rights: the right numbers (RightId) of PosOperatorRight, each guarding
// the operations noted. The numbers are those the back office stores; other numbers
// have no effect in this program.
enum class OperatorRight : int {
    DeviceSettings = 1,   // device and receipt settings ("15/")
    ChangePassword = 2,   // changing one's own password ("17/")
    Discount = 3,         // line discount ("/"), whole-bill discount ("8/"), the grid's discount column
    Price = 4,            // price for the next goods input ("*"), the grid's price column
    DeleteBill = 5,       // deleting the whole bill ("10/")
    Return = 6,           // a negative quantity: in the quantity box, through "9/", "-" in the grid
    GiveAway = 7,         // a give-away line ("35/"); free bills, F11 and F12 of the checkout
    WriteOff = 8,         // writing off a small amount, "*" of the checkout
    ViewTakings = 9,      // viewing the takings ("34/", online only)
    DeductFromCard = 10,  // deducting points and accumulated spending from a member card
    ShiftTakings = 11,    // shift takings ("36/")
    OpenCashDrawer = 12,  // opening the cash drawer ("14/")
    BillBrowser = 13,     // the bill browser ("37/")
    ChooseStore = 14,     // choosing the selling store ("1/")
    ClearHeldBills = 15,  // clearing all held bills ("39/")
    DeleteLine = 16,      // deleting a line by its number (".")
};

// The right number as PosOperatorRight stores it.
constexpr int rightNumber(OperatorRight right) { return static_cast<int>(right); }


// Whether the signed-on operator may do what a right guards, asked at the moment of the
// operation: the operator's own right, or else a supervisor's grant for this one call.
// The register answers it on the connection of the working mode; tests script it.
class Rights {
public:
    virtual ~Rights() = default;
    virtual bool has(OperatorRight right) = 0;
};

}  // namespace pos
