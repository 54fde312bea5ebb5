#include "payment/checkout.h"
#include "payment/credit_card_tender.h"
#include "payment/payment_statements.h"
#include "payment/ticket_tender.h"
#include "payment/vip_card_payment.h"

#include "config/terminal.h"
#include "storage/bill_saving.h"
#include "payment/checkout_terminal.h"
#include "payment/recording_after_sale.h"
#include "pricing/bill_arithmetic.h"
#include "support/goods_line.h"
#include "support/member_cards.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>

namespace pos {
namespace {

class TenderTest : public ::testing::Test {
protected:
    TenderTest()
    {
        fx_.side(Online).execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values"
                                 "('T100',100,0),('T50',50,0),('USED',30,1)");
        test::addMemberCard(fx_.side(Online), {.cardNo = "S1",
                                               .cardType = "储值卡",
                                               .discount = 95,
                                               .amount = 200,
                                               .totalAmount = 500,
                                               .usedCount = 10});
        test::addMemberCard(fx_.side(Online), {.cardNo = "S2", .cardType = "储值卡", .amount = 60});
    }
    Checkout& open(double amount)
    {
        checkout_.emplace(fx_.payment(), fx_.newSale(amount), devices_);
        return *checkout_;
    }
    TicketTender coupon(double due) { return TicketTender(fx_.person, fx_.terminal.db().statements<PaymentStatements>(), due); }
    bool isUsed(const char* ticketNo)
    {
        return fx_.side(Online).query("select IsEnd from B_GoodsTicket where TicketNo=$1", {ticketNo}).first("IsEnd")
                   .toInt()
            == 1;
    }
    double balance(const char* cardNo)
    {
        return fx_.side(Online).query("select Amount from B_VIPCards where CardNo=$1", {cardNo}).first("Amount")
            .toDouble();
    }
    // The sale of these line amounts, carrying the stored-value card.
    Sale& cardSaleOfLines(const char* cardNo, const std::vector<double>& amounts)
    {
        Bill& b = fx_.newCardSale(cardNo, amounts.front()).bill;
        for (std::size_t i = 1; i < amounts.size(); ++i)
            test::appendGoodsLine(b, 101, 1.0, amounts[i]);
        ComputeBillTotals(b, fx_.state, fx_.sale.totals);
        return fx_.sale;
    }
    std::vector<std::string> messages() const { return fx_.person.messageTexts(); }

    test::CheckoutTerminal fx_;
    test::RecordingAfterSale devices_;
    std::optional<Checkout> checkout_;
};

TEST(TenderBoxes, TakeDigitsPointAndMinusOnlyAndCountEmptyAsZero)
{
    for (char c : std::string("0123456789.-"))
        EXPECT_TRUE(amountBoxAccepts(c)) << c;
    for (char c : std::string("a+*/ ,e"))
        EXPECT_FALSE(amountBoxAccepts(c)) << c;
    std::string box = "  ";
    emptyCountsAsZero(box);
    EXPECT_EQ(box, "0");
}

struct CardCase {
    const char* name;
    const char* card;
    const char* cash;  // nullptr: only Enter in the card amount
    const char* message;
    TenderFocus focus;
};

TEST_F(TenderTest, BankCardAmountsAreCheckedOnEnterAndAgainOnConfirmation)
{
    const CardCase cases[] = {
        {"CardFifty", "50", nullptr, nullptr, TenderFocus::CashAmount},
        {"CardAboveDue", "120", nullptr, "支付金额不能大于应收金额！", TenderFocus::PayAmount},
        {"NegativeCard", "-5", nullptr, "支付金额不能小于零！", TenderFocus::PayAmount},
        {"EmptyCardCountsAsZero", "", "95", nullptr, TenderFocus::OK},
        {"CashShort", "50", "40", "付款金额不足！", TenderFocus::PayAmount},
        {"OverpaidByHundred", "50", "145", "付款金额太大！", TenderFocus::PayAmount},
        {"CashFifty", "50", "50", nullptr, TenderFocus::OK},
        {"NotANumber", "5.5.5", nullptr, "输入的金额不是数值！", TenderFocus::PayAmount},
    };
    for (const CardCase& c : cases) {
        SCOPED_TRACE(c.name);
        fx_.person.messages.clear();
        CreditCardTender tender(fx_.person, 95);
        EXPECT_EQ(tender.payAmount, "95");
        EXPECT_EQ(tender.cashAmount, "0");
        tender.payAmount = c.card;
        TenderFocus focus = tender.payAmountEnter();
        if (c.cash && focus == TenderFocus::CashAmount) {
            tender.cashAmount = c.cash;
            focus = tender.cashAmountEnter();
        } else if (c.cash) {
            ADD_FAILURE() << "the cash box was not reached";
        }
        EXPECT_EQ(focus, c.focus);
        EXPECT_EQ(messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(tender.confirm(), c.message == nullptr);
    }
    CreditCardTender fifty(fx_.person, 95);
    fifty.payAmount = "50";
    ASSERT_EQ(fifty.payAmountEnter(), TenderFocus::CashAmount);
    EXPECT_EQ(fifty.cashAmount, "45");

    // Typed without Enter: the confirmation checks what the boxes hold.
    fx_.person.messages.clear();
    CreditCardTender typed(fx_.person, 95);
    typed.payAmount = "120";
    EXPECT_FALSE(typed.confirm());
    EXPECT_EQ(messages(), std::vector<std::string>{"支付金额不能大于应收金额！"});
}

// Amounts due that are sums of line amounts none of which binary holds exactly; the last
// one is the amount due as the checkout hands it on, already to the cent.
struct SumCase {
    const char* name;
    std::vector<double> lines;
    const char* due;   // as the tender shows it
    const char* part;  // typed as the first tender's amount
    const char* rest;  // proposed for the cash
};
const SumCase kSums[] = {
    {"TenTenAndTwentyTwenty", {10.10, 20.20}, "30.3", "10.1", "20.2"},
    {"TenthAndTwoTenths", {0.10, 0.20}, "0.3", "0.1", "0.2"},
    {"ThreeAtNineteenNinetyNine", {19.99, 19.99, 19.99}, "59.97", "9.99", "49.98"},
    {"RestOfOneCent", {1.10, 2.20}, "3.3", "3.29", "0.01"},
    {"DueToTheCent", {30.30}, "30.3", "10.1", "20.2"},
};

double sumOf(const std::vector<double>& lines) { return std::accumulate(lines.begin(), lines.end(), 0.0); }

TEST_F(TenderTest, BankCardAndCouponTakeTheAmountDueInCents)
{
    for (const SumCase& c : kSums) {
        SCOPED_TRACE(c.name);
        fx_.person.messages.clear();
        CreditCardTender whole(fx_.person, sumOf(c.lines));
        EXPECT_EQ(whole.payAmount, c.due);
        EXPECT_EQ(whole.payAmountEnter(), TenderFocus::CashAmount);
        EXPECT_EQ(whole.cashAmount, "0");
        EXPECT_EQ(whole.cashAmountEnter(), TenderFocus::OK);
        EXPECT_TRUE(whole.confirm());

        CreditCardTender split(fx_.person, sumOf(c.lines));
        split.payAmount = c.part;
        EXPECT_EQ(split.payAmountEnter(), TenderFocus::CashAmount);
        EXPECT_EQ(split.cashAmount, c.rest);
        EXPECT_EQ(split.cashAmountEnter(), TenderFocus::OK);
        EXPECT_TRUE(split.confirm());

        TicketTender bare = coupon(sumOf(c.lines));
        bare.cardNo = "0";
        bare.cardNoEnter();
        bare.payAmount = c.part;
        EXPECT_EQ(bare.payAmountEnter(), TenderFocus::CashAmount);
        EXPECT_EQ(bare.cashAmount, c.rest);
        EXPECT_EQ(bare.cashAmountEnter(), TenderFocus::OK);
        EXPECT_TRUE(bare.confirm());
        EXPECT_EQ(bare.overpayment(), 0);
        EXPECT_EQ(messages(), std::vector<std::string>{});
    }
}

TEST_F(TenderTest, StoredValuePaymentTakesTheAmountDueInCents)
{
    int n = 0;
    for (const SumCase& c : kSums) {
        SCOPED_TRACE(c.name);
        fx_.person.messages.clear();
        const std::string exact = "E" + std::to_string(++n), partly = "P" + std::to_string(n);
        const double due = std::stod(c.due);
        test::addMemberCard(fx_.side(Online), {.cardNo = exact, .cardType = "储值卡", .amount = due});
        test::addMemberCard(fx_.side(Online), {.cardNo = partly, .cardType = "储值卡", .amount = std::stod(c.part)});

        // A balance of exactly the amount due pays it all.
        VIPCardPayment all(fx_.payment(), cardSaleOfLines(exact.c_str(), c.lines), devices_);
        EXPECT_EQ(all.chargeAmount(), c.due);
        EXPECT_EQ(all.payAmount, c.due);
        EXPECT_EQ(all.cashAmount, "0");
        ASSERT_TRUE(all.confirm());
        RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
        EXPECT_DOUBLE_EQ(saved.first("CardAmount3").toDouble(), due);
        EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 0);
        EXPECT_DOUBLE_EQ(balance(exact.c_str()), 0);

        // A smaller balance leaves the rest to the cash, to the cent.
        VIPCardPayment part(fx_.payment(), cardSaleOfLines(partly.c_str(), c.lines), devices_);
        EXPECT_EQ(part.payAmount, c.part);
        EXPECT_EQ(part.cashAmount, c.rest);
        EXPECT_EQ(part.payAmountEnter(), TenderFocus::CashAmount);
        EXPECT_EQ(part.cashAmount, c.rest);
        EXPECT_EQ(part.cashAmountEnter(), TenderFocus::OK);
        ASSERT_TRUE(part.confirm());
        saved = fx_.savedBill(fx_.sale.bill.billNo());
        EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), std::stod(c.rest));
        EXPECT_EQ(messages(), std::vector<std::string>{});
    }
}

TEST_F(TenderTest, BankCardPaymentIsSavedWithCardAndCashAmounts)
{
    Checkout& c = open(95);
    CreditCardTender tender(fx_.person, 95);
    tender.payAmount = "50";
    tender.cashAmount = "50";
    ASSERT_TRUE(tender.confirm());
    ASSERT_TRUE(c.payByCard(tender));
    EXPECT_EQ(c.paid(), "100");
    EXPECT_EQ(c.change(), "5.00   ");
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount1").toDouble(), 50);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 45);
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 5);
}

TEST_F(TenderTest, CouponIsReadByNumberAndUnknownOrUsedOnesPayNothing)
{
    struct {
        const char* number;
        const char* message;
        const char* amount;
        const char* cash;
        TenderFocus focus;
    } cases[] = {
        {"T50", nullptr, "50", "45", TenderFocus::CashAmount},
        {"T100", nullptr, "100", "0", TenderFocus::OK},
        {"NONE", "在数据库中未找到该购物券！", "0", "0", TenderFocus::CardNo},
        {"USED", "该购物券已消费, 不能再次消费！", "0", "0", TenderFocus::CardNo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        fx_.person.messages.clear();
        TicketTender tender = coupon(95);
        tender.cardNo = c.number;
        EXPECT_EQ(tender.cardNoEnter(), c.focus);
        EXPECT_FALSE(tender.payAmountEnabled());
        EXPECT_EQ(tender.payAmount, c.amount);
        EXPECT_EQ(tender.cashAmount, c.cash);
        EXPECT_EQ(messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        if (c.message) {
            EXPECT_EQ(fx_.person.messages[0].title, "");
            // The cash must then cover the whole amount; the refused coupon is not booked.
            tender.cashAmount = "95";
            EXPECT_EQ(tender.cashAmountEnter(), TenderFocus::OK);
            EXPECT_TRUE(tender.confirm());
            EXPECT_EQ(tender.billCardNo(), "");
        }
    }
}

TEST_F(TenderTest, BareAmountAndChangeStyles)
{
    TicketTender bare = coupon(95);
    bare.cardNo = "0";
    EXPECT_EQ(bare.cardNoEnter(), TenderFocus::PayAmount);
    EXPECT_TRUE(bare.payAmountEnabled());
    bare.payAmount = "30";
    EXPECT_EQ(bare.payAmountEnter(), TenderFocus::CashAmount);
    EXPECT_EQ(bare.cashAmount, "65");
    bare.cashAmount = "60";
    EXPECT_EQ(bare.cashAmountEnter(), TenderFocus::PayAmount);
    EXPECT_EQ(messages(), std::vector<std::string>{"输入金额小于应收金额！"});
    bare.cashAmount = "200";
    bare.cashAmountEnter();
    EXPECT_EQ(messages().back(), "输入金额太大！");
    bare.cashAmount = "65";
    EXPECT_TRUE(bare.confirm());
    EXPECT_EQ(bare.billCardNo(), "0");

    TicketTender star = coupon(95);
    std::vector<int> styles;
    for (int i = 0; i < 3; ++i) {
        star.switchChangeStyle();
        styles.push_back(star.changeStyle);
    }
    EXPECT_EQ(styles, (std::vector<int>{ChangeInCash, NoChange, ChangeInCash}));
    star.changeStyle = ChangeAsCoupon;
    star.switchChangeStyle();
    EXPECT_EQ(star.changeStyle, ChangeInCash);
}

TEST_F(TenderTest, CouponRefusesNegativeCashAndChangeBeyondTheCoupon)
{
    struct {
        const char* name;
        double due;
        const char* coupon;
        const char* cash;
        int style;
        const char* message;
    } cases[] = {
        {"NegativeCashWithoutChange", 31, "100", "-69", NoChange, "补现金金额不能小于零！"},
        {"NegativeCashWithCashChange", 95, "100", "-1", ChangeInCash, "补现金金额不能小于零！"},
        {"ChangeAsCouponBeyondTheCoupon", 95, "10", "180", ChangeAsCoupon, "找零金额不能大于购物券金额！请减少补现金金额。"},
        {"NoChangeBeyondTheCoupon", 95, "10", "180", NoChange, "找零金额不能大于购物券金额！请减少补现金金额。"},
        {"CashChangeBeyondTheCoupon", 95, "10", "180", ChangeInCash, "找零金额不能大于购物券金额！请减少补现金金额。"},
        {"ChangeOfTheWholeCoupon", 95, "10", "95", ChangeAsCoupon, nullptr},
        {"ChangeWithinTheCoupon", 95, "100", "0", ChangeAsCoupon, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fx_.person.messages.clear();
        TicketTender tender = coupon(c.due);
        tender.cardNo = "0";
        tender.cardNoEnter();
        tender.payAmount = c.coupon;
        tender.payAmountEnter();
        tender.cashAmount = c.cash;
        tender.changeStyle = c.style;
        EXPECT_EQ(tender.cashAmountEnter(), c.message ? TenderFocus::PayAmount : TenderFocus::OK);
        EXPECT_EQ(tender.confirm(), c.message == nullptr);
        const std::vector<std::string> expected = c.message ? std::vector<std::string>(2, c.message)
                                                            : std::vector<std::string>{};
        EXPECT_EQ(messages(), expected);
        if (!c.message)
            EXPECT_GE(tender.couponPaid(), 0);
    }
}

TEST_F(TenderTest, CouponOfHundredForNinetyFiveInEachChangeStyle)
{
    struct {
        int style;
        double cardAmount2, cashAmount, change;
        const char* changeShown;
    } cases[] = {
        {NoChange, 100, 0, 0, "0.00   "},
        {ChangeAsCoupon, 95, 0, 0, "0.00   "},  // the overpayment went back as a coupon
        // The cash change is paid out of the till: recorded, and the till's cash falls by it.
        {ChangeInCash, 100, -5, 5, "5.00   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        fx_.side(Online).execute("update B_GoodsTicket set IsEnd=0 where TicketNo='T100'");
        Checkout& checkout = open(95);
        TicketTender tender = coupon(95);
        tender.cardNo = "T100";
        tender.cardNoEnter();
        tender.changeStyle = c.style;
        ASSERT_TRUE(tender.confirm());
        ASSERT_TRUE(checkout.payByCoupon(tender));
        EXPECT_EQ(checkout.paid(), "100");
        EXPECT_EQ(checkout.change(), c.changeShown);
        RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_DOUBLE_EQ(saved.first("CardAmount2").toDouble(), c.cardAmount2);
        EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), c.cashAmount);
        EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), c.change);
        EXPECT_EQ(saved.first("CardNo").toString(), "T100");
        EXPECT_TRUE(isUsed("T100"));
    }
}

// Another terminal spends the coupon between its reading and the save.
TEST_F(TenderTest, CouponUsedElsewhereSinceItWasReadIsRefusedAndAnotherTenderTaken)
{
    Checkout& c = open(95);
    TicketTender tender = coupon(95);
    tender.cardNo = "T100";
    tender.cardNoEnter();
    ASSERT_TRUE(tender.confirm());
    fx_.side(Online).execute("update B_GoodsTicket set IsEnd=1 where TicketNo='T100'");

    EXPECT_FALSE(c.payByCoupon(tender));
    EXPECT_EQ(messages(), (std::vector<std::string>{"购物券T100已在其他收银台消费，不能再次消费！请改用其他方式付款。",
                                                    "保存数据失败！"}));
    EXPECT_TRUE(fx_.savedBills(Online).empty());
    EXPECT_TRUE(devices_.calls.empty());

    c.setPaid("100");  // cash instead
    ASSERT_TRUE(c.complete());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    EXPECT_DOUBLE_EQ(saved.first("CardAmount2").toDouble(), 0);
    EXPECT_EQ(saved.first("CardNo").toString(), "");
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 5);
}

TEST_F(TenderTest, StoredValuePaymentProposesTheSplitAndChecksTheCardAmount)
{
    VIPCardPayment rich(fx_.payment(), fx_.newCardSale("S1", 95), devices_);
    EXPECT_EQ(rich.chargeAmount(), "95");
    EXPECT_EQ(rich.cardNo(), "S1");
    EXPECT_EQ(rich.discount(), "95");
    EXPECT_EQ(rich.balance(), "200");
    EXPECT_EQ(rich.totalAmount(), "500");
    EXPECT_EQ(rich.payAmount, "95");
    EXPECT_EQ(rich.cashAmount, "0.00");

    VIPCardPayment poor(fx_.payment(), fx_.newCardSale("S2", 95), devices_);
    EXPECT_EQ(poor.payAmount, "60");
    EXPECT_EQ(poor.cashAmount, "35");
    struct {
        const char* card;
        const char* cash;
        const char* message;
    } cases[] = {
        {"70", nullptr, "卡内余额不够！"},
        {"-1", nullptr, "支付金额不能小于零！"},
        {"50", "40", "输入金额太小！"},
        {"60", "150", "输入金额太大！"},
        {"50", "45", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.card);
        fx_.person.messages.clear();
        poor.payAmount = c.card;
        TenderFocus focus = poor.payAmountEnter();
        if (c.cash) {
            ASSERT_EQ(focus, TenderFocus::CashAmount);
            poor.cashAmount = c.cash;
            focus = poor.cashAmountEnter();
        }
        EXPECT_EQ(focus, c.message ? TenderFocus::PayAmount : TenderFocus::OK);
        EXPECT_EQ(messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    VIPCardPayment above(fx_.payment(), fx_.newCardSale("S1", 95), devices_);
    above.payAmount = "96";
    EXPECT_EQ(above.payAmountEnter(), TenderFocus::PayAmount);
    EXPECT_EQ(messages().back(), "支付金额不能大于应收金额！");
}

TEST_F(TenderTest, StoredValuePaymentSavesAndTakesTheCardAmountOffTheBalance)
{
    fx_.sale.member.VIPCardBalance = 0;
    VIPCardPayment payment(fx_.payment(), fx_.newCardSale("S2", 95), devices_);
    // Typed without Enter: the confirmation never overdraws the card.
    payment.payAmount = "70";
    payment.cashAmount = "25";
    EXPECT_FALSE(payment.confirm());
    EXPECT_EQ(messages(), std::vector<std::string>{"卡内余额不够！"});
    payment.payAmount = "60";
    payment.cashAmount = "30";
    EXPECT_FALSE(payment.confirm());
    EXPECT_EQ(messages().back(), "输入金额小于应收金额！");
    EXPECT_EQ(fx_.person.messages.back().title, "");
    EXPECT_TRUE(fx_.savedBills(Online).empty());

    payment.cashAmount = "40";
    ASSERT_TRUE(payment.confirm());
    EXPECT_TRUE(payment.completed());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount3").toDouble(), 60);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 35);
    EXPECT_DOUBLE_EQ(balance("S2"), 0);
    EXPECT_DOUBLE_EQ(fx_.sale.member.VIPCardBalance, 0);
    const std::string billNo = fx_.sale.bill.billNo().toString();
    EXPECT_EQ(devices_.calls, (std::vector<std::string>{"display 2 95", "drawer", "print " + billNo, "display 3 0"}));

    VIPCardPayment rich(fx_.payment(), fx_.newCardSale("S1", 95), devices_);
    ASSERT_TRUE(rich.confirm());
    EXPECT_DOUBLE_EQ(balance("S1"), 105);
    EXPECT_DOUBLE_EQ(fx_.sale.member.VIPCardBalance, 105);
}

TEST_F(TenderTest, StoredValuePaymentReadsAndChargesOnlyTheCardOnTheBill)
{
    fx_.newCardSale("S2", 95);
    fx_.sale.member.VIPCardNo = "S1";  // a number the bill does not carry is never charged
    VIPCardPayment payment(fx_.payment(), fx_.sale, devices_);
    EXPECT_EQ(payment.cardNo(), "S2");
    EXPECT_EQ(payment.balance(), "60");
    ASSERT_TRUE(payment.confirm());
    EXPECT_DOUBLE_EQ(balance("S2"), 0);
    EXPECT_DOUBLE_EQ(balance("S1"), 200);

    fx_.newBill(95);
    fx_.sale.member.VIPCardNo = "S1";
    fx_.sale.member.VIPCardKind = MemberCardKind::StoredValue;
    VIPCardPayment without(fx_.payment(), fx_.sale, devices_);
    EXPECT_EQ(without.cardNo(), "");
    EXPECT_EQ(without.balance(), "0");
    EXPECT_EQ(without.payAmount, "0");
    EXPECT_EQ(without.cashAmount, "95");
    without.payAmount = "10";
    EXPECT_EQ(without.payAmountEnter(), TenderFocus::PayAmount);
    without.cashAmount = "85";
    EXPECT_FALSE(without.confirm());
    EXPECT_EQ(messages(), (std::vector<std::string>{"此单没有会员卡，不能用储值卡支付！",
                                                    "此单没有会员卡，不能用储值卡支付！"}));
    EXPECT_FALSE(without.completed());
    EXPECT_EQ(fx_.savedBills(Online).size(), 1u);  // only the first bill
    EXPECT_DOUBLE_EQ(balance("S1"), 200);
}

// Another terminal spent from the card since the dialog read its balance.
TEST_F(TenderTest, StoredValuePaymentBeyondTheServerBalanceIsRefused)
{
    VIPCardPayment payment(fx_.payment(), fx_.newCardSale("S1", 95), devices_);
    fx_.side(Online).execute("update B_VIPCards set Amount=50 where CardNo='S1'");
    EXPECT_FALSE(payment.confirm());
    EXPECT_FALSE(payment.completed());
    EXPECT_EQ(messages(), (std::vector<std::string>{"储值卡S1的卡内余额不够支付本单！余额已在其他收银台变动，请重新结算。",
                                                    "保存数据失败！"}));
    EXPECT_DOUBLE_EQ(balance("S1"), 50);
    EXPECT_TRUE(fx_.savedBills(Online).empty());
    EXPECT_TRUE(devices_.calls.empty());

    // The card part that was refused is not left on the bill for the cash checkout.
    Checkout cash(fx_.payment(), fx_.sale, devices_);
    cash.setPaid("100");
    ASSERT_TRUE(cash.complete());
    RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_DOUBLE_EQ(saved.first("CardAmount3").toDouble(), 0);
    EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 95);
    EXPECT_DOUBLE_EQ(saved.first("ChangeAmount").toDouble(), 5);
    EXPECT_DOUBLE_EQ(balance("S1"), 50);
}

}  // namespace
}  // namespace pos
