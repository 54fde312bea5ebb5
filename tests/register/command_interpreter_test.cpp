#include "register/command_interpreter.h"

#include "register/register_fixture.h"
#include "storage/bill_saving.h"
#include "support/pseudo_terminal.h"
#include "support/scoped_path.h"
#include "support/temp_dir.h"
#include "support/waiting_bill.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace pos {
namespace {

using test::addGoods;
using test::RegisterTest;

// A refusal or precondition of a command: what the register is like before, the code
// typed, the messages shown and the rights a supervisor was asked for (and refused).
struct Refusal {
    const char* name;
    std::function<void(RegisterTest&)> arrange;
    const char* code;
    std::vector<std::string> messages;
    std::vector<OperatorRight> rightsAsked;
};

void withLine(RegisterTest& r) { r.enter("6902"); }
void senior(RegisterTest& r) { r.signOnSenior(); }
void seniorTyping(RegisterTest& r, const char* answer)
{
    r.signOnSenior();
    r.f.person.inputs.push_back(answer);
}
void storeChoiceAllowed(RegisterTest& r) { r.f.settings.setSeleStore(true); }

const char* const kNotAuthorised = "您没有授权使用该操作！";

const Refusal kRefusals[] = {
    {"CheckoutOfAnEmptyBill", nullptr, "+", {"空单不能收款！"}, {}},
    {"CheckoutWithoutStore", [](RegisterTest& r) {
         withLine(r);
         r.reg.sale.bill.storeId() = 0;
     }, "+",
     {"没有选择仓库！"}, {}},
    {"LineDiscountDuringWholeBillDiscount", [](RegisterTest& r) {
         r.signOnSenior();
         r.enter("6901");
         r.intoBox("8/", EditBox::Discount, "90");
     }, "/",
     {"现在是整单折扣状态，不能进行单个货品折扣！"}, {}},
    {"LineDiscountWithoutRight", nullptr, "/", {kNotAuthorised}, {OperatorRight::Discount}},
    {"PriceWithoutRight", nullptr, "*", {kNotAuthorised}, {OperatorRight::Price}},
    {"DeleteLineWithoutRight", withLine, ".", {kNotAuthorised}, {OperatorRight::DeleteLine}},
    {"DeleteLineLeftWithCancel", [](RegisterTest& r) {
         withLine(r);
         seniorTyping(r, "0");
     }, ".",
     {"没有找到要删除的货品！"}, {}},
    {"DeleteLineNobodyHas", [](RegisterTest& r) {
         withLine(r);
         seniorTyping(r, "7");
     }, ".",
     {"没有找到要删除的货品！"}, {}},
    {"StoreChoiceNotAllowed", [](RegisterTest& r) { r.f.settings.setSeleStore(false); }, "1/",
     {"后台已设置为不能选择仓库！"}, {}},
    {"StoreWithoutRight", storeChoiceAllowed, "1/", {kNotAuthorised}, {OperatorRight::ChooseStore}},
    {"StoreLeftEmpty", [](RegisterTest& r) {
         storeChoiceAllowed(r);
         seniorTyping(r, "");
     }, "1/",
     {"你没有指定仓库代码！"}, {}},
    {"StoreUnknown", [](RegisterTest& r) {
         storeChoiceAllowed(r);
         seniorTyping(r, "S9");
     }, "1/",
     {"你指定的仓库不存在！"}, {}},
    {"HoldOfAnEmptyBill", nullptr, "4/", {"空单不能挂单！"}, {}},
    {"RecallDuringASale", withLine, "5/", {"正在销售，不能取挂单！"}, {}},
    {"ClearHeldBillsWithoutRight", nullptr, "39/", {kNotAuthorised}, {OperatorRight::ClearHeldBills}},
    {"BillBrowserWithoutRight", nullptr, "37/", {kNotAuthorised}, {OperatorRight::BillBrowser}},
    {"WholeBillDiscountAfterLineDiscount", [](RegisterTest& r) {
         r.signOnSenior();
         r.enter("6901");
         r.intoBox("/", EditBox::Discount, "90");
         r.enter("6902");
     }, "8/",
     {"现在是单个货品折扣状态，不能进行整单折扣！"}, {}},
    {"WholeBillDiscountDuringOne", [](RegisterTest& r) { r.reg.sale.DiscountState = BillDiscountState::WholeBill; }, "8/",
     {"现在是整单折扣状态，不能进行整单折扣！"}, {}},
    {"WholeBillDiscountWithoutRightSaysNothing", nullptr, "8/", {}, {OperatorRight::Discount}},
    {"QuantityOfNoLine", nullptr, "9/", {}, {}},
    {"NegativeQuantityWithoutRightSaysNothing", [](RegisterTest& r) {
         withLine(r);
         r.f.person.inputs = {"-2"};
     },
     "9/", {}, {OperatorRight::Return}},
    {"QuantityLeftWithCancel", [](RegisterTest& r) {
         withLine(r);
         r.f.person.inputs = {"0"};
     }, "9/", {}, {}},
    {"DeleteBillWithoutRight", withLine, "10/", {kNotAuthorised}, {OperatorRight::DeleteBill}},
    {"DownloadOffline", [](RegisterTest& r) { r.f.state.NetMode = Offline; }, "13/",
     {"下载货品资料要在『连网销售』模式下进行！请切换到『连网销售』模式。"}, {}},
    {"UploadOffline", [](RegisterTest& r) { r.f.state.NetMode = Offline; }, "12/",
     {"上传数据要在『连网销售』模式下进行！请切换到『连网销售』模式。"}, {}},
    {"DrawerWithoutRight", nullptr, "14/", {kNotAuthorised}, {OperatorRight::OpenCashDrawer}},
    {"SettingsWithoutRight", nullptr, "15/", {kNotAuthorised}, {OperatorRight::DeviceSettings}},
    {"PasswordChangeWithoutRight", nullptr, "17/", {kNotAuthorised}, {OperatorRight::ChangePassword}},
    {"SalesmanLeftEmpty", [](RegisterTest& r) { r.f.person.inputs = {""}; }, "33/", {"你没有输入业务员代码！"}, {}},
    {"SalesmanUnknown", [](RegisterTest& r) { r.f.person.inputs = {"E9"}; }, "33/", {"你指定的业务员不存在！"}, {}},
    {"GiftOfNoLine", senior, "35/", {}, {}},
    {"GiftWithoutRightSaysNothing", withLine, "35/", {}, {OperatorRight::GiveAway}},
};

class RefusalTest : public RegisterTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ShowsItsMessageChangesNothingAndStillRefreshes)
{
    const Refusal& c = GetParam();
    if (c.arrange)
        c.arrange(*this);
    forgetMessages();
    view.totals.reset();
    for (std::size_t i = 0; i < c.rightsAsked.size(); ++i)
        f.person.supervisors.push_back(std::nullopt);
    const RowSet linesBefore = reg.sale.bill.detail;
    const int storeBefore = static_cast<int>(reg.sale.bill.storeId().toInt());
    const BillDiscountState discountStateBefore = reg.sale.DiscountState;
    auto boxesBefore = view.boxes;
    boxesBefore.erase(EditBox::Input);

    enter(c.code);

    EXPECT_EQ(messages(), c.messages);
    for (const auto& shown : f.person.messages) {
        EXPECT_EQ(shown.title, "提示");
        EXPECT_EQ(shown.icon, MessageIcon::Information);
    }
    EXPECT_EQ(f.person.supervisorRights, c.rightsAsked);
    EXPECT_TRUE(f.person.inputs.empty()) << "the scripted input was asked for";
    ASSERT_EQ(lineCount(), linesBefore.size());
    for (std::size_t r = 0; r < lineCount(); ++r)
        EXPECT_EQ(reg.sale.bill.detail.row(r), linesBefore.row(r)) << "line " << r;
    EXPECT_EQ(reg.sale.bill.storeId().toInt(), storeBefore);
    EXPECT_EQ(reg.sale.DiscountState, discountStateBefore);
    for (const auto& [box, text] : boxesBefore)
        EXPECT_EQ(view.text(box), text) << "box " << static_cast<int>(box);
    EXPECT_EQ(f.settings.option("FixStoreId"), "");
    EXPECT_EQ(view.focused, EditBox::Input);
    EXPECT_TRUE(reg.FocusToInput);
    EXPECT_FALSE(view.grid);
    EXPECT_EQ(view.charged + view.optionsShown + view.passwordChanges + view.closeRequests + view.billBrowsers, 0);
    EXPECT_TRUE(launcher.started.empty());
    // The common step after Enter.
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_TRUE(view.totals.has_value());
}

INSTANTIATE_TEST_SUITE_P(Commands, RefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegisterTest, CodesThatOnlyRefreshAreCommandsEvenWithBlanksAroundThemAndOtherCodesAreGoods)
{
    const char* const refreshOnly[] = {"20/", "40/"};
    int goodsId = 200;
    for (const char* code : refreshOnly)
        addGoods(f.side(Online), ++goodsId, code, "", std::string("货品") + code, 1);
    addGoods(f.side(Online), 300, "21/", "", "货品21/", 2);
    addGoods(f.side(Online), 301, "2/", "", "货品2/", 3);

    for (const char* code : refreshOnly) {
        typeAndEnter(std::string("  ") + code + " ");
        EXPECT_EQ(lineCount(), 0u) << code << " was looked up as goods";
        EXPECT_EQ(view.text(EditBox::Input), "") << code;
    }
    for (const std::string& m : messages())
        EXPECT_NE(m, "没有找到该商品！");

    typeAndEnter("21/");
    typeAndEnter(" 2/");
    ASSERT_EQ(lineCount(), 2u);
    EXPECT_EQ(line(0).goodsId().toInt(), 300);
    EXPECT_EQ(line(1).goodsId().toInt(), 301);
    EXPECT_EQ(view.totals->amountDue, "   5.00");
}

TEST_F(RegisterTest, TypedQuotesAndStatementsAreLookedUpLiterally)
{
    addGoods(f.side(Online), 120, "O'Brien", "", "爱尔兰黄油", 20);
    for (const char* text : {"x' or '1'='1", "6901'; delete from B_Goods; --", "' or 1=1 --"}) {
        forgetMessages();
        typeAndEnter(text);
        EXPECT_EQ(messages(), std::vector<std::string>{"没有找到该商品！"}) << text;
    }
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_FALSE(f.office.accountSet().query("select * from B_Goods where GoodsId=101").empty());

    typeAndEnter("O'Brien");
    ASSERT_EQ(lineCount(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 120);
}

TEST_F(RegisterTest, GoodsInputTakesTheBoxesAndPutsThemBack)
{
    signOnSenior();
    intoBox("*", EditBox::Price, "8.5");
    intoBox("-", EditBox::Quantity, "3");
    intoBox("/", EditBox::Discount, "90");
    EXPECT_TRUE(reg.FocusToInput);
    enter("6903");
    enter("6903");

    ASSERT_EQ(lineCount(), 2u);
    EXPECT_DOUBLE_EQ(line(0).price().toDouble(), 8.5);
    EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), 3);
    EXPECT_DOUBLE_EQ(line(0).discount().toDouble(), 90);
    EXPECT_DOUBLE_EQ(line(0).amount().toDouble(), 22.95);
    EXPECT_DOUBLE_EQ(line(1).price().toDouble(), 10) << "the typed price served one goods input";
    EXPECT_DOUBLE_EQ(line(1).quantity().toDouble(), 1);
    EXPECT_DOUBLE_EQ(line(1).discount().toDouble(), 100);
    EXPECT_EQ(line(1).orderId().toInt(), 2);
    EXPECT_EQ(view.text(EditBox::Price), "");
    EXPECT_EQ(view.text(EditBox::Quantity), "1");
    EXPECT_EQ(view.text(EditBox::Discount), "100");
    EXPECT_EQ(view.totals->totalQty, "4");
    EXPECT_EQ(view.totals->amountDue, "  32.95");
    EXPECT_DOUBLE_EQ(reg.sale.bill.realAmount().toDouble(), 32.95);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, CheckoutStartsTheNextBillAndKeepsTheAmountsOfThisOne)
{
    enter("6901");
    enter("6902");
    // A line changed without a refresh: checkout refreshes before the dialog opens.
    reg.sale.bill.line(1).amount() = 13.0;
    double dueWhenCharged = 0;
    view.afterCharging = [&] { dueWhenCharged = reg.sale.bill.realAmount().toDouble(); };
    reg.sale.DiscountState = BillDiscountState::LineDiscount;
    view.boxes[EditBox::Discount] = "90";

    view.charges = {std::nullopt};
    enter("+");
    EXPECT_DOUBLE_EQ(dueWhenCharged, 16.5);
    EXPECT_EQ(lineCount(), 2u) << "left without paying: the bill stays";
    EXPECT_EQ(view.previousShown, 0);

    reg.sale.member.VIPCardNo = "M01";
    view.charges = {"20"};
    enter("+");
    EXPECT_EQ(view.charged, 2);
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(reg.sale.NextOrderId, 1);
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::None);
    EXPECT_EQ(reg.sale.member.VIPCardNo, "");
    EXPECT_EQ(view.text(EditBox::Discount), "100");
    EXPECT_DOUBLE_EQ(reg.sale.previous.RealAmount, 16.5);
    EXPECT_DOUBLE_EQ(reg.sale.previous.ClientAmount, 20);
    EXPECT_DOUBLE_EQ(reg.sale.previous.ChangeAmount, 3.5);
    EXPECT_EQ(view.previousShown, 1);
    ASSERT_TRUE(view.header);
    EXPECT_EQ(view.header->billNo, reg.sale.bill.billNo().toString());
    EXPECT_EQ(view.totals->amountDue, "   0.00");
    EXPECT_TRUE(messages().empty());

    enter("6901");
    EXPECT_EQ(line(0).orderId().toInt(), 1);
}

// A bill carrying a stored-value card is paid from the card; the checkout dialog stays shut.
TEST_F(RegisterTest, CheckoutOfAStoredValueCardBillOpensTheCardPayment)
{
    enter("6901");
    reg.sale.member.VIPCardNo = "S1";
    reg.sale.member.VIPCardKind = MemberCardKind::StoredValue;
    view.cardPayments = {false};
    enter("+");
    EXPECT_EQ(view.paidFromCard, 1);
    EXPECT_EQ(lineCount(), 1u) << "left without paying: the bill stays";

    view.cardPayments = {true};
    enter("+");
    EXPECT_EQ(view.paidFromCard, 2);
    EXPECT_EQ(view.charged, 0);
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(reg.sale.member.VIPCardNo, "");
    EXPECT_DOUBLE_EQ(reg.sale.previous.RealAmount, 3.5);
    EXPECT_DOUBLE_EQ(reg.sale.previous.ClientAmount, 3.5);
    EXPECT_DOUBLE_EQ(reg.sale.previous.ChangeAmount, 0);

    // The next sale carries no card: it goes to the ordinary checkout.
    enter("6901");
    view.charges = {std::nullopt};
    enter("+");
    EXPECT_EQ(view.charged, 1);
    EXPECT_EQ(view.paidFromCard, 2);
}

TEST_F(RegisterTest, ChangingTheQuantityOfTheCurrentLine)
{
    enter("6901");
    enter("6902");  // the current line
    struct Step {
        const char* typed;
        std::optional<Credentials> supervisor;  // asked for a negative quantity
        double quantity;
    };
    const Step steps[] = {
        {"0", std::nullopt, 1},             // left with Cancel
        {"3", std::nullopt, 3},
        {"-2", std::nullopt, 3},            // no return right, no supervisor
        {"-2", test::kSupervisor, -2},
    };
    for (const Step& s : steps) {
        f.person.inputs = {s.typed};
        if (s.typed[0] == '-')
            f.person.supervisors = {s.supervisor};
        enter("9/");
        EXPECT_DOUBLE_EQ(line(1).quantity().toDouble(), s.quantity) << s.typed;
        EXPECT_DOUBLE_EQ(line(1).amount().toDouble(), 12 * s.quantity) << s.typed;
    }
    EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), 1);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(view.totals->totalQty, "-1");
}

// "9/" and the grid's quantity cells on a promotional line: the goods' promotion counter
// follows the line, and a change beyond the promotion's limits leaves the line as it was.
TEST_F(RegisterTest, QuantityOfAPromotionalLineStaysWithinItsPromotion)
{
    Database& server = f.side(Online);
    server.execute("update B_Goods set SPPrice=3,SPQuantity=5,SPBillQty=4 where GoodsId=101");
    auto sold = [&] { return server.query("select SPMakeQty from B_Goods where GoodsId=101").first("SPMakeQty").toDouble(); };
    enter("6901");
    ASSERT_EQ(line(0).memo().toString(), "促销");

    f.person.inputs = {"3"};
    enter("9/");
    EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), 3);
    EXPECT_DOUBLE_EQ(sold(), 3);

    lines.startGridEditing(LineField::Quantity);
    EXPECT_FALSE(lines.changeLine(0, LineField::Quantity, "5"));
    EXPECT_EQ(messages(), std::vector<std::string>{"该货品的当前销量超出每单限量(超出数量1)\r\n超出限量的货品请另外输入。"});
    EXPECT_TRUE(lines.changeLine(0, LineField::Quantity, "1"));
    lines.endGridEditing();
    EXPECT_DOUBLE_EQ(sold(), 1);

    server.execute("update B_Goods set SPMakeQty=4 where GoodsId=101");  // another terminal sold 3
    forgetMessages();
    f.person.inputs = {"3"};
    enter("9/");
    EXPECT_EQ(messages(), std::vector<std::string>{"该货品的当前销量超出可促销量(超出数量1)\r\n超出限量的货品请另外输入。"});
    EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), 1);
    EXPECT_DOUBLE_EQ(line(0).amount().toDouble(), 3);
    EXPECT_DOUBLE_EQ(sold(), 4);
}

TEST_F(RegisterTest, DeletingTheBillAsksFirst)
{
    signOnSenior();
    enter("6901");
    enter("6902");
    reg.sale.DiscountState = BillDiscountState::WholeBill;
    reg.sale.member.VIPCardNo = "M01";
    view.boxes[EditBox::Discount] = "90";
    view.boxes[EditBox::Quantity] = "2";

    f.person.answers = {false};
    enter("10/");
    EXPECT_EQ(lineCount(), 2u);
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::WholeBill);

    f.person.answers = {true};
    enter("10/");
    EXPECT_EQ(f.person.questions, (std::vector<std::string>{"您真的要删除单吗？", "您真的要删除单吗？"}));
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(reg.sale.NextOrderId, 1);
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::None);
    EXPECT_EQ(reg.sale.member.VIPCardNo, "");
    EXPECT_EQ(view.text(EditBox::Discount), "100");
    EXPECT_EQ(view.text(EditBox::Quantity), "1");
    EXPECT_EQ(view.totals->amountDue, "   0.00");
    EXPECT_TRUE(view.header);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, SwitchingTheWorkingModeBothWays)
{
    f.person.answers = {false};
    enter("11/");
    EXPECT_EQ(f.state.NetMode, Online);

    f.person.answers = {true};
    enter("11/");
    EXPECT_EQ(f.state.NetMode, Offline);
    EXPECT_EQ(view.netModeShown, 1);

    f.person.answers = {true};
    enter("11/");
    EXPECT_EQ(f.state.NetMode, Online);
    EXPECT_EQ(view.netModeShown, 2);
    EXPECT_EQ(f.person.questions, (std::vector<std::string>{"您真的要切换到『断网销售』模式吗？",
                                                            "您真的要切换到『断网销售』模式吗？",
                                                            "您真的要切换到『连网销售』模式吗？"}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, GiftTagsTheCurrentLineEachTime)
{
    signOnSenior();
    enter("6901");
    enter("6902");
    enter("35/");
    enter("35/");
    EXPECT_EQ(line(1).name().toString(), "毛巾 [赠送] [赠送]");
    EXPECT_DOUBLE_EQ(line(1).price().toDouble(), 0);
    EXPECT_EQ(line(1).memo().toString(), "赠送");
    EXPECT_DOUBLE_EQ(line(1).amount().toDouble(), 0);
    EXPECT_EQ(line(0).name().toString(), "牙刷");
    EXPECT_EQ(view.totals->amountDue, "   3.50");
}

TEST_F(RegisterTest, ChoosingTheStoreAndTheSalesman)
{
    signOnSenior();
    f.settings.setSeleStore(true);
    f.office.accountSet().execute("insert into B_Store(StoreId,Code,Name,IsPos) values(5,'S5','五号店',0)");
    f.office.accountSet().execute("insert into B_Employ(EmployId,Code,Name) values(7,'E7','张三')");
    f.person.inputs = {"S5", "E7"};

    enter("1/");
    EXPECT_EQ(reg.sale.bill.storeId().toInt(), 5);
    EXPECT_EQ(f.state.StoreName, "五号店");
    EXPECT_EQ(view.storeShown, 1);
    EXPECT_EQ(f.settings.option("FixStoreId"), "5");

    enter("33/");
    EXPECT_EQ(reg.sale.bill.exeManId().toInt(), 7);
    EXPECT_EQ(reg.sale.ExeManCode, "E7");
    EXPECT_EQ(reg.sale.ExeManName, "张三");
    ASSERT_TRUE(view.header);
    EXPECT_EQ(view.header->exeMan, "张三");
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, DownloadBringsTheServersGoods)
{
    addGoods(f.office.accountSet(), 150, "G150", "6950", "新货", 5);
    enter("13/");
    EXPECT_FALSE(f.dm.conClient().query("select * from B_Goods where GoodsId=150").empty());
    f.state.NetMode = Offline;
    enter("6950");
    ASSERT_EQ(lineCount(), 1u);
    EXPECT_EQ(line(0).goodsId().toInt(), 150);
}

TEST_F(RegisterTest, UploadSendsTheBillsSoldOffline)
{
    Database& local = f.dm.conClient();
    test::addWaitingBill(local);
    enter("12/");
    EXPECT_TRUE(local.query("select * from PosBill").empty());
    EXPECT_EQ(f.office.accountSet().query("select * from PosDetail where BillNo=$1", {test::kWaitingBillNo}).size(), 1u);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, CommandsOpenTheDrawerTheirWindowsTheDesignerAndTheExit)
{
    signOnSenior();
    f.settings.setOption("MoneyBoxConn", "接钱箱卡");
    f.settings.setOption("OpenMoneyBox", "Open1.com");
    test::writeFile(f.dir.file("Open1.com"), "");

    enter("14/");
    EXPECT_EQ(launcher.started, std::vector<std::string>{f.dir.file("Open1.com")});
    enter("15/");
    EXPECT_EQ(view.optionsShown, 1);
    enter("17/");
    EXPECT_EQ(view.passwordChanges, 1);
    enter("37/");
    EXPECT_EQ(view.billBrowsers, 1);
    enter("38/");
    EXPECT_EQ(view.stockQueries, 1);
    enter("18/");
    ASSERT_EQ(report.designed.size(), 1u);
    EXPECT_EQ(report.designed[0].fileName, f.dir.file("POS.frf"));
    EXPECT_EQ(report.designed[0].lines, &reg.sale.bill.detail);
    enter("16/");
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, CalculatorIsTheFirstFoundOnThePath)
{
    test::TempDir bin, empty;
    for (const char* name : {"xcalc", "kcalc"}) {
        test::writeFile(bin.file(name), "#!/bin/sh\n");
        std::filesystem::permissions(bin.file(name), std::filesystem::perms::owner_all);
    }
    {
        test::ScopedPath path(empty.path() + ":" + bin.path());
        enter("31/");
    }
    EXPECT_EQ(launcher.started, std::vector<std::string>{bin.file("kcalc")});
    {
        test::ScopedPath path(empty.path());
        enter("31/");
    }
    EXPECT_EQ(launcher.started.size(), 1u) << "without a calculator nothing starts";
    EXPECT_TRUE(messages().empty());
}

TEST_F(RegisterTest, EveryEnterShowsTheAmountDueOnTheCustomerDisplay)
{
    test::PseudoTerminal pole;
    test::attachPoleDisplay(f.settings, pole.path());
    InitCustomerDisplay(f.settings, display);

    enter("6902");
    EXPECT_EQ(pole.received(), std::string(11, ' ') + "\x1bQA   12.00\r");
    enter("20/");
    EXPECT_EQ(pole.received(), std::string(11, ' ') + "\x1bQA   12.00\r") << "after a command as well";

    f.settings.setOption("ClientDisplay", "无");
    enter("6902");
    EXPECT_EQ(pole.received(), "");
}

}  // namespace
}  // namespace pos
