#include "storage/offline_bill_upload.h"

#include "storage/bill_numbering.h"
#include "storage/bill_saving.h"
#include "support/cash_payment.h"
#include "support/goods_line.h"
#include "support/member_cards.h"
#include "support/proxied_server.h"
#include "support/saving_terminal.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <thread>

namespace pos {
namespace {

using test::CardBalances;
using test::expectCard;
using test::TcpProxy;

constexpr const char* kWait = "正在上传数据,请稍候...";
constexpr const char* kFirst = "07202403150001";  // numbers the fixed clock's day gives
constexpr const char* kSecond = "07202403150002";
constexpr const char* kThird = "07202403150003";
const std::string kFollowUp = "断网期间的单据已照常上传入账，但以下问题请通知后台跟进：";

std::string collision(const std::string& billNo)
{
    return "服务器上已有另一张单号为" + billNo + "的单据！本机的这张单据没有上传，仍保存在本机，请与系统管理员联系。";
}

// A terminal online whose local file receives bills sold offline: 3 × goods 101 at 10
// and 1 × goods 102 at 40 on promotion, 70 in all, at store 2. The server has their
// stock (10 and 5) and an ordinary card V1 and a stored-value card S1.
class UploadFixture : public test::SavingTerminal {
public:
    UploadFixture()
    {
        state.PointRate = 1;
        server().execute("insert into D_Stock(StoreId,GoodsId,Quantity) values(2,101,10),(2,102,5)");
        test::addMemberCard(server(), {.cardNo = "V1", .cardType = "普通卡", .totalAmount = 500, .usedCount = 10});
        test::addMemberCard(server(),
                            {.cardNo = "S1", .cardType = "储值卡", .amount = 200, .totalAmount = 500, .usedCount = 10});
    }

    Bill soldBill(const std::function<void(Bill&)>& adjust = {})
    {
        Bill b = Bill::open(local());
        b.master.append();
        test::appendGoodsLine(b, 101, 3, 10);
        test::appendGoodsLine(b, 102, 1, 40).memo() = "促销";
        test::payInCash(b, test::kStoreId, test::kCashier, 70);
        if (adjust)
            adjust(b);
        return b;
    }

    Bill sellOffline(const std::function<void(Bill&)>& adjust = {})
    {
        Bill b = soldBill(adjust);
        state.NetMode = Offline;
        EXPECT_EQ(save(b, false), BillSavedLocally);
        state.NetMode = Online;
        return b;
    }

    int sellOnline(Bill& b) { return save(b, false); }

    // The bill reaches the server as a save whose local delete got lost leaves it.
    void alreadyOnServer(Bill b) { EXPECT_EQ(save(b, true), BillSavedOnServer); }

    void upload() { UploadOfflineBills(dm, state, person, clock, log); }

    // The errors written to the log by the upload, which names itself in each.
    std::vector<std::string> loggedErrors() const
    {
        std::vector<std::string> errors;
        for (const ErrorLogEntry& entry : log.entries) {
            EXPECT_EQ(entry.operation, "上传单据");
            errors.push_back(entry.error);
        }
        return errors;
    }

    std::set<std::string> localBills()
    {
        std::set<std::string> numbers;
        RowSet bills = local().query("select BillNo from PosBill union select BillNo from PosDetail");
        for (std::size_t r = 0; r < bills.size(); ++r)
            numbers.insert(bills.at(r, "BillNo").toString());
        return numbers;
    }
    // Rows of the number on the server: bills, lines.
    std::pair<std::int64_t, std::int64_t> onServer(const std::string& billNo)
    {
        return {server().query("select count(*) as n from PosBill where BillNo=$1", {billNo}).first("n").toInt(),
                server().query("select count(*) as n from PosDetail where BillNo=$1", {billNo}).first("n").toInt()};
    }
};

// The second bill reached the server before (its local delete was lost); the third's
// number belongs to another terminal's bill there, after this terminal's counter went
// back. Only the first is sent; the third stays and is told about at every upload.
TEST(OfflineBillUpload, SendsWhatTheServerLacksAndKeepsABillWhoseNumberIsTaken)
{
    UploadFixture f;
    const std::string numbers[] = {f.sellOffline().billNo().toString(), f.sellOffline().billNo().toString(),
                                   f.sellOffline().billNo().toString()};
    ASSERT_EQ(numbers[0], kFirst);
    ASSERT_EQ(numbers[2], kThird);
    f.alreadyOnServer(Bill::of(f.local().query("select * from PosBill where BillNo=$1", {kSecond}),
                               f.local().query("select d.*, g.Code, g.BarCode, g.Name, g.Unit1 from PosDetail d "
                                               "left join B_Goods g on g.GoodsId=d.GoodsId where d.BillNo=$1",
                                               {kSecond})));
    f.server().execute("insert into PosBill(BillNo,BillDate,MachineId,RealAmount) "
                       "values($1,'2024-03-15 10:29:41',9,70)", {kThird});

    f.upload();

    EXPECT_EQ(f.person.waits, std::vector<std::string>{kWait});
    EXPECT_EQ(f.person.openWaits, 0);
    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{collision(kThird)});
    EXPECT_EQ(f.localBills(), std::set<std::string>{kThird});
    EXPECT_EQ(f.onServer(kFirst), (std::pair<std::int64_t, std::int64_t>{1, 2}));
    EXPECT_EQ(f.onServer(kSecond), (std::pair<std::int64_t, std::int64_t>{1, 2}));
    EXPECT_EQ(f.onServer(kThird), (std::pair<std::int64_t, std::int64_t>{1, 0}));
    EXPECT_DOUBLE_EQ(f.stock(101), 4) << "two bills booked once each";
    EXPECT_DOUBLE_EQ(f.stock(102), 3);

    f.upload();
    EXPECT_EQ(f.person.messageTexts(), (std::vector<std::string>{collision(kThird), collision(kThird)}));
    EXPECT_EQ(f.localBills(), std::set<std::string>{kThird});
    EXPECT_DOUBLE_EQ(f.stock(101), 4);
}

struct ServerCopyCase {
    const char* name;
    const char* change;  // applied to the server's copy of the bill; "" keeps it the same
    bool deletedUnsent;
};

const ServerCopyCase kServerCopies[] = {
    {"SameBill", "", true},
    {"OtherTerminal", "update PosBill set MachineId=6 where BillNo=$1", false},
    {"OtherTime", "update PosBill set BillDate=BillDate+interval '1 second' where BillNo=$1", false},
    {"OtherAmount", "update PosBill set RealAmount=RealAmount+0.01 where BillNo=$1", false},
    {"OtherLineCount", "delete from PosDetail where BillNo=$1 and OrderId=2", false},
};

void PrintTo(const ServerCopyCase& c, std::ostream* os) { *os << c.name; }

class ServerHoldsTheNumber : public ::testing::TestWithParam<ServerCopyCase> {};

// A local bill is given up unsent only for the very same bill on the server.
TEST_P(ServerHoldsTheNumber, LocalBillIsDeletedOnlyWhenItIsTheSameBill)
{
    const ServerCopyCase& c = GetParam();
    UploadFixture f;
    Bill sold = f.sellOffline();
    f.alreadyOnServer(sold);
    if (*c.change)
        f.server().execute(c.change, {kFirst});

    f.upload();

    EXPECT_EQ(f.localBills(), c.deletedUnsent ? std::set<std::string>{} : std::set<std::string>{kFirst});
    EXPECT_EQ(f.person.messageTexts(),
              c.deletedUnsent ? std::vector<std::string>{} : std::vector<std::string>{collision(kFirst)});
    EXPECT_DOUBLE_EQ(f.stock(101), 7) << "nothing booked a second time";
}

INSTANTIATE_TEST_SUITE_P(Differences, ServerHoldsTheNumber, ::testing::ValuesIn(kServerCopies),
                         [](const auto& info) { return std::string(info.param.name); });

// A bill the save refuses stays local with both messages; the next bill goes on.
TEST(OfflineBillUpload, BillWithoutStoreStaysAndTheNextIsSent)
{
    UploadFixture f;
    f.sellOffline();
    f.sellOffline();
    f.local().execute("update PosBill set StoreId=0 where BillNo=$1", {kFirst});

    f.upload();

    EXPECT_EQ(f.person.messageTexts(), (std::vector<std::string>{"此单没有选择销售仓库！请选择销售仓库。",
                                                                 std::string("上传数据到服务器失败！单号为：") + kFirst}));
    EXPECT_EQ(f.localBills(), std::set<std::string>{kFirst});
    EXPECT_EQ(f.onServer(kSecond).first, 1);
    EXPECT_EQ(f.onServer(kFirst).first, 0);
}

// Bills go to the server together, yet each in a transaction of its own: the one the
// server refuses is rolled back alone, with the save's failure told, and stays local.
TEST(OfflineBillUpload, BillTheServerRefusesFailsAlone)
{
    UploadFixture f;
    for (int i = 0; i < 3; ++i)
        f.sellOffline();
    f.server().execute("create function refuse_second() returns trigger language plpgsql as $$ begin "
                       "if new.BillNo = '07202403150002' then raise exception 'refused'; end if; return new; end $$");
    f.server().execute("create trigger refuse_second before insert on PosDetail for each row "
                       "execute function refuse_second()");

    f.upload();

    EXPECT_EQ(f.person.messageTexts(), (std::vector<std::string>{"单据保存失败！可能已存在相同的单号。请删除该单后，重新输入。",
                                                                 std::string("上传数据到服务器失败！单号为：") + kSecond}));
    EXPECT_EQ(f.localBills(), std::set<std::string>{kSecond});
    EXPECT_EQ(f.onServer(kFirst), (std::pair<std::int64_t, std::int64_t>{1, 2}));
    EXPECT_EQ(f.onServer(kSecond), (std::pair<std::int64_t, std::int64_t>{0, 0}));
    EXPECT_EQ(f.onServer(kThird), (std::pair<std::int64_t, std::int64_t>{1, 2}));
    EXPECT_DOUBLE_EQ(f.stock(101), 4) << "the refused bill booked nothing";
    EXPECT_DOUBLE_EQ(f.stock(102), 3);

    f.server().execute("drop trigger refuse_second on PosDetail");
    f.person.messages.clear();
    f.upload();
    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_TRUE(f.localBills().empty());
    EXPECT_DOUBLE_EQ(f.stock(101), 1);
}

struct UploadedCardCase {
    const char* cardNo;
    CardBalances s1, v1;
};

// The card booking follows the uploaded bill's card and its own lines (the promotion
// line earns no points while NotPointSP is set: 70 − 40 = 30 points), whatever member
// the screen shows, whose points stay as they are.
TEST(OfflineBillUpload, CardIsBookedByTheUploadedBillsOwnCard)
{
    const UploadedCardCase cases[] = {
        {"S1", {150, 570, 40}, {0, 500, 10}},
        {"V1", {200, 500, 10}, {0, 570, 40}},
        {"X9", {200, 500, 10}, {0, 500, 10}},  // no such card: nothing booked, no error
    };
    for (const UploadedCardCase& c : cases) {
        SCOPED_TRACE(c.cardNo);
        UploadFixture f;
        f.state.NotPointSP = true;
        f.sellOffline([&](Bill& b) {
            b.insiderCode() = c.cardNo;
            b.cardAmount3() = 50;
            b.cashAmount() = 20;
        });
        f.sale.member.VIPCardNo = "V1";
        f.sale.member.VIPCardKind = MemberCardKind::Other;
        f.sale.member.VIPUsedCount = 7;

        f.upload();

        EXPECT_TRUE(f.localBills().empty());
        expectCard(f.card("S1"), c.s1);
        expectCard(f.card("V1"), c.v1);
        EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 7);
        EXPECT_TRUE(f.person.messages.empty());
    }
}

TEST(OfflineBillUpload, RunsOnlyOnlineAndOnlyWithWaitingBills)
{
    UploadFixture f;
    f.upload();
    EXPECT_TRUE(f.person.waits.empty()) << "no bills: no please-wait window";
    EXPECT_TRUE(f.person.messages.empty());

    f.sellOffline();
    f.state.NetMode = Offline;
    f.upload();
    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{"当前模式不是『连网销售』模式,不能上传数据！"});
    EXPECT_TRUE(f.person.waits.empty());
    EXPECT_EQ(f.localBills(), std::set<std::string>{kFirst});
}

// The local delete fails after the server stored the bill, as when the terminal dies
// between the two: the cashier is told, and the next upload deletes the bill without
// sending it.
TEST(OfflineBillUpload, LostLocalDeleteIsMadeUpWithoutSendingAgain)
{
    UploadFixture f;
    f.sellOffline();
    f.local().execute("create trigger keep_bills before delete on PosBill begin select raise(abort, 'disk full'); end");

    f.log.expected = 1;
    f.upload();
    EXPECT_EQ(f.person.messageTexts(),
              std::vector<std::string>{"已上传的单据未能从本机删除！\r\n单据已保存在服务器上，下次上传时会从本机清除，不会重复上传。"});
    ASSERT_EQ(f.log.entries.size(), 1u);
    EXPECT_EQ(f.log.entries[0].operation, "上传单据");
    EXPECT_NE(f.log.entries[0].error.find("disk full"), std::string::npos) << "the reason is logged";
    EXPECT_EQ(f.localBills(), std::set<std::string>{kFirst});
    EXPECT_EQ(f.onServer(kFirst), (std::pair<std::int64_t, std::int64_t>{1, 2}));

    f.local().execute("drop trigger keep_bills");
    f.person.messages.clear();
    f.upload();
    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_TRUE(f.localBills().empty());
    EXPECT_EQ(f.onServer(kFirst), (std::pair<std::int64_t, std::int64_t>{1, 2}));
    EXPECT_DOUBLE_EQ(f.stock(101), 7);
}

// --- the connection breaks during an upload ---------------------------------------

class UploadThroughProxy : public UploadFixture {
public:
    // Once the server answers again and the broken session has ended, uploads once more
    // with no message left from before.
    void uploadWithTheServerBack(int session)
    {
        network.proxy.acceptNewConnections();
        network.awaitSessionEnd(session);
        ASSERT_TRUE(dm.conServer().reopen());
        person.messages.clear();
        upload();
    }

    test::ProxiedServer network{*this};
};

struct CutCase {
    const char* name;
    const char* marker;  // the first bytes to the server holding it fail
    TcpProxy::Moment moment;
    bool serverAnswersAgain;  // within the upload
    bool uploadEnds;          // the error reaches the caller
};

// The bills' saves travel together, the statement texts first: a cut at "UpdateStock"
// before forwarding loses every save, after forwarding every answer.
const CutCase kCuts[] = {
    {"ServerCheck", kFirst, TcpProxy::Moment::BeforeForwarding, true, true},
    {"CardKind", "CardType", TcpProxy::Moment::BeforeForwarding, true, true},
    {"SavesLost", "UpdateStock", TcpProxy::Moment::BeforeForwarding, true, false},
    {"AnswersLost", "UpdateStock", TcpProxy::Moment::AfterForwarding, true, false},
    {"SavesLostServerGone", "UpdateStock", TcpProxy::Moment::BeforeForwarding, false, true},
    {"AnswersLostServerGone", "UpdateStock", TcpProxy::Moment::AfterForwarding, false, true},
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class ConnectionCut : public ::testing::TestWithParam<CutCase> {};

// Wherever the connection breaks during the upload of two bills, once the server is
// back a second upload leaves each bill on the server exactly once with its bookings,
// and none in the local file.
TEST_P(ConnectionCut, EveryBillArrivesExactlyOnce)
{
    const CutCase& c = GetParam();
    UploadThroughProxy f;
    f.sellOffline([](Bill& b) {
        b.insiderCode() = "S1";
        b.cardAmount3() = 50;
        b.cashAmount() = 20;
    });
    f.sellOffline();
    f.network.proxy.failOn(c.marker, TcpProxy::Fault::Cut, c.moment);
    if (!c.serverAnswersAgain)
        f.network.proxy.refuseNewConnections();
    const int session = f.dm.conServer().backendPid();

    if (c.uploadEnds)
        f.log.expected = 1;
    bool ended = false;
    try {
        f.upload();
    } catch (const DbError& error) {
        ended = true;
        // The caller shows the text: the cashier's own words, the engine's in the log.
        EXPECT_EQ(std::string(error.what()),
                  "与服务器的连接中断，上传没有完成！未上传的单据仍保存在本机，下次上传时由服务器核对。");
        EXPECT_TRUE(error.isNetworkFailure());
        ASSERT_EQ(f.log.entries.size(), 1u);
        EXPECT_EQ(f.log.entries[0].operation, "上传单据");
    }
    EXPECT_TRUE(f.network.proxy.fired());
    EXPECT_EQ(ended, c.uploadEnds);
    if (!c.uploadEnds)
        EXPECT_TRUE(f.localBills().empty()) << "saves lost with the connection are sent again on the new one";
    EXPECT_EQ(f.person.openWaits, 0);
    // When the server cannot say whether it kept the bill, the bill simply stays waiting:
    // no failed save to report and no day roll.
    if (!c.serverAnswersAgain)
        for (const auto& shown : f.person.messages)
            EXPECT_EQ(shown.text.find("单据保存失败"), std::string::npos) << shown.text;

    f.uploadWithTheServerBack(session);

    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_TRUE(f.localBills().empty());
    for (const char* billNo : {kFirst, kSecond})
        EXPECT_EQ(f.onServer(billNo), (std::pair<std::int64_t, std::int64_t>{1, 2})) << billNo;
    EXPECT_DOUBLE_EQ(f.stock(101), 4);
    EXPECT_DOUBLE_EQ(f.stock(102), 3);
    expectCard(f.card("S1"), {150, 570, 80});
}

// A sale whose online save could not find out whether the server kept the bill waits in
// the local file; the upload sends it only when the server lacks it.
TEST(OfflineBillUpload, BillOfAnUnknownSaveOutcomeArrivesExactlyOnce)
{
    for (TcpProxy::Moment moment : {TcpProxy::Moment::AfterForwarding, TcpProxy::Moment::BeforeForwarding}) {
        SCOPED_TRACE(moment == TcpProxy::Moment::AfterForwarding ? "commit arrived" : "commit lost");
        UploadThroughProxy f;
        Bill b = f.soldBill();
        f.network.proxy.failOn("commit", TcpProxy::Fault::Cut, moment);
        f.network.proxy.refuseNewConnections();
        const int session = f.dm.conServer().backendPid();
        ASSERT_EQ(f.sellOnline(b), BillSavedLocally);

        f.uploadWithTheServerBack(session);

        EXPECT_TRUE(f.person.messages.empty());
        EXPECT_TRUE(f.localBills().empty());
        EXPECT_EQ(f.onServer(kFirst), (std::pair<std::int64_t, std::int64_t>{1, 2}));
        EXPECT_DOUBLE_EQ(f.stock(101), 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, ConnectionCut, ::testing::ValuesIn(kCuts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos

namespace pos {
namespace {

// At checkout the server refuses a stored-value payment its balance no longer covers
// and a coupon spent elsewhere; an uploaded bill is a sale already made: it is booked
// as it stands, even below zero and over a coupon marked used since, and the cashier
// and pos.log hear of both for the shop to follow up.
TEST(OfflineBillUpload, BooksAStoredValueSaleAndItsCouponThatCheckoutWouldRefuse)
{
    UploadFixture f;
    f.server().execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('Q1',20,1)");
    auto overdrawn = [](Bill& b) {
        b.insiderCode() = "S1";
        b.cardAmount3() = 250.0;
        b.cashAmount() = 0.0;
        b.realAmount() = 250.0;
    };
    f.sale.member.VIPCardKind = MemberCardKind::StoredValue;
    Bill online = f.soldBill(overdrawn);
    EXPECT_EQ(f.sellOnline(online), BillTenderRefused);
    EXPECT_EQ(f.person.messageTexts().back(),
              "储值卡S1的卡内余额不够支付本单！余额已在其他收银台变动，请重新结算。");
    expectCard(f.card("S1"), {200, 500, 10});
    EXPECT_EQ(f.onServer(online.billNo().toString()), (std::pair<std::int64_t, std::int64_t>{0, 0}));

    Bill withCoupon = f.soldBill([](Bill& b) { b.cardNo() = "Q1"; });
    EXPECT_EQ(f.sellOnline(withCoupon), BillTenderRefused);
    EXPECT_EQ(f.person.messageTexts().back(), "购物券Q1已在其他收银台消费，不能再次消费！请改用其他方式付款。");

    f.sale.member.VIPCardKind = MemberCardKind::Other;  // the card on the screen is not the uploaded bill's
    const std::string sold = f.sellOffline(overdrawn).billNo().toString();
    const std::string paidByCoupon = f.sellOffline([](Bill& b) { b.cardNo() = "Q1"; }).billNo().toString();
    f.person.messages.clear();
    f.log.expected = 2;
    f.upload();

    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{kFollowUp + "\r\n储值卡S1的余额已低于零：-50.00"
                                                                + "\r\n购物券Q1已经消费过，又用于单据" + paidByCoupon});
    EXPECT_EQ(f.loggedErrors(), (std::vector<std::string>{"储值卡S1的余额已低于零：-50.00",
                                                          "购物券Q1已经消费过，又用于单据" + paidByCoupon}));
    EXPECT_TRUE(f.localBills().empty());
    EXPECT_EQ(f.onServer(sold).first, 1);
    EXPECT_EQ(f.onServer(paidByCoupon).first, 1);
    expectCard(f.card("S1"), {-50, 750, 260});  // 250 points: nothing is on promotion without NotPointSP
}

}  // namespace
}  // namespace pos

namespace pos {
namespace {

// Two offline bills of 150 on one card of 200 and one coupon, as two terminals racing
// offline (or a terminal before the local checks) leave them: both are booked, the
// card goes to -100, and the card and the coupon's second use are told once each. A
// bill with a card amount of 0 on that card adds nothing to follow up.
TEST(OfflineBillUpload, OneCardAndOneCouponSpentTwiceOfflineAreBookedAndFollowedUp)
{
    UploadFixture f;
    f.server().execute("insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('Q2',20,0)");
    auto onCard = [](double cardAmount, const char* coupons) {
        return [=](Bill& b) {
            b.insiderCode() = "S1";
            b.cardAmount3() = cardAmount;
            b.cashAmount() = 0.0;
            b.realAmount() = cardAmount;
            b.cardNo() = coupons;
        };
    };
    f.sellOffline(onCard(150, "Q2"));
    const std::string second = f.sellOffline(onCard(150, "Q3， Q2")).billNo().toString();
    f.sellOffline(onCard(0, ""));
    f.person.messages.clear();
    f.log.expected = 2;

    f.upload();

    EXPECT_TRUE(f.localBills().empty());
    EXPECT_DOUBLE_EQ(f.card("S1").amount.toDouble(), -100);
    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{kFollowUp + "\r\n储值卡S1的余额已低于零：-100.00"
                                                                + "\r\n购物券Q2已经消费过，又用于单据" + second});
    EXPECT_EQ(f.loggedErrors(), (std::vector<std::string>{"储值卡S1的余额已低于零：-100.00",
                                                          "购物券Q2已经消费过，又用于单据" + second}));

    f.person.messages.clear();
    f.sellOffline(onCard(0, ""));
    f.upload();
    EXPECT_TRUE(f.person.messages.empty()) << "a bill that takes nothing off the card is no news";
}

}  // namespace
}  // namespace pos
