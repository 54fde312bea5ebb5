#include "register/command_interpreter.h"
#include "register/statement_preparation.h"

#include "access/rights.h"
#include "base/number_format.h"
#include "base/pos_error.h"
#include "base/trim.h"
#include "peripherals/cash_drawer.h"
#include "peripherals/receipt_printing.h"
#include "pricing/bill_arithmetic.h"
#include "pricing/goods_lookup.h"
#include "register/employee_lookup.h"
#include "register/store_lookup.h"
#include "register/terminal_receipt.h"
#include "register/terminal_rights.h"
#include "config/terminal.h"
#include "config/working_mode_clock.h"
#include "payment/device_after_sale.h"
#include "payment/tender.h"
#include "payment/vip_card_payment.h"
#include "storage/bill_saving.h"
#include "storage/held_bills.h"
#include "storage/master_data_download.h"
#include "storage/offline_bill_upload.h"

namespace pos {
namespace {

constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "xcalc"};

double boxNumber(const std::string& text, const char* box)
{
    double value = 0;
    if (!parseNumber(trimmed(text), value))
        throw PosError(std::string("the ") + box + " box holds no number", "录入货品");
    return value;
}

}  // namespace

// In the order the codes are compared with the input.
const CommandInterpreter::Command CommandInterpreter::kCommands[] = {
    {"+", &CommandInterpreter::checkout},
    {"/", &CommandInterpreter::lineDiscount},
    {"*", &CommandInterpreter::priceForNextGoods},
    {"-", &CommandInterpreter::quantityForNextGoods},
    {".", &CommandInterpreter::deleteLineByNumber},
    {"1/", &CommandInterpreter::chooseStore},
    {"4/", &CommandInterpreter::holdBill},
    {"5/", &CommandInterpreter::recallHeldBill},
    {"6/", &CommandInterpreter::memberCard},
    {"7/", &CommandInterpreter::lockTerminal},
    {"8/", &CommandInterpreter::wholeBillDiscount},
    {"9/", &CommandInterpreter::changeCurrentQuantity},
    {"10/", &CommandInterpreter::deleteBill},
    {"11/", &CommandInterpreter::switchWorkingMode},
    {"12/", &CommandInterpreter::uploadOfflineBills},
    {"13/", &CommandInterpreter::downloadMasterData},
    {"14/", &CommandInterpreter::openCashDrawer},
    {"15/", &CommandInterpreter::deviceSettings},
    {"16/", &CommandInterpreter::leaveProgram},
    {"17/", &CommandInterpreter::changeOwnPassword},
    {"18/", &CommandInterpreter::designReceipt},
    {"19/", &CommandInterpreter::keyHelp},
    {"20/", &CommandInterpreter::refreshOnly},
    {"31/", &CommandInterpreter::calculator},
    {"32/", &CommandInterpreter::memberTotals},
    {"33/", &CommandInterpreter::chooseSalesman},
    {"34/", &CommandInterpreter::takingsToday},
    {"35/", &CommandInterpreter::giveAway},
    {"36/", &CommandInterpreter::shiftTakings},
    {"37/", &CommandInterpreter::browseBills},
    {"38/", &CommandInterpreter::queryStock},
    {"39/", &CommandInterpreter::clearHeldBills},
    {"40/", &CommandInterpreter::refreshOnly},
};

void CommandInterpreter::keyDown(int keyCode, KeyModifiers modifiers)
{
    if (view_.text(EditBox::Input).empty()) {
        const KeyPair keys = keyDownKeys(keyCode, modifiers);
        const std::string code = GetSysKey(t_.dm.conClient().statements<RegisterStatements>(), keys.first, keys.second);
        if (int arrow = arrowKeyOf(code))
            keyCode = arrow;
        else if (!code.empty()) {
            view_.setText(EditBox::Input, code);
            keyPress(U'\r');
        }
    }
    startLineEditing(keyCode);
}

void CommandInterpreter::startLineEditing(int arrowKey)
{
    if (arrowKey == vk::Up)
        lines_.startGridEditing(LineField::Quantity);
    else if (arrowKey == vk::Right)
        lines_.startGridEditing(LineField::Price);
    else if (arrowKey == vk::Down)
        lines_.startGridEditing(LineField::Discount);
}

bool CommandInterpreter::keyPress(char32_t ch)
{
    bool isEnter = ch == U'\r';
    const std::string typed = view_.text(EditBox::Input);
    if (!typed.empty()) {
        const std::string code = GetSysKey(t_.dm.conClient().statements<RegisterStatements>(), trimmed(typed), KeyName(characterKeyCode(ch)));
        // A typed text ended by its key may stand for an arrow as well: it is used up
        // as the key, not left in the box nor run as goods.
        if (int arrow = arrowKeyOf(code)) {
            view_.setText(EditBox::Input, "");
            startLineEditing(arrow);
            return true;
        }
        if (!code.empty()) {
            view_.setText(EditBox::Input, code);
            isEnter = true;
        }
    }
    if (isEnter)
        enter();
    return isEnter;
}

void CommandInterpreter::enter()
{
    run(trimmed(view_.text(EditBox::Input)));
    afterEnter();
}

void CommandInterpreter::run(const std::string& text)
{
    for (const Command& command : kCommands) {
        if (text == command.code) {
            (this->*command.run)();
            return;
        }
    }
    if (!text.empty())
        goodsInput(text);
}

void CommandInterpreter::afterEnter()
{
    lines_.refreshTotals();
    view_.setText(EditBox::Input, "");
    if (t_.settings.hasCustomerDisplay())
        ShowOnCustomerDisplay(t_.settings, devices_.display, DisplayTotal, reg_.sale.bill.realAmount().toDouble());
    view_.showLines();
}

void CommandInterpreter::goodsInput(const std::string& text)
{
    const std::string priceText = trimmed(view_.text(EditBox::Price));
    const double price = priceText.empty() ? 0 : boxNumber(priceText, "price");
    const double quantity = boxNumber(view_.text(EditBox::Quantity), "quantity");
    const double discount = RoundHalfUp(boxNumber(view_.text(EditBox::Discount), "discount"), 4);
    const WorkingModeClock clock(t_.dm, t_.state);
    Sale& sale = reg_.sale;
    AddGoodsByInput({t_.db().statements<PricingStatements>(), t_.person, clock, t_.state, sale.member}, text, price,
                    quantity, discount, sale.bill, sale.NextOrderId);
    // A line discount served this goods input only; a whole-bill discount stays.
    if (sale.DiscountState != BillDiscountState::WholeBill)
        view_.setText(EditBox::Discount, "100");
    view_.setText(EditBox::Quantity, "1");
    view_.setText(EditBox::Price, "");
}

void CommandInterpreter::tell(const char* text) { t_.person.message(text, "提示", MessageIcon::Information); }

void CommandInterpreter::refuse() { tell(kNotAuthorised); }

bool CommandInterpreter::granted(OperatorRight right) { return TerminalRights(t_).has(right); }

// After a completed, held or deleted bill: the next one starts without lines, discount
// or member. They go before the server is asked for the time, so a lost connection can
// never leave the lines of a paid bill to be charged again.
void CommandInterpreter::startNextBill()
{
    clearEntry();
    lines_.refreshTotals();
    view_.showLines();
    try {
        view_.showBillHeader(startNewBill(t_, reg_.sale));
    } catch (...) {
        view_.showBillHeader(currentBillHeader(t_.state, reg_.sale));
        throw;
    }
}

void CommandInterpreter::clearEntry()
{
    reg_.sale = reg_.sale.next();
    view_.setText(EditBox::Discount, "100");
}

void CommandInterpreter::applyMemberDiscount()
{
    const CurrentMember& member = reg_.sale.member;
    if (member.VIPCardNo.empty() || !isWholeBillRate(member.VIPDiscountType))
        return;
    view_.setText(EditBox::Discount, generalNumber(member.VIPDiscount));
    reg_.sale.DiscountState = BillDiscountState::WholeBill;
}

void CommandInterpreter::checkout()
{
    Sale& sale = reg_.sale;
    if (sale.bill.detail.empty())
        return tell("空单不能收款！");
    if (sale.bill.storeId().toInt() == 0)
        return tell("没有选择仓库！");
    lines_.refreshTotals();
    TerminalRights rights(t_);
    const PaymentContext payment{t_.dm, t_.state, t_.settings, t_.person, rights, t_.clock};
    DeviceAfterSale devices(terminalReceipt(t_), devices_.display, devices_.launcher, devices_.report);
    const std::string totalQty = generalNumber(sale.totals.TotalQty);
    std::optional<CheckoutAmounts> paid;
    if (sale.member.hasStoredValueCard()) {
        // Paid from the card's balance, cash for the rest; no change.
        VIPCardPayment cardPayment(payment, sale, devices);
        view_.payFromCard(cardPayment, totalQty);
        if (cardPayment.completed()) {
            const double due = amountIn(cardPayment.chargeAmount());
            paid = CheckoutAmounts{due, due, 0.0};
        }
    } else {
        Checkout checkout(payment, sale, devices);
        view_.charge(checkout, totalQty);
        if (checkout.completed())
            paid = checkout.amounts();
    }
    if (paid) {
        sale.previous = {paid->due, paid->paid, paid->change};
        view_.showPreviousBill();
        startNextBill();
    }
}

void CommandInterpreter::holdBill()
{
    if (reg_.sale.bill.detail.empty())
        return tell("空单不能挂单！");
    if (!HoldBill(t_.dm.conClient().statements<HeldBillStatements>(), t_.person, reg_.sale.bill))
        return;
    startNextBill();
    view_.setText(EditBox::Quantity, "1");
}

void CommandInterpreter::recallHeldBill()
{
    if (!reg_.sale.bill.detail.empty())
        return tell("正在销售，不能取挂单！");
    Database& local = t_.dm.conClient();
    HeldBillStatements& held = local.statements<HeldBillStatements>();
    const std::optional<std::string> holdNo = view_.chooseHeldBill(HeldBillNumbers(held));
    if (!holdNo) {
        reg_.sale.NextOrderId = 1;
        return;
    }
    BillNumbering numbering(local.statements<NumberingStatements>(), t_.clock);
    const WorkingModeClock clock(t_.dm, t_.state);
    RecallBill(held, t_.db().statements<PricingStatements>(), numbering, clock, *holdNo, t_.state.MachineCode,
               reg_.sale);
    // Goods added to the recalled bill get the member's discount as after reading the card.
    applyMemberDiscount();
    view_.showBillHeader(currentBillHeader(t_.state, reg_.sale));
}

void CommandInterpreter::memberCard()
{
    if (!reg_.sale.bill.detail.empty())
        return tell("请在开单之前输入会员卡号！");
    const std::optional<MemberCardRead> card = view_.readMemberCard();
    if (!card)
        return;
    reg_.sale.member = card->member;
    reg_.sale.bill.insiderCode() = trimmed(card->cardNo);
    applyMemberDiscount();
    view_.showBillHeader(currentBillHeader(t_.state, reg_.sale));
}

void CommandInterpreter::clearHeldBills()
{
    if (!granted(OperatorRight::ClearHeldBills))
        return refuse();
    ClearHeldBills(t_.dm.conClient().statements<HeldBillStatements>());
}

void CommandInterpreter::lineDiscount()
{
    if (reg_.sale.DiscountState == BillDiscountState::WholeBill)
        return tell("现在是整单折扣状态，不能进行单个货品折扣！");
    if (!granted(OperatorRight::Discount))
        return refuse();
    reg_.discountTarget = DiscountTarget::NextLine;
    reg_.FocusToInput = false;
    view_.focusBox(EditBox::Discount);
}

void CommandInterpreter::priceForNextGoods()
{
    if (!granted(OperatorRight::Price))
        return refuse();
    reg_.FocusToInput = false;
    view_.focusBox(EditBox::Price);
}

void CommandInterpreter::quantityForNextGoods()
{
    reg_.FocusToInput = false;
    view_.focusBox(EditBox::Quantity);
}

void CommandInterpreter::deleteLineByNumber()
{
    if (!granted(OperatorRight::DeleteLine))
        return refuse();
    // Left without confirming, the dialog answers "0", which no line carries.
    long long orderId = 0;
    parseInt(trimmed(t_.person.input("货品序号输入", "货品序号：", InputKind::Integer)), orderId);
    RowSet& lines = reg_.sale.bill.detail;
    for (std::size_t r = 0; r < lines.size(); ++r) {
        if (reg_.sale.bill.line(r).orderId().toInt() == orderId) {
            deleteLine(reg_.sale.bill, r);
            return;
        }
    }
    tell("没有找到要删除的货品！");
}

void CommandInterpreter::chooseStore()
{
    if (!t_.settings.seleStore().value_or(false))
        return tell("后台已设置为不能选择仓库！");
    if (!granted(OperatorRight::ChooseStore))
        return refuse();
    const std::string code = t_.person.input("选择仓库", "仓库代码：", InputKind::Text);
    if (code.empty())
        return tell("你没有指定仓库代码！");
    const std::optional<Store> store = GetStoreByCode(t_.db().statements<RegisterStatements>(), code);
    if (!store)
        return tell("你指定的仓库不存在！");
    sellFrom(t_.state, *store);
    reg_.sale.bill.storeId() = t_.state.StoreId;
    view_.showStore();
    t_.settings.setOption("FixStoreId", std::to_string(t_.state.StoreId));
}

void CommandInterpreter::wholeBillDiscount()
{
    // Each discount state has its own reason; a second whole-bill discount is not a line discount.
    if (reg_.sale.DiscountState == BillDiscountState::WholeBill)
        return tell("现在是整单折扣状态，不能进行整单折扣！");
    if (reg_.sale.DiscountState != BillDiscountState::None)
        return tell("现在是单个货品折扣状态，不能进行整单折扣！");
    if (!granted(OperatorRight::Discount))
        return;
    reg_.discountTarget = DiscountTarget::WholeBill;
    reg_.FocusToInput = false;
    view_.focusBox(EditBox::Discount);
}

void CommandInterpreter::changeCurrentQuantity()
{
    Bill& bill = reg_.sale.bill;
    if (bill.detail.empty())
        return;
    // Left without confirming, the dialog answers "0", which changes nothing.
    double quantity = 0;
    parseNumber(trimmed(t_.person.input("输入要修改的数量", "数量", InputKind::Number)), quantity);
    if (quantity > 0 || (quantity < 0 && granted(OperatorRight::Return)))
        lines_.changeQuantity(bill.currentLine, quantity);
}

void CommandInterpreter::deleteBill()
{
    if (!granted(OperatorRight::DeleteBill))
        return refuse();
    if (!t_.person.ask("您真的要删除单吗？", "提示"))
        return;
    startNextBill();
    view_.setText(EditBox::Quantity, "1");
    view_.setText(EditBox::Amount, "");
}

void CommandInterpreter::switchWorkingMode()
{
    const char* question = t_.state.NetMode == Online ? "您真的要切换到『断网销售』模式吗？"
                                                        : "您真的要切换到『连网销售』模式吗？";
    if (!t_.person.ask(question, "提示") || !t_.dm.switchWorkingMode(t_.state))
        return;
    if (t_.state.NetMode == Online)
        prepareServerStatements(t_.dm.conServer());
    view_.showNetMode();
}

void CommandInterpreter::downloadMasterData()
{
    if (t_.state.NetMode != Online)
        return tell("下载货品资料要在『连网销售』模式下进行！请切换到『连网销售』模式。");
    auto& server = t_.dm.conServer().statements<DownloadStatements>();
    pos::downloadMasterData(server, t_.dm.conClient(), t_.person, t_.state.StoreId, true);
    pos::downloadMasterData(server, t_.dm.conClient(), t_.person, t_.state.StoreId, false);
}

void CommandInterpreter::uploadOfflineBills()
{
    if (t_.state.NetMode != Online)
        return tell("上传数据要在『连网销售』模式下进行！请切换到『连网销售』模式。");
    UploadOfflineBills(t_.dm, t_.state, t_.person, t_.clock, t_.log);
}

void CommandInterpreter::openCashDrawer()
{
    if (!granted(OperatorRight::OpenCashDrawer))
        return refuse();
    OpenCashDrawer(t_.settings, t_.person, devices_.launcher, t_.settings.directory());
}

void CommandInterpreter::deviceSettings()
{
    if (!granted(OperatorRight::DeviceSettings))
        return refuse();
    view_.showOptions();
}

void CommandInterpreter::changeOwnPassword()
{
    if (!granted(OperatorRight::ChangePassword))
        return refuse();
    view_.changePassword();
}

void CommandInterpreter::memberTotals() { view_.showMemberTotals(); }

// The day's takings come from the server's view of the bills: offline there is none to
// ask, so the right is not asked either.
void CommandInterpreter::takingsToday()
{
    if (t_.state.NetMode != Online)
        return tell("该功能只有在连网销售模式才有效！");
    if (!granted(OperatorRight::ViewTakings))
        return refuse();
    view_.showTakingsToday();
}

void CommandInterpreter::shiftTakings()
{
    if (!granted(OperatorRight::ShiftTakings))
        return refuse();
    view_.showShiftTakings();
}

void CommandInterpreter::browseBills()
{
    if (!granted(OperatorRight::BillBrowser))
        return refuse();
    view_.browseBills();
}

// Stock is open to every cashier; the window itself refuses offline.
void CommandInterpreter::queryStock() { view_.queryStock(); }

void CommandInterpreter::leaveProgram() { view_.closeRegister(); }

void CommandInterpreter::designReceipt()
{
    DesignBillTemplate(terminalReceipt(t_), devices_.report, reg_.sale);
}

// The common refresh after Enter is all these codes do.
void CommandInterpreter::refreshOnly() {}

void CommandInterpreter::calculator()
{
    for (const char* name : kCalculators) {
        const std::string program = findOnPath(name);
        if (!program.empty())
            return devices_.launcher.start(program);
    }
}

void CommandInterpreter::chooseSalesman()
{
    const std::string code = t_.person.input("选择业务员", "业务员代码：", InputKind::Text);
    if (code.empty())
        return tell("你没有输入业务员代码！");
    const std::optional<Employee> salesman = GetEmployee(t_.db().statements<RegisterStatements>(), code);
    if (!salesman)
        return tell("你指定的业务员不存在！");
    reg_.sale.bill.exeManId() = salesman->EmployId;
    reg_.sale.ExeManCode = code;
    reg_.sale.ExeManName = salesman->Name;
    view_.showBillHeader(currentBillHeader(t_.state, reg_.sale));
}

void CommandInterpreter::giveAway()
{
    Bill& bill = reg_.sale.bill;
    if (bill.detail.empty() || !granted(OperatorRight::GiveAway))
        return;
    const std::size_t line = bill.currentLine;
    bill.line(line).name() = trimmed(bill.line(line).name().toString()) + " [赠送]";
    bill.line(line).memo() = "赠送";
    changeLineValue(bill, line, LineField::Price, 0.0, t_.state.Digit);
}

void CommandInterpreter::lockTerminal() { view_.lockTerminal(); }

void CommandInterpreter::keyHelp() { view_.showKeyHelp(); }

}  // namespace pos
