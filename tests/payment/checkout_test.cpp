#include "payment/checkout.h"

#include "payment/checkout_terminal.h"
#include "payment/device_after_sale.h"
#include "payment/payment_statements.h"
#include "payment/recording_after_sale.h"
#include "payment/ticket_tender.h"
#include "support/proxied_server.h"
#include "support/server_clock_span.h"

#include <gtest/gtest.h>

#include <optional>

namespace pos {
namespace {

using test::kCashier;
using test::kGiveAwayAndWriteOffCashier;

constexpr const char* kFirstNumber = "07202403150001";
constexpr const char* kNumberAfterRoll = "07202403160001";
constexpr const char* kRefused = "您没有授权使用该操作！";
constexpr const char* kSaveFailed = "保存数据失败！";

class CheckoutTest : public ::testing::Test {
protected:
    Checkout& open(double amount)
    {
        checkout_.emplace(fx_.payment(), fx_.newSale(amount), devices_);
        return *checkout_;
    }

    RowSet savedLines(WorkingMode mode) { return fx_.side(mode).query("select * from PosDetail order by BillNo"); }

    // An earlier bill with the number the next save takes, so that saving it fails.
    void occupyFirstNumber(WorkingMode mode)
    {
        fx_.side(mode).execute("insert into PosBill(BillNo,StoreId,OperatorId) values($1,2,3)", {kFirstNumber});
    }

    std::vector<std::string> messageTexts() const { return fx_.person.messageTexts(); }

    test::CheckoutTerminal fx_;
    Sale& sale_ = fx_.sale;
    test::RecordingAfterSale devices_;
    std::optional<Checkout> checkout_;
};

TEST_F(CheckoutTest, OpensWithTheAmountDueAndPrintingOn)
{
    Checkout& c = open(95.5);
    EXPECT_EQ(c.due(), "95.50  ");
    EXPECT_EQ(c.paid(), "");
    EXPECT_EQ(c.change(), "0.00");
    EXPECT_FALSE(c.completed());
    EXPECT_EQ(c.printCaption(), "状态：打印小票");
    c.togglePrinting();
    EXPECT_EQ(c.printCaption(), "状态：不打印小票");
    c.togglePrinting();
    EXPECT_TRUE(c.printing());
}

struct PaidCase {
    const char* name;
    double amount;
    const char* typed;
    const char* message;  // nullptr: passes and the bill is saved
    const char* paidAfter;
    const char* change;
};

TEST_F(CheckoutTest, PaidAmountIsCheckedBeforeTheBillIsSaved)
{
    const PaidCase cases[] = {
        {"ExactAmountByEnterAlone", 95, "", nullptr, "95.00  ", "0.00   "},
        {"BlanksCountAsEmpty", 95, "   ", nullptr, "95.00  ", "0.00   "},
        {"ChangeOfFive", 95, "100", nullptr, "100", "5.00   "},
        {"ChangeJustBelowHundred", 95, "194.99", nullptr, "194.99", "99.99  "},
        {"ChangeOfHundred", 95, "195", "找赎金额不能大于100！", "195", "100.00 "},
        {"ChangeThatShowsAsHundred", 28.01, "128.01", "找赎金额不能大于100！", "128.01", "100.00 "},
        {"PaidTooLittle", 95, "90", "客付金额不能小于应收金额！", "90", "-5.00  "},
        {"Letters", 95, "abc", "输入的客付金额不是数值！", "abc", "0.00"},
        {"NumberFollowedByLetters", 95, "100元", "输入的客付金额不是数值！", "100元", "0.00"},
    };
    for (const PaidCase& pc : cases) {
        SCOPED_TRACE(pc.name);
        const std::size_t savedBefore = fx_.savedBills(Online).size();
        devices_.calls.clear();
        Checkout& c = open(pc.amount);
        c.setPaid(pc.typed);

        EXPECT_EQ(c.complete(), pc.message == nullptr);

        EXPECT_EQ(c.paid(), pc.paidAfter);
        EXPECT_EQ(c.change(), pc.change);
        EXPECT_EQ(c.completed(), pc.message == nullptr);
        if (pc.message) {
            ASSERT_EQ(fx_.person.messages.size(), 1u);
            EXPECT_EQ(fx_.person.messages[0].text, pc.message);
            EXPECT_EQ(fx_.person.messages[0].title, "提示");
            EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);
            EXPECT_EQ(fx_.savedBills(Online).size(), savedBefore);
            EXPECT_TRUE(devices_.calls.empty());
            continue;
        }
        EXPECT_TRUE(fx_.person.messages.empty());
        const Bill& b = sale_.bill;
        const double change = c.amounts().change;
        EXPECT_DOUBLE_EQ(b.realAmount().toDouble(), pc.amount);
        EXPECT_DOUBLE_EQ(b.cashAmount().toDouble(), pc.amount);
        EXPECT_DOUBLE_EQ(b.changeAmount().toDouble(), change);
        RowSet saved = fx_.savedBill(b.billNo());
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), change);
    }
}

struct WriteOffCase {
    const char* name;
    double amount;
    std::vector<std::string> inputs;  // one write-off after the other
    const char* due;
    bool refused;
};

TEST_F(CheckoutTest, WriteOffLowersTheAmountDueWithinItsLimits)
{
    fx_.state.OperatorId = kGiveAwayAndWriteOffCashier;
    const WriteOffCase cases[] = {
        {"FiftyCents", 95.5, {"0.5"}, "95.00  ", false},
        {"ExactlyHalf", 100, {"50"}, "50.00  ", false},
        {"MoreThanHalf", 100, {"60"}, "100.00 ", true},
        {"Hundred", 300, {"100"}, "300.00 ", true},
        {"JustBelowHundred", 300, {"99.99"}, "200.01 ", false},
        {"Negative", 95.5, {"-1"}, "95.50  ", true},
        {"CancelledDialogAnswersZero", 95.5, {"0"}, "95.50  ", false},
        {"SecondReplacesFirst", 95.5, {"0.5", "0.3"}, "95.20  ", false},
        {"RefusedSecondKeepsFirst", 95.5, {"0.5", "60"}, "95.00  ", true},
    };
    for (const WriteOffCase& wc : cases) {
        SCOPED_TRACE(wc.name);
        Checkout& c = open(wc.amount);
        for (const std::string& input : wc.inputs) {
            c.setPaid("500");
            fx_.person.inputs.push_back(input);
            c.writeOff();
            EXPECT_EQ(c.paid(), "") << "the paid box is cleared by \"*\"";
        }
        EXPECT_EQ(c.due(), wc.due);
        EXPECT_TRUE(fx_.person.inputs.empty());
        EXPECT_TRUE(fx_.person.supervisorRights.empty());
        EXPECT_EQ(messageTexts(), wc.refused ? std::vector<std::string>{"输入的抹零金额不正确！"}
                                             : std::vector<std::string>{});

        ASSERT_TRUE(c.complete());
        const double due = c.amounts().due;
        EXPECT_DOUBLE_EQ(sale_.bill.amount().toDouble(), wc.amount) << "the lines' sum stays";
        EXPECT_DOUBLE_EQ(sale_.bill.realAmount().toDouble(), due);
        EXPECT_DOUBLE_EQ(sale_.bill.cashAmount().toDouble(), due);
    }
}

struct RightCase {
    const char* name;
    int operatorId;
    std::optional<Credentials> supervisor;  // asked only when the operator lacks the right
    bool granted;
};

const RightCase kRightCases[] = {
    {"OwnRight", kGiveAwayAndWriteOffCashier, std::nullopt, true},
    {"SupervisorGrants", kCashier, Credentials{"9001", "999"}, true},
    {"SupervisorCancelled", kCashier, std::nullopt, false},
    {"SupervisorWithoutTheRight", kCashier, Credentials{"8001", "888"}, false},
    {"WrongPassword", kCashier, Credentials{"9001", "998"}, false},
};

TEST_F(CheckoutTest, WriteOffNeedsRightEight)
{
    for (const RightCase& rc : kRightCases) {
        SCOPED_TRACE(rc.name);
        fx_.state.OperatorId = rc.operatorId;
        fx_.person.supervisorRights.clear();
        Checkout& c = open(95.5);
        if (rc.operatorId == kCashier)
            fx_.person.supervisors.push_back(rc.supervisor);
        if (rc.granted)
            fx_.person.inputs.push_back("0.5");
        c.setPaid("100");

        c.writeOff();

        EXPECT_EQ(c.paid(), "");
        EXPECT_EQ(c.due(), rc.granted ? "95.00  " : "95.50  ");
        EXPECT_EQ(fx_.person.supervisorRights, rc.operatorId == kCashier
                                                   ? std::vector<OperatorRight>{OperatorRight::WriteOff}
                                                   : std::vector<OperatorRight>{});
        EXPECT_EQ(messageTexts(), rc.granted ? std::vector<std::string>{} : std::vector<std::string>{kRefused});
        if (!rc.granted) {
            EXPECT_EQ(fx_.person.messages[0].title, "提示");
            EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);
        }
        EXPECT_TRUE(fx_.person.inputs.empty());
    }
}

TEST_F(CheckoutTest, FreeAndUnpaidBillsNeedRightSevenAndSkipThePayment)
{
    struct Key {
        void (Checkout::*press)();
        const char* memo;
    };
    const Key keys[] = {{&Checkout::closeUnpaid, "挂单"}, {&Checkout::closeFree, "免单"}};
    for (const Key& key : keys) {
        for (const RightCase& rc : kRightCases) {
            SCOPED_TRACE(std::string(key.memo) + " " + rc.name);
            fx_.state.OperatorId = rc.operatorId;
            fx_.person.supervisorRights.clear();
            devices_.calls.clear();
            const std::size_t savedBefore = fx_.savedBills(Online).size();
            Checkout& c = open(37.2);
            sale_.bill.billDate() = "2000-01-01 00:00:00";
            sale_.bill.cardAmount1() = 10.0;  // left by an earlier tender
            sale_.bill.cashAmount() = 27.2;
            if (rc.operatorId == kCashier)
                fx_.person.supervisors.push_back(rc.supervisor);
            c.setPaid("abc");  // not checked for a bill closed without payment

            (c.*key.press)();

            EXPECT_EQ(fx_.person.supervisorRights, rc.operatorId == kCashier
                                                       ? std::vector<OperatorRight>{OperatorRight::GiveAway}
                                                       : std::vector<OperatorRight>{});
            EXPECT_TRUE(fx_.person.messages.empty()) << "a refusal does nothing further";
            EXPECT_EQ(c.completed(), rc.granted);
            if (!rc.granted) {
                EXPECT_EQ(c.paid(), "abc");
                EXPECT_EQ(sale_.bill.memo().toString(), "");
                EXPECT_EQ(fx_.savedBills(Online).size(), savedBefore);
                EXPECT_TRUE(devices_.calls.empty());
                continue;
            }
            EXPECT_EQ(c.paid(), "0");
            EXPECT_EQ(c.change(), "0");
            RowSet saved = fx_.savedBill(sale_.bill.billNo());
            ASSERT_EQ(saved.size(), 1u);
            EXPECT_EQ(saved.first("Memo").toString(), key.memo);
            EXPECT_DOUBLE_EQ(saved.first("RealAmount").toDouble(), 37.2);
            EXPECT_DOUBLE_EQ(saved.first("Amount").toDouble(), 37.2);
            for (const char* column : {"CashAmount", "CardAmount1", "CardAmount2", "CardAmount3", "ChangeAmount"})
                EXPECT_DOUBLE_EQ(saved.first(column).toDouble(), 0) << column;
            EXPECT_NE(saved.first("BillDate").toString().substr(0, 4), "2000") << "completion time";
            EXPECT_EQ(devices_.calls,
                      (std::vector<std::string>{"display 2 0", "drawer", "print " + sale_.bill.billNo().toString(),
                                                "display 3 0"}));
        }
    }
}

class CheckoutModeTest : public CheckoutTest, public ::testing::WithParamInterface<WorkingMode> {
protected:
    CheckoutModeTest() { fx_.state.NetMode = GetParam(); }
    WorkingMode other() const { return GetParam() == Online ? Offline : Online; }
};

TEST_P(CheckoutModeTest, CompletionSavesTheBillOnTheSideOfTheWorkingMode)
{
    Checkout& c = open(95);
    sale_.bill.billDate() = "2000-01-01 00:00:00";
    c.setPaid("100");

    test::ServerClockSpan span(fx_.side(Online));
    ASSERT_TRUE(c.complete());
    span.end();

    EXPECT_TRUE(fx_.person.messages.empty());
    RowSet bills = fx_.savedBills(GetParam());
    ASSERT_EQ(bills.size(), 1u);
    EXPECT_EQ(bills.first("BillNo").toString(), kFirstNumber);
    EXPECT_DOUBLE_EQ(bills.first("RealAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(bills.first("CashAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(bills.first("ChangeAmount").toDouble(), 5);
    EXPECT_EQ(bills.first("Memo").toString(), "");
    const std::string billDate = bills.first("BillDate").toString();
    if (GetParam() == Offline)
        EXPECT_EQ(billDate, "2024-03-15 10:30:00");
    else
        EXPECT_TRUE(span.holds(billDate));
    RowSet lines = savedLines(GetParam());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.first("BillNo").toString(), kFirstNumber);
    EXPECT_TRUE(fx_.savedBills(other()).empty());
    EXPECT_EQ(devices_.calls, (std::vector<std::string>{"display 2 100", "drawer", std::string("print ") + kFirstNumber,
                                                        "display 3 5"}));
    const CheckoutAmounts shown = c.amounts();
    EXPECT_DOUBLE_EQ(shown.due, 95);
    EXPECT_DOUBLE_EQ(shown.paid, 100);
    EXPECT_DOUBLE_EQ(shown.change, 5);

    EXPECT_TRUE(c.complete()) << "still completed";
    EXPECT_EQ(fx_.savedBills(GetParam()).size(), 1u) << "a completed bill is not saved twice";
    EXPECT_EQ(devices_.calls.size(), 4u);
}

TEST_P(CheckoutModeTest, FailedSaveKeepsTheBillAndASecondEnterTriesAgain)
{
    occupyFirstNumber(GetParam());
    Checkout& c = open(95);
    c.setPaid("100");

    EXPECT_FALSE(c.complete());

    EXPECT_FALSE(c.completed());
    ASSERT_EQ(fx_.person.messages.size(), 2u) << "the save's own message, then the checkout's";
    EXPECT_EQ(fx_.person.messages[1].text, kSaveFailed);
    EXPECT_EQ(fx_.person.messages[1].title, "错误");
    EXPECT_EQ(fx_.person.messages[1].icon, MessageIcon::Error);
    EXPECT_TRUE(devices_.calls.empty());
    EXPECT_EQ(fx_.savedBills(GetParam()).size(), 1u) << "only the earlier bill";
    EXPECT_EQ(sale_.bill.detail.size(), 1u);
    EXPECT_DOUBLE_EQ(sale_.bill.changeAmount().toDouble(), 5);

    ASSERT_TRUE(c.complete());
    EXPECT_EQ(sale_.bill.billNo().toString(), kNumberAfterRoll);
    EXPECT_EQ(fx_.savedBills(GetParam()).size(), 2u);
    EXPECT_EQ(devices_.calls.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Modes, CheckoutModeTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Online" : "Offline"; });

// The connection breaks after the COMMIT went out and the server cannot be asked: the
// sale is complete with the bill waiting in the local file under its number, and
// another Enter writes it nowhere again.
TEST_F(CheckoutTest, SaleWhoseOutcomeTheServerCannotTellIsCompletedOnce)
{
    test::ProxiedServer server(fx_);
    Checkout& c = open(95);
    c.setPaid("100");
    server.proxy.failOn("commit", test::TcpProxy::Fault::Cut, test::TcpProxy::Moment::AfterForwarding);
    server.proxy.refuseNewConnections();

    ASSERT_TRUE(c.complete());
    ASSERT_TRUE(c.complete());

    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_NE(messageTexts()[0].find("无法确认单据是否已保存到服务器"), std::string::npos) << messageTexts()[0];
    EXPECT_EQ(sale_.bill.billNo().toString(), kFirstNumber);
    ASSERT_EQ(fx_.savedBills(Offline).size(), 1u);
    EXPECT_EQ(fx_.savedBills(Offline).first("BillNo").toString(), kFirstNumber);
    EXPECT_EQ(devices_.calls, (std::vector<std::string>{"display 2 100", "drawer", std::string("print ") + kFirstNumber,
                                                        "display 3 5"}));
}

TEST_F(CheckoutTest, AfterAFailedSaveAWriteOffIsStillTakenFromTheOpeningAmount)
{
    fx_.state.OperatorId = kGiveAwayAndWriteOffCashier;
    occupyFirstNumber(Online);
    Checkout& c = open(95.5);
    fx_.person.inputs = {"0.5", "0.3"};
    c.writeOff();
    ASSERT_FALSE(c.complete());

    c.writeOff();

    EXPECT_EQ(c.due(), "95.20  ");
    ASSERT_TRUE(c.complete());
    EXPECT_DOUBLE_EQ(sale_.bill.realAmount().toDouble(), 95.2);
}

TEST_F(CheckoutTest, LeavingAfterAFailedFreeBillTakesTheMarkOff)
{
    fx_.state.OperatorId = kGiveAwayAndWriteOffCashier;
    occupyFirstNumber(Online);
    {
        Checkout& c = open(37.2);
        c.closeFree();
        ASSERT_FALSE(c.completed());
        EXPECT_EQ(sale_.bill.memo().toString(), "免单");
        c.leave();
    }
    EXPECT_EQ(sale_.bill.memo().toString(), "");

    // The next checkout of the same bill is an ordinary one.
    Checkout again(fx_.payment(), sale_, devices_);
    again.setPaid("40");
    ASSERT_TRUE(again.complete());
    RowSet saved = fx_.savedBill(sale_.bill.billNo());
    EXPECT_EQ(saved.first("Memo").toString(), "");
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 37.2);
    EXPECT_NEAR(saved.first("ChangeAmount").toDouble(), 2.8, 1e-9);
}

// A coupon tender whose save failed, then the bill given away: nothing was paid, so no
// coupon number is on the bill and the coupon stays unused.
TEST_F(CheckoutTest, FreeBillAfterAFailedCouponSaveSpendsNoCoupon)
{
    fx_.state.OperatorId = kGiveAwayAndWriteOffCashier;
    fx_.side(Online).execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('T100',100,0)");
    occupyFirstNumber(Online);
    Checkout& c = open(95);
    TicketTender tender(fx_.person, fx_.terminal.db().statements<PaymentStatements>(), 95);
    tender.cardNo = "T100";
    tender.cardNoEnter();
    ASSERT_TRUE(tender.confirm());
    ASSERT_FALSE(c.payByCoupon(tender));

    c.closeFree();

    ASSERT_TRUE(c.completed());
    RowSet saved = fx_.savedBill(sale_.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.first("CardNo").toString(), "");
    EXPECT_DOUBLE_EQ(saved.first("CardAmount2").toDouble(), 0);
    EXPECT_EQ(fx_.side(Online).query("select IsEnd from B_GoodsTicket where TicketNo='T100'").first("IsEnd").toInt(), 0);
}

struct SwitchCase {
    const char* name;
    const char* clientDisplay;
    const char* moneyBox;
    const char* printer;
    bool printFlag;
    std::vector<std::string> calls;  // "print" stands for the receipt of the saved bill
};

TEST_F(CheckoutTest, AfterSaleStepsRunInOrderWhenSwitchedOn)
{
    const SwitchCase cases[] = {
        {"All", "有", "有", "有", true, {"display 2 100", "drawer", "print", "display 3 4.5"}},
        {"PrintingOffByF5", "有", "有", "有", false, {"display 2 100", "drawer", "display 3 4.5"}},
        {"NoDisplay", "无", "有", "有", true, {"drawer", "print"}},
        {"OnlyDisplay", "有", "无", "", true, {"display 2 100", "display 3 4.5"}},
        {"NoDrawer", "有", "", "有", true, {"display 2 100", "print", "display 3 4.5"}},
        {"NoneOfThem", "", "无", "无", true, {}},
    };
    for (const SwitchCase& sc : cases) {
        SCOPED_TRACE(sc.name);
        fx_.settings.setOption("ClientDisplay", sc.clientDisplay);
        fx_.settings.setOption("MoneyBox", sc.moneyBox);
        fx_.settings.setOption("Printer", sc.printer);
        devices_.calls.clear();
        Checkout& c = open(95.5);
        if (!sc.printFlag)
            c.togglePrinting();
        c.setPaid("100");

        ASSERT_TRUE(c.complete());

        std::vector<std::string> expected = sc.calls;
        for (std::string& call : expected)
            if (call == "print")
                call += " " + sale_.bill.billNo().toString();
        EXPECT_EQ(devices_.calls, expected);
        EXPECT_TRUE(fx_.person.messages.empty());
    }
}

TEST_F(CheckoutTest, FailingDeviceAfterTheSaveIsToldAndTheSaleKept)
{
    const struct {
        const char* device;
        const char* message;
        std::size_t shown;  // once for each of its steps: the display shows the paid and the change
    } cases[] = {
        {"drawer", "单据已保存，但钱箱出错：write /dev/lp0: Input/output error", 1},
        {"printer", "单据已保存，但小票打印机出错：write /dev/lp0: Input/output error", 1},
        {"display", "单据已保存，但顾客显示屏出错：write /dev/lp0: Input/output error", 2},
    };
    for (const auto& fc : cases) {
        SCOPED_TRACE(fc.device);
        devices_.failing = fc.device;
        devices_.calls.clear();
        Checkout& c = open(95);
        c.setPaid("100");

        EXPECT_TRUE(c.complete());

        EXPECT_TRUE(c.completed());
        EXPECT_EQ(fx_.savedBill(sale_.bill.billNo()).size(), 1u);
        EXPECT_EQ(messageTexts(), std::vector<std::string>(fc.shown, fc.message));
        ASSERT_FALSE(fx_.person.messages.empty());
        EXPECT_EQ(fx_.person.messages[0].title, "错误");
        EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(devices_.calls.size(), 4u) << "the remaining steps still run";
    }
}

// The text receipt path only; a template print would show up as a failure.
class NoTemplateReport : public ReportEngine {
protected:
    void output(const PreparedReport&) override { ADD_FAILURE() << "template printed"; }
    void showDesigner() override { ADD_FAILURE() << "designer opened"; }
};

TEST_F(CheckoutTest, DeviceStepsReachTheTerminalDevices)
{
    const std::string printerFile = fx_.dir.file("lp0");
    const std::string drawerCommand("\x1b\x70\x00\x32\xfa\r\n", 7);
    fx_.settings.setOption("ClientDisplay", "无");
    fx_.settings.setOption("MoneyBoxConn", "接打印机");
    fx_.settings.setOption("OpenMoneyBox", "27-112-0-50-250");
    fx_.settings.setOption("PrintMode", "整张快速打印");
    fx_.settings.setOption("PrintPort", "LPT1");
    fx_.settings.setOption("PaperSize", "58mm");
    fx_.settings.setOption("PrintBillNo", "是");
    DisplayPort display;
    ProcessLauncher launcher;
    NoTemplateReport report;
    DeviceAfterSale devices({fx_.settings, fx_.person, ReceiptHeader::of(fx_.state), fx_.dir.path()}, display, launcher, report);

    const struct {
        const char* name;
        const char* moneyBox;
        const char* printer;
        std::string lpt1;
        std::vector<std::string> messages;  // empty: the printer port shows what was sent last
    } cases[] = {
        {"DrawerOnThePrinterPort", "有", "无", printerFile, {}},
        {"ReceiptOnThePrinterPort", "无", "有", printerFile, {}},
        {"PrinterPortMissing", "有", "有", fx_.dir.file("no-such-dir/lp0"),
         {"单据已保存，但钱箱出错：不能打开 " + fx_.dir.file("no-such-dir/lp0") + "：No such file or directory",
          "单据已保存，但小票打印机出错：不能打开 " + fx_.dir.file("no-such-dir/lp0") + "：No such file or directory"}},
    };
    for (const auto& dc : cases) {
        SCOPED_TRACE(dc.name);
        fx_.settings.setOption("MoneyBox", dc.moneyBox);
        fx_.settings.setOption("Printer", dc.printer);
        fx_.settings.ini().write(kPortsSection, "LPT1", dc.lpt1);
        test::writeFile(printerFile, "");
        Checkout c(fx_.payment(), fx_.newSale(95), devices);
        c.setPaid("95");

        ASSERT_TRUE(c.complete());

        const std::string billNo = sale_.bill.billNo().toString();
        EXPECT_EQ(fx_.savedBill(billNo).size(), 1u);
        const std::vector<std::string> shown = messageTexts();
        ASSERT_EQ(shown.size(), dc.messages.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].rfind(dc.messages[i], 0), 0u) << shown[i];
        if (!dc.messages.empty())
            continue;
        const std::string sent = test::readFile(printerFile);
        if (std::string(dc.moneyBox) == "有")
            EXPECT_EQ(sent, drawerCommand);
        else
            EXPECT_NE(sent.find(billNo), std::string::npos) << "the receipt of the saved bill";
    }
}

}  // namespace
}  // namespace pos
