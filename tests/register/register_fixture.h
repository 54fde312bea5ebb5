#pragma once

#include "register/command_interpreter.h"
#include "register/line_editing.h"
#include "register/new_bill.h"
#include "support/operator_data.h"
#include "support/recording_report_engine.h"
#include "support/signed_on_terminal.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pos::test {

inline constexpr int kSenior = 4;  // the senior cashier 1004: holds every right
inline const Credentials kSupervisor{"9001", "999"};

// The register window as the logic sees it: boxes, focus and what was shown.
class ScriptedView : public RegisterView {
public:
    std::map<EditBox, std::string> boxes{{EditBox::Quantity, "1"}, {EditBox::Discount, "100"}};
    EditBox focused = EditBox::Input;
    std::optional<LineField> grid;  // the field the grid edits, while it does
    std::optional<BillHeader> header;
    std::optional<TotalsShown> totals;
    int netModeShown = 0;
    int storeShown = 0;
    int previousShown = 0;
    int optionsShown = 0;
    int passwordChanges = 0;
    int shiftTakingsShown = 0;
    int takingsTodayShown = 0;
    int memberTotalsShown = 0;
    int billBrowsers = 0;
    int stockQueries = 0;
    int closeRequests = 0;
    // What the cashier types into the checkout dialog's paid box before Enter; nullopt:
    // the dialog is left without paying.
    std::deque<std::optional<std::string>> charges;
    std::function<void()> afterCharging;  // runs once the checkout dialog did its part
    int charged = 0;
    std::deque<bool> cardPayments;  // whether the stored-value payment's proposal is confirmed
    int paidFromCard = 0;
    std::deque<std::optional<std::string>> heldBillPicks;  // answers of the held-bill pick list
    std::vector<std::string> heldBillsListed;              // the hold numbers it showed last
    std::deque<std::optional<MemberCardRead>> memberCards;  // answers of the member card dialog

    std::string text(EditBox box) const override
    {
        auto it = boxes.find(box);
        return it == boxes.end() ? std::string() : it->second;
    }
    void setText(EditBox box, const std::string& text) override { boxes[box] = text; }
    void focusBox(EditBox box) override { focused = box; }
    void showBillHeader(const BillHeader& h) override { header = h; }
    void showTotals(const TotalsShown& t) override { totals = t; }
    void showNetMode() override { ++netModeShown; }
    void showStore() override { ++storeShown; }
    void showPreviousBill() override { ++previousShown; }
    void showLines() override {}
    void startGridEditing(LineField field) override { grid = field; }
    void endGridEditing() override { grid.reset(); }
    void charge(Checkout& checkout, const std::string&) override
    {
        ++charged;
        if (const std::optional<std::string> paid = nextAnswer(charges, "checkout dialog")) {
            checkout.setPaid(*paid);
            checkout.complete();
        } else {
            checkout.leave();
        }
        if (afterCharging)
            afterCharging();
    }
    void payFromCard(VIPCardPayment& payment, const std::string&) override
    {
        ++paidFromCard;
        if (nextAnswer(cardPayments, "stored-value payment"))
            payment.confirm();
    }
    void showOptions() override { ++optionsShown; }
    void changePassword() override { ++passwordChanges; }
    void showShiftTakings() override { ++shiftTakingsShown; }
    void showTakingsToday() override { ++takingsTodayShown; }
    void showMemberTotals() override { ++memberTotalsShown; }
    void browseBills() override { ++billBrowsers; }
    void queryStock() override { ++stockQueries; }
    std::optional<std::string> chooseHeldBill(const RowSet& holdNumbers) override
    {
        heldBillsListed.clear();
        for (std::size_t r = 0; r < holdNumbers.size(); ++r)
            heldBillsListed.push_back(holdNumbers.at(r, "BillNo").toString());
        return nextAnswer(heldBillPicks, "held-bill pick list");
    }
    std::optional<MemberCardRead> readMemberCard() override
    {
        return nextAnswer(memberCards, "member card dialog");
    }
    void closeRegister() override { ++closeRequests; }
    int locks = 0;
    int keyHelpsShown = 0;
    void lockTerminal() override { ++locks; }
    void showKeyHelp() override { ++keyHelpsShown; }

private:
    // The dialog's next answer queued by the test; a dialog with none fails the test.
    template <class Answer>
    static Answer nextAnswer(std::deque<Answer>& answers, const char* dialog)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << dialog;
            return Answer{};
        }
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class RecordingLauncher : public Launcher {
public:
    std::vector<std::string> started;
    void start(const std::string& program) override { started.push_back(program); }
};

inline void addGoods(Database& db, int id, const std::string& code, const std::string& barCode,
                     const std::string& name, double price)
{
    db.execute("insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1,SPrice1) values($1,$2,$3,$4,'个',$5)",
               {id, code, barCode, name, price});
}

// The terminal signed on as a cashier without rights at store 2 on terminal "07",
// online. Both sides know the cashier, a senior cashier holding every right, the
// supervisor 9001/999 holding every right, the goods 6901 牙刷 3.50, 6902 毛巾 12.00
// and 6903 香皂 10.00, and the store "S2".
// A pole display of the first model attached at COM1, which stands for `device`.
inline void attachPoleDisplay(Settings& settings, const std::string& device)
{
    settings.ini().write(kPortsSection, "COM1", device);
    settings.setOption("ClientDisplay", "有");
    settings.setOption("DispType", "LED11");
    settings.setOption("DispPort", "COM1");
}

inline void arrangeRegister(TerminalFixture& f)
{
    signOnAsCashier(f.state);
    f.state.OperatorCode = "1003";
    std::vector<OperatorRight> every;
    for (int n = rightNumber(OperatorRight::DeviceSettings); n <= rightNumber(OperatorRight::DeleteLine); ++n)
        every.push_back(static_cast<OperatorRight>(n));
    for (WorkingMode mode : {Online, Offline}) {
        Database& db = f.side(mode);
        addOperator(db, {kCashier, "1003", "收银员", "333", 0, {}});
        addOperator(db, {kSenior, "1004", "老收银员", "444", 0, every});
        addOperator(db, {9, kSupervisor.code, "店长", kSupervisor.password, 1, every});
        addGoods(db, 101, "G101", "6901", "牙刷", 3.5);
        addGoods(db, 102, "G102", "6902", "毛巾", 12);
        addGoods(db, 103, "G103", "6903", "香皂", 10);
        db.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(2,'S2','二号店',1)");
    }
}

// The register's logic on a new bill of the terminal above, with a scripted window.
class RegisterTest : public ::testing::Test {
public:
    RegisterTest()
    {
        arrangeRegister(f);
        reg.sale.bill = Bill::open(f.dm.conClient());
        startNewBill(f.terminal, reg.sale);
    }

    // The text in the input box, then Enter.
    void enter(const std::string& text)
    {
        view.boxes[EditBox::Input] = text;
        interpreter.enter();
    }
    // Typed character by character as the keyboard delivers it, then Enter.
    void typeAndEnter(const std::string& text)
    {
        for (char c : text)
            if (!interpreter.keyPress(static_cast<char32_t>(c)))
                view.boxes[EditBox::Input] += c;
        interpreter.keyPress(U'\r');
    }
    // A command that opens a box, then the value typed there with Enter.
    void intoBox(const std::string& command, EditBox box, const std::string& value)
    {
        enter(command);
        ASSERT_EQ(view.focused, box) << command;
        view.boxes[box] = value;
        switch (box) {
        case EditBox::Price:
            return lines.priceEnter();
        case EditBox::Quantity:
            return lines.quantityEnter();
        default:
            return lines.discountEnter();
        }
    }

    void signOnSenior() { f.state.OperatorId = kSenior; }
    ConstBillLine line(std::size_t r) const { return reg.sale.bill.line(r); }
    std::size_t lineCount() const { return reg.sale.bill.detail.size(); }
    std::vector<std::string> messages() const { return f.person.messageTexts(); }
    void forgetMessages() { f.person.messages.clear(); }

    TerminalFixture f;
    RegisterState reg;
    ScriptedView view;
    DisplayPort display;
    RecordingLauncher launcher;
    RecordingReportEngine report;
    LineEntry lines{f.terminal, reg, view};
    CommandInterpreter interpreter{f.terminal, reg, view, lines, RegisterDevices{display, launcher, report}};
};

}  // namespace pos::test
