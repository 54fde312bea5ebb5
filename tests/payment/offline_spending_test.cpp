#include "payment/checkout.h"
#include "payment/payment_statements.h"
#include "payment/ticket_tender.h"
#include "payment/vip_card_payment.h"

#include "config/terminal.h"
#include "members/member_card.h"
#include "storage/bill_saving.h"
#include "payment/checkout_terminal.h"
#include "payment/recording_after_sale.h"
#include "support/member_cards.h"

#include <gtest/gtest.h>

#include <optional>

namespace pos {
namespace {

// Offline the local file's balances and coupon flags are those of the last download:
// what the bills waiting for upload spent must be taken off before anything is offered.
class OfflineSpendingTest : public ::testing::Test {
protected:
    OfflineSpendingTest()
    {
        fx_.state.NetMode = Offline;
        fx_.side(Offline).execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('T100',100,0),('T10',10,0)");
        test::addMemberCard(fx_.side(Offline), {.cardNo = "S1", .cardType = "储值卡", .amount = 200});
    }
    // A bill sold offline earlier, still waiting for upload.
    void waitingBill(const char* billNo, const char* insiderCode, double cardAmount, const char* couponNumbers)
    {
        fx_.side(Offline).execute("insert into PosBill(BillNo,InsiderCode,CardAmount3,CardNo) values($1,$2,$3,$4)",
                                  {billNo, insiderCode, cardAmount, couponNumbers});
    }
    TicketTender coupon(double due) { return TicketTender(fx_.person, fx_.terminal.db().statements<PaymentStatements>(), due); }
    std::vector<std::string> messages() const { return fx_.person.messageTexts(); }

    test::CheckoutTerminal fx_;
    test::RecordingAfterSale devices_;
};

// A 200 card pays two offline bills of 150: the second is offered and allowed only the
// 50 the first left, and the member dialog shows the same.
TEST_F(OfflineSpendingTest, TwoOfflineBillsOnOneCardShareItsBalance)
{
    VIPCardPayment first(fx_.payment(), fx_.newCardSale("S1", 150), devices_);
    EXPECT_EQ(first.payAmount, "150");
    ASSERT_TRUE(first.confirm());
    EXPECT_EQ(ReadMemberCard(fx_.terminal.db().statements<MemberStatements>(), "S1").value().amount, 50);

    VIPCardPayment second(fx_.payment(), fx_.newCardSale("S1", 150), devices_);
    EXPECT_EQ(second.balance(), "50");
    EXPECT_EQ(second.payAmount, "50");
    EXPECT_EQ(second.cashAmount, "100");
    second.payAmount = "60";
    EXPECT_EQ(second.payAmountEnter(), TenderFocus::PayAmount);
    EXPECT_EQ(messages(), std::vector<std::string>{"卡内余额不够！"});
    second.payAmount = "60";
    second.cashAmount = "90";
    EXPECT_FALSE(second.confirm()) << "typed without Enter";
    second.payAmount = "50";
    second.cashAmount = "100";
    ASSERT_TRUE(second.confirm());
    EXPECT_DOUBLE_EQ(fx_.sale.member.VIPCardBalance, 0);

    const RowSet saved = fx_.savedBills(Offline);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_DOUBLE_EQ(saved.at(0, "CardAmount3").toDouble() + saved.at(1, "CardAmount3").toDouble(), 200);
}

// A card below zero (online after such an upload, or offline through waiting bills)
// still goes on a bill: it pays nothing and other tenders pay the whole amount.
TEST_F(OfflineSpendingTest, CardBelowZeroTakesABillPaidByCash)
{
    test::addMemberCard(fx_.side(Online), {.cardNo = "S1", .cardType = "储值卡", .amount = -100});
    waitingBill("07202403150001", "S1", 300, "");
    for (WorkingMode mode : {Online, Offline}) {
        SCOPED_TRACE(mode);
        fx_.state.NetMode = mode;
        VIPCardPayment payment(fx_.payment(), fx_.newCardSale("S1", 30), devices_);
        EXPECT_EQ(payment.balance(), "-100");
        EXPECT_EQ(payment.payAmount, "0");
        EXPECT_EQ(payment.cashAmount, "30");
        payment.payAmount = "10";
        EXPECT_EQ(payment.payAmountEnter(), TenderFocus::PayAmount);
        EXPECT_EQ(messages(), std::vector<std::string>{"卡内余额不够！"});
        payment.payAmount = "0";
        ASSERT_TRUE(payment.confirm()) << (messages().empty() ? "" : messages().back());
        const RowSet saved = fx_.savedBill(fx_.sale.bill.billNo());
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_DOUBLE_EQ(saved.first("CardAmount3").toDouble(), 0);
        EXPECT_DOUBLE_EQ(saved.first("CashAmount").toDouble(), 30);
    }
    EXPECT_DOUBLE_EQ(fx_.side(Online).query("select Amount from B_VIPCards").first("Amount").toDouble(), -100);
}

// A coupon named in a waiting bill's CardNo, as the cashier typed the list, is used.
TEST_F(OfflineSpendingTest, CouponOfAWaitingBillIsUsed)
{
    Checkout checkout(fx_.payment(), fx_.newSale(95), devices_);
    TicketTender first = coupon(95);
    first.cardNo = "T100";
    ASSERT_EQ(first.cardNoEnter(), TenderFocus::OK);
    ASSERT_TRUE(first.confirm());
    ASSERT_TRUE(checkout.payByCoupon(first));

    TicketTender second = coupon(95);
    second.cardNo = "T100";
    EXPECT_EQ(second.cardNoEnter(), TenderFocus::CardNo);
    EXPECT_EQ(messages().back(), "该购物券已消费, 不能再次消费！");

    fx_.side(Offline).execute("delete from PosBill");
    const struct {
        const char* waitingList;
        bool used;
    } cases[] = {{" T10 ，T7", true}, {"T7,T10,", true}, {"T100", false}, {"T1,0", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waitingList);
        fx_.side(Offline).execute("delete from PosBill");
        waitingBill("07202403150009", "", 0, c.waitingList);
        fx_.person.messages.clear();
        TicketTender tender = coupon(95);
        tender.cardNo = "T10";
        EXPECT_EQ(tender.cardNoEnter(), c.used ? TenderFocus::CardNo : TenderFocus::CashAmount);
        EXPECT_EQ(messages().size(), c.used ? 1u : 0u);
    }
}

}  // namespace
}  // namespace pos
