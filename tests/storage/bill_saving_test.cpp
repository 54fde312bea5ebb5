#include "storage/bill_saving.h"

#include "storage/bill_numbering.h"
#include "storage/coupon_list.h"
#include "pricing/bill_arithmetic.h"
#include "support/cash_payment.h"
#include "support/goods_line.h"
#include "support/member_cards.h"
#include "support/proxied_server.h"
#include "support/saving_terminal.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <thread>

namespace pos {
namespace {

using test::CardBalances;
using test::expectCard;

constexpr const char* kSaveFailed = "单据保存失败！可能已存在相同的单号。请删除该单后，重新输入。";
constexpr const char* kFirstNumber = "07202403150001";   // counter of the fixed clock's day
constexpr const char* kNumberAfterRoll = "07202403160001";
constexpr const char* kOutcomeUnknown = "网络故障，无法确认单据是否已保存到服务器！单据已按原单号07202403150001"
                                        "保存在本机，上传时由服务器核对，请不要重复收款。";

struct Line {
    int goodsId;
    double quantity;
    double price;
};

// Cards on the server before each save.
const std::map<std::string, CardBalances> kCards = {
    {"V1", {200, 500, 10}},                  // ordinary
    {"S1", {200, 500, 10}},                  // stored-value
    {"N1", {Value(), Value(), Value()}},     // stored-value, never booked
};

std::string text(const RowSet& rows)
{
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const Value& v : rows.row(r))
            out += (v.isNull() ? std::string("<null>") : v.toString()) + "|";
        out += "\n";
    }
    return out;
}

// A terminal after start-up, signed on at store 2 with terminal number "07", the first
// bill's number peeked; the server has stock, member cards and coupons.
class SaleFixture : public test::SavingTerminal {
public:
    SaleFixture()
    {
        state.PointRate = 1;
        BillNumbering(dm.conClient().statements<NumberingStatements>(), clock).peek(state.MachineCode);
        PgDatabase& server = office.accountSet();
        server.execute("insert into D_Stock(StoreId,GoodsId,Quantity) values(2,101,10),(2,102,5),(2,103,0)");
        server.execute("insert into B_GoodsTicket(TicketNo,Amount) values('A01',50),('A02',20),('A03',10)");
        for (const auto& [cardNo, card] : kCards)
            test::addMemberCard(server, {.cardNo = cardNo,
                                         .cardType = cardNo == "V1" ? "普通卡" : "储值卡",
                                         .amount = card.amount,
                                         .totalAmount = card.totalAmount,
                                         .usedCount = card.usedCount});
    }

    void resetCards()
    {
        for (const auto& [cardNo, card] : kCards)
            office.accountSet().execute("update B_VIPCards set Amount=$1,TotalAmount=$2,UsedCount=$3 where CardNo=$4",
                                        {card.amount, card.totalAmount, card.usedCount, cardNo});
    }

    // A bill as checkout leaves it, paid in cash, with the display columns of its lines.
    Bill bill(const std::vector<Line>& lines)
    {
        Bill b = Bill::open(dm.conClient());
        b.master.append();
        double amount = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line& l = lines[i];
            const BillLine line = test::appendGoodsLine(b, l.goodsId, l.quantity, l.price);
            line.memo() = i % 2 ? Value("促销") : Value();
            line.name() = "商品" + std::to_string(l.goodsId) + " [促销]";
            amount += l.price * l.quantity;
        }
        test::payInCash(b, test::kStoreId, test::kCashier, amount);
        return b;
    }

    // A bill with a stored-value card partly paid from it, and two coupons.
    Bill bookedBill()
    {
        Bill b = bill({{101, 3, 10}, {102, 1, 40}});
        b.insiderCode() = "S1";
        b.cardAmount3() = 30;
        b.cashAmount() = 40;
        b.cardNo() = "A01,A02";
        sale.member.VIPCardNo = "S1";
        sale.member.VIPCardKind = MemberCardKind::StoredValue;
        sale.member.VIPUsedCount = 10;
        return b;
    }

    std::string serverTables()
    {
        return text(server().query("select * from PosBill order by BillNo"))
            + text(server().query("select * from PosDetail order by BillNo,OrderId"))
            + text(server().query("select * from D_Stock order by StoreId,GoodsId"))
            + text(server().query("select * from B_VIPCards order by CardNo"))
            + text(server().query("select * from B_GoodsTicket order by TicketNo"));
    }
    std::string localBills()
    {
        return text(local().query("select * from PosBill order by BillNo"))
            + text(local().query("select * from PosDetail order by BillNo,OrderId"));
    }
    std::pair<std::string, std::int64_t> counter()
    {
        RowSet c = local().query("select BillDate, MaxNo from MaxBillNo");
        return {c.first("BillDate").toString().substr(0, 10), c.first("MaxNo").toInt()};
    }
    std::set<std::string> usedCoupons()
    {
        RowSet t = server().query("select TicketNo from B_GoodsTicket where IsEnd=1");
        std::set<std::string> used;
        for (std::size_t r = 0; r < t.size(); ++r)
            used.insert(t.at(r, "TicketNo").toString());
        return used;
    }
};

// Every column a table holds equals the record it was copied from.
void expectCopied(const RowSet& stored, const RowSet& source)
{
    ASSERT_EQ(stored.size(), source.size());
    for (std::size_t r = 0; r < stored.size(); ++r) {
        for (std::size_t c = 0; c < stored.columns().size(); ++c) {
            const std::string& name = stored.columns().name(c);
            SCOPED_TRACE("row " + std::to_string(r) + " column " + name);
            const Value& want = source.at(r, name);
            const Value& got = stored.row(r)[c];
            if (want.isNull())
                EXPECT_TRUE(got.isNull());
            else if (want.isText())
                EXPECT_EQ(got.toString(), want.toString());
            else
                EXPECT_NEAR(got.toDouble(), want.toDouble(), 1e-9);
        }
    }
}

// --- the checks --------------------------------------------------------------------

struct CheckCase {
    const char* name;
    std::function<void(Bill&)> spoil;
    const char* message;
    const char* title;
};

TEST(BillSaving, ChecksRefuseTheBillBeforeTakingANumber)
{
    const CheckCase cases[] = {
        {"TwoMasterRows", [](Bill& b) { b.master.append(b.master.row(0)); }, "主表记录只能有一条记录！", ""},
        {"NoMasterRow", [](Bill& b) { b.master.clear(); }, "主表记录只能有一条记录！", ""},
        {"NoStore", [](Bill& b) { b.storeId() = 0; }, "此单没有选择销售仓库！请选择销售仓库。", "错误"},
        {"StoreNull", [](Bill& b) { b.storeId() = Value(); }, "此单没有选择销售仓库！请选择销售仓库。", "错误"},
        {"NoOperatorAndNoStore", [](Bill& b) { b.storeId() = 0; b.operatorId() = 0; },
         "此单没有选择销售仓库！请选择销售仓库。", "错误"},
        {"NoOperator", [](Bill& b) { b.operatorId() = 0; }, "保存失败！原因：收银员为空。", ""},
        {"StoredValueAmountWithoutCard", [](Bill& b) { b.insiderCode() = ""; },
         "保存失败！原因：此单有储值卡支付金额，却没有会员卡号。", ""},
        {"StoredValueAmountCardNull", [](Bill& b) { b.insiderCode() = Value(); },
         "保存失败！原因：此单有储值卡支付金额，却没有会员卡号。", ""},
    };
    SaleFixture f;
    const std::string serverBefore = f.serverTables();
    for (WorkingMode mode : {Online, Offline}) {
        f.state.NetMode = mode;
        for (const CheckCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (mode == Online ? " online" : " offline"));
            Bill b = f.bookedBill();
            c.spoil(b);
            f.person.messages.clear();

            EXPECT_EQ(f.save(b), BillNotSaved);

            ASSERT_EQ(f.person.messages.size(), 1u);
            EXPECT_EQ(f.person.messages[0].text, c.message);
            EXPECT_EQ(f.person.messages[0].title, c.title);
            EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Error);
            EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-15"), std::int64_t{1}));
            EXPECT_EQ(f.serverTables(), serverBefore);
            EXPECT_EQ(f.localBills(), "");
            EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 10);
        }
    }
}

// --- online ------------------------------------------------------------------------

TEST(BillSaving, OnlineSaveWritesTheBillAndBooksTheStockOfEveryLine)
{
    SaleFixture f;
    // A sale, a return of two (stock rises by 2.00) and a weighed line booked to two decimals.
    Bill b = f.bill({{101, 3, 9.9}, {102, -2, 15}, {103, 1.256, 4}});

    EXPECT_EQ(f.save(b), BillSavedOnServer);

    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    for (std::size_t line = 0; line < b.detail.size(); ++line)
        EXPECT_EQ(b.line(line).billNo().toString(), kFirstNumber);
    expectCopied(f.server().query("select * from PosBill"), b.master);
    // The display columns of the lines have no place on the server and are left out.
    expectCopied(f.server().query("select * from PosDetail order by OrderId"), b.detail);
    EXPECT_DOUBLE_EQ(f.stock(101), 7);
    EXPECT_DOUBLE_EQ(f.stock(102), 7);
    EXPECT_DOUBLE_EQ(f.stock(103), -1.26);
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-15"), std::int64_t{2}));
    EXPECT_EQ(f.localBills(), "");
}

TEST(BillSaving, KeptNumberIsSavedWithoutTouchingTheCounter)
{
    SaleFixture f;
    Bill b = f.bill({{101, 1, 5}});
    b.billNo() = "07202403010042";
    b.line(0).billNo() = "07202403010042";

    EXPECT_EQ(f.save(b, true), BillSavedOnServer);

    EXPECT_EQ(f.server().query("select BillNo from PosDetail").first("BillNo").toString(), "07202403010042");
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-15"), std::int64_t{1}));
}

struct CardCase {
    const char* name;
    std::string insiderCode;
    int cardKind;
    double realAmount, cardAmount3, noPointAmount;
    int pointRate;
    std::string bookedCard;  // the card that changes, if any
    CardBalances booked;
    double memberPoints;     // VIPUsedCount after the save, from 10
};

TEST(BillSaving, MemberCardIsBookedByItsKind)
{
    const CardCase cases[] = {
        {"OrdinaryCardGainsPurchasesAndPoints", "V1", 1, 100, 0, 20, 3, "V1", {200, 600, 36.67}, 36.67},
        {"StoredValueCardAlsoLosesThePartPaidFromIt", "S1", 2, 100, 30, 0, 1, "S1", {170, 600, 110}, 110},
        // Nothing paid from it: at checkout a balance of 0 covers no part of a bill.
        {"MissingBalancesCountAsZero", "N1", 2, 50, 0, 0, 0, "N1", {0, 50, 50}, 60},
        {"ReturnEarnsNegativePoints", "V1", 1, -40, 0, 0, 4, "V1", {200, 460, 0}, 0},
        {"CardKindOfTheMemberDecidesNotTheCardType", "S1", 1, 100, 30, 0, 1, "S1", {200, 600, 110}, 110},
        {"UnknownCardChangesNoCard", "X9", 1, 100, 0, 0, 1, "", {}, 110},
        // (with a card amount it is refused: the checks)
        {"BillWithoutCardBooksNothing", "", 2, 100, 0, 0, 1, "", {}, 10},
    };
    SaleFixture f;
    for (const CardCase& c : cases) {
        SCOPED_TRACE(c.name);
        f.resetCards();
        Bill b = f.bill({{101, 1, c.realAmount}});
        b.insiderCode() = c.insiderCode;
        b.realAmount() = c.realAmount;
        b.cardAmount3() = c.cardAmount3;
        f.sale.member.VIPCardKind = static_cast<MemberCardKind>(c.cardKind);
        f.sale.member.VIPUsedCount = 10;
        f.sale.totals.NoPointAmount = c.noPointAmount;
        f.state.PointRate = c.pointRate;

        EXPECT_EQ(f.save(b), BillSavedOnServer);

        for (const auto& [cardNo, initial] : kCards) {
            SCOPED_TRACE(cardNo);
            expectCard(f.card(cardNo), cardNo == c.bookedCard ? c.booked : initial);
        }
        EXPECT_NEAR(f.sale.member.VIPUsedCount, c.memberPoints, 1e-9);
    }
}

struct CouponCase {
    const char* cardNo;
    std::vector<std::string> numbers;
    std::set<std::string> marked;
};

TEST(BillSaving, CouponsNamedInCardNoAreMarkedUsed)
{
    const CouponCase cases[] = {
        {"", {}, {}},
        {"　", {}, {}},
        {" , ，", {}, {}},
        {"A01，A02 ", {"A01", "A02"}, {"A01", "A02"}},
        {"A01,,A02", {"A01", "A02"}, {"A01", "A02"}},
        {"　A0 3,", {"A03"}, {"A03"}},
        {"A01'", {"A01'"}, {}},
        {"A01') or ('1'='1,A02", {"A01')or('1'='1", "A02"}, {"A02"}},
    };
    SaleFixture f;
    for (const CouponCase& c : cases) {
        SCOPED_TRACE(c.cardNo);
        EXPECT_EQ(couponNumbers(c.cardNo), c.numbers);
        EXPECT_EQ(couponMarking(c.cardNo).has_value(), !c.numbers.empty());
        f.server().execute("update B_GoodsTicket set IsEnd=0");
        Bill b = f.bill({{101, 1, 5}});
        b.cardNo() = c.cardNo;

        EXPECT_EQ(f.save(b), BillSavedOnServer);

        EXPECT_EQ(f.usedCoupons(), c.marked);
    }
}

// --- failures ----------------------------------------------------------------------

// Puts a wrapper around UpdateStock that runs `action` for goods 102 and books the
// stock of every other goods as before; `undo` puts the original back.
void wrapUpdateStock(Database& server, const std::string& action)
{
    server.execute("alter function UpdateStock(integer,integer,numeric) rename to UpdateStockBooked");
    server.execute("create function UpdateStock(p_goodsid integer, p_storeid integer, p_qty numeric) returns void "
                   "language plpgsql as $$ begin if p_goodsid = 102 then "
                   + action + "; end if; perform UpdateStockBooked(p_goodsid, p_storeid, p_qty); end $$");
}
void unwrapUpdateStock(Database& server)
{
    server.execute("drop function UpdateStock(integer,integer,numeric)");
    server.execute("alter function UpdateStockBooked(integer,integer,numeric) rename to UpdateStock");
}

struct FailureCase {
    const char* name;
    WorkingMode netMode;
    std::function<void(SaleFixture&)> cause;
    std::function<void(SaleFixture&)> repair;
};

const FailureCase kFailures[] = {
    {"NumberAlreadyOnTheServer", Online,
     [](SaleFixture& f) { f.server().execute("insert into PosBill(BillNo,RealAmount) values($1,1)", {kFirstNumber}); },
     [](SaleFixture&) {}},
    {"StockBookingFailsAfterTheBillIsWritten", Online,
     [](SaleFixture& f) { wrapUpdateStock(f.server(), "raise exception 'goods 102 is locked'"); },
     [](SaleFixture& f) { unwrapUpdateStock(f.server()); }},
    {"ConnectionLostBeforeTheSave", Online, [](SaleFixture& f) { f.office.dropClientConnections(); },
     [](SaleFixture& f) { ASSERT_TRUE(f.dm.conServer().reopen()); }},
    {"ConnectionLostInTheMiddleOfTheSave", Online,
     [](SaleFixture& f) { wrapUpdateStock(f.server(), "perform pg_terminate_backend(pg_backend_pid())"); },
     [](SaleFixture& f) {
         unwrapUpdateStock(f.server());
         ASSERT_TRUE(f.dm.conServer().reopen());
     }},
    {"NumberAlreadyInTheLocalFile", Offline,
     [](SaleFixture& f) { f.local().execute("insert into PosBill(BillNo,RealAmount) values($1,1)", {kFirstNumber}); },
     [](SaleFixture&) {}},
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class BillSavingFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(BillSavingFailure, RollsBackEverythingRollsTheCounterAndAllowsASecondTry)
{
    const FailureCase& c = GetParam();
    SaleFixture f;
    f.state.NetMode = c.netMode;
    Bill b = f.bookedBill();
    const std::size_t lines = b.detail.size();
    c.cause(f);
    const std::string serverBefore = f.serverTables();
    const std::string localBefore = f.localBills();

    EXPECT_EQ(f.save(b), BillNotSaved);

    ASSERT_EQ(f.person.messages.size(), 1u);
    EXPECT_EQ(f.person.messages[0].text, kSaveFailed);
    EXPECT_EQ(f.person.messages[0].title, "提示");
    EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(f.serverTables(), serverBefore);
    EXPECT_EQ(f.localBills(), localBefore);
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-16"), std::int64_t{1}));
    EXPECT_EQ(f.state.NetMode, c.netMode);
    EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 10);
    ASSERT_EQ(b.master.size(), 1u);
    ASSERT_EQ(b.detail.size(), lines);
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    EXPECT_EQ(b.line(lines - 1).billNo().toString(), kFirstNumber);

    c.repair(f);
    f.person.messages.clear();
    EXPECT_EQ(f.save(b), c.netMode == Online ? BillSavedOnServer : BillSavedLocally);

    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_EQ(b.billNo().toString(), kNumberAfterRoll);
    if (c.netMode == Online) {
        EXPECT_EQ(f.server().query("select BillNo from PosDetail where BillNo=$1", {kNumberAfterRoll}).size(), lines);
        EXPECT_DOUBLE_EQ(f.stock(101), 7);
        expectCard(f.card("S1"), {170, 570, 80});  // RealAmount 70, 30 of it from the card
        EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 80);
        EXPECT_EQ(f.usedCoupons(), (std::set<std::string>{"A01", "A02"}));
    } else {
        EXPECT_EQ(f.local().query("select BillNo from PosDetail where BillNo=$1", {kNumberAfterRoll}).size(), lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Causes, BillSavingFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the connection breaks around the COMMIT --------------------------------------

using test::TcpProxy;

// The sale of SaleFixture with the server connection running through a proxy.
class SaleThroughProxy : public SaleFixture {
public:
    test::ProxiedServer network{*this};
};

struct BrokenCommitCase {
    const char* name;
    TcpProxy::Moment cut;  // whether the COMMIT still reaches the server
    bool serverAnswersAgain;
    SaveBillResult result;
    const char* message;  // nullptr: none
    bool onServer, inLocalFile;
    std::pair<std::string, std::int64_t> counter;
};

const BrokenCommitCase kBrokenCommits[] = {
    {"OnlyTheAnswerIsLost", TcpProxy::Moment::AfterForwarding, true, BillSavedOnServer, nullptr, true, false,
     {"2024-03-15", 2}},
    {"CommitNeverArrived", TcpProxy::Moment::BeforeForwarding, true, BillNotSaved, kSaveFailed, false, false,
     {"2024-03-16", 1}},
    {"ServerGoneAfterTheCommit", TcpProxy::Moment::AfterForwarding, false, BillSavedLocally, kOutcomeUnknown, true,
     true, {"2024-03-15", 2}},
    {"ServerGoneBeforeTheCommit", TcpProxy::Moment::BeforeForwarding, false, BillSavedLocally, kOutcomeUnknown, false,
     true, {"2024-03-15", 2}},
};

void PrintTo(const BrokenCommitCase& c, std::ostream* os) { *os << c.name; }

class BrokenCommit : public ::testing::TestWithParam<BrokenCommitCase> {};

// Whatever the network does, the bill is booked on the server at most once and lands in
// the local file only when the server cannot say whether it holds it.
TEST_P(BrokenCommit, SaveAsksTheServerWhetherTheBillArrived)
{
    const BrokenCommitCase& c = GetParam();
    SaleThroughProxy f;
    Bill b = f.bookedBill();
    f.network.proxy.failOn("commit", TcpProxy::Fault::Cut, c.cut);
    if (!c.serverAnswersAgain)
        f.network.proxy.refuseNewConnections();
    const int session = f.dm.conServer().backendPid();

    EXPECT_EQ(f.save(b), c.result);
    f.network.awaitSessionEnd(session);

    EXPECT_TRUE(f.network.proxy.fired());
    EXPECT_EQ(f.person.messageTexts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    EXPECT_EQ(f.server().query("select BillNo from PosBill where BillNo=$1", {kFirstNumber}).size(),
              c.onServer ? 1u : 0u);
    EXPECT_DOUBLE_EQ(f.stock(101), c.onServer ? 7 : 10);
    expectCard(f.card("S1"), c.onServer ? CardBalances{170, 570, 80} : kCards.at("S1"));
    // The points count once the server is known to hold the bill; a waiting bill brings
    // them with the upload.
    EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, c.result == BillSavedOnServer ? 80 : 10);
    EXPECT_EQ(f.local().query("select BillNo from PosDetail where BillNo=$1", {kFirstNumber}).size(),
              c.inLocalFile ? b.detail.size() : 0u);
    EXPECT_EQ(f.counter(), c.counter);
}

INSTANTIATE_TEST_SUITE_P(Moments, BrokenCommit, ::testing::ValuesIn(kBrokenCommits),
                         [](const auto& info) { return std::string(info.param.name); });

// --- another sale already holds the number on the server ---------------------------

struct OtherBillCase {
    const char* name;
    // Leaves the save about to ask the server about the bill's number after a loss.
    std::function<void(SaleThroughProxy&, Bill&)> loseTheSave;
};

const OtherBillCase kOtherBills[] = {
    {"CutBeforeTheInsert",
     [](SaleThroughProxy& f, Bill&) {
         f.network.proxy.failOn("insert into PosBill", TcpProxy::Fault::Cut, TcpProxy::Moment::BeforeForwarding);
     }},
    {"RetryOfABillInDoubt",
     [](SaleThroughProxy& f, Bill& b) {
         f.network.proxy.failOn("commit", TcpProxy::Fault::Cut, TcpProxy::Moment::BeforeForwarding);
         f.network.proxy.refuseNewConnections();
         f.local().execute(
             "create trigger FullDisk before insert on PosBill begin select raise(abort,'disk full'); end");
         const int session = f.dm.conServer().backendPid();
         ASSERT_EQ(f.save(b), BillOutcomeUnknown);
         f.local().execute("drop trigger FullDisk");
         f.network.proxy.acceptNewConnections();
         f.network.awaitSessionEnd(session);
         f.person.messages.clear();
     }},
};

void PrintTo(const OtherBillCase& c, std::ostream* os) { *os << c.name; }

class OtherBillUnderTheNumber : public ::testing::TestWithParam<OtherBillCase> {};

// The look-up after a loss finds a bill under the number, but not this one: the sale is
// stored nowhere, so it fails as any failed save, and nothing of it is booked.
TEST_P(OtherBillUnderTheNumber, SaveIsNotTakenForSaved)
{
    SaleThroughProxy f;
    Bill b = f.bookedBill();
    GetParam().loseTheSave(f, b);
    f.server().execute("insert into PosBill(BillNo,MachineId,BillDate,RealAmount) values($1,$2,$3,1)",
                       {kFirstNumber, b.machineId(), b.billDate()});

    EXPECT_EQ(f.save(b), BillNotSaved);

    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{kSaveFailed});
    const RowSet onServer = f.server().query("select RealAmount from PosBill");
    ASSERT_EQ(onServer.size(), 1u);
    EXPECT_DOUBLE_EQ(onServer.first("RealAmount").toDouble(), 1) << "the other sale is untouched";
    EXPECT_TRUE(f.server().query("select BillNo from PosDetail").empty());
    EXPECT_DOUBLE_EQ(f.stock(101), 10);
    expectCard(f.card("S1"), kCards.at("S1"));
    EXPECT_TRUE(f.usedCoupons().empty());
    EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 10);
    EXPECT_TRUE(f.local().query("select BillNo from PosBill").empty());
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-16"), std::int64_t{1}));
}

INSTANTIATE_TEST_SUITE_P(Losses, OtherBillUnderTheNumber, ::testing::ValuesIn(kOtherBills),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the double fault: the server cannot be asked and the local file fails too ------

struct DoubleFaultCase {
    const char* name;
    TcpProxy::Moment cut;
    bool serverBackForTheRetry;
    SaveBillResult retried;
    bool onServer, inLocalFile;
};

const DoubleFaultCase kDoubleFaults[] = {
    {"CommitLandedThenServerBack", TcpProxy::Moment::AfterForwarding, true, BillSavedOnServer, true, false},
    {"CommitLostThenServerBack", TcpProxy::Moment::BeforeForwarding, true, BillSavedOnServer, true, false},
    {"CommitLandedServerStillGone", TcpProxy::Moment::AfterForwarding, false, BillSavedLocally, true, true},
    {"CommitLostServerStillGone", TcpProxy::Moment::BeforeForwarding, false, BillSavedLocally, false, true},
};

void PrintTo(const DoubleFaultCase& c, std::ostream* os) { *os << c.name; }

class DoubleFault : public ::testing::TestWithParam<DoubleFaultCase> {};

// The server may hold the bill, so the cashier is told not to charge again, the bill
// keeps its number and no counter moves; the next try asks the server about that number
// before anything else, and the bill is booked once whatever the answer.
TEST_P(DoubleFault, SaveWhoseOutcomeIsUnknownKeepsItsNumberAndAsksFirstNextTime)
{
    const DoubleFaultCase& c = GetParam();
    SaleThroughProxy f;
    Bill b = f.bookedBill();
    f.network.proxy.failOn("commit", TcpProxy::Fault::Cut, c.cut);
    f.network.proxy.refuseNewConnections();
    f.local().execute("create trigger FullDisk before insert on PosBill begin select raise(abort,'disk full'); end");
    const int session = f.dm.conServer().backendPid();

    EXPECT_EQ(f.save(b), BillOutcomeUnknown);

    ASSERT_EQ(f.person.messages.size(), 1u);
    const std::string& told = f.person.messages[0].text;
    EXPECT_NE(told.find("无法确认单据是否已保存到服务器"), std::string::npos) << told;
    EXPECT_NE(told.find("disk full"), std::string::npos) << told;
    EXPECT_NE(told.find(std::string("原单号") + kFirstNumber), std::string::npos) << told;
    EXPECT_NE(told.find("请不要重复收款"), std::string::npos) << told;
    EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    ASSERT_TRUE(b.saveInDoubt.has_value());
    EXPECT_EQ(b.saveInDoubt->billNo, kFirstNumber);
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-15"), std::int64_t{2})) << "no counter rolled";
    EXPECT_TRUE(f.local().query("select BillNo from PosBill").empty());
    EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 10);

    f.local().execute("drop trigger FullDisk");
    if (c.serverBackForTheRetry)
        f.network.proxy.acceptNewConnections();  // the retry itself ends the broken session
    f.person.messages.clear();
    EXPECT_EQ(f.save(b), c.retried);

    EXPECT_EQ(f.person.messageTexts(),
              c.retried == BillSavedLocally ? std::vector<std::string>{kOutcomeUnknown} : std::vector<std::string>{});
    EXPECT_FALSE(b.saveInDoubt.has_value());
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    EXPECT_EQ(f.counter(), std::make_pair(std::string("2024-03-15"), std::int64_t{2})) << "no second number taken";
    if (c.serverBackForTheRetry) {
        EXPECT_EQ(f.server().query("select BillNo from PosBill").size(), 1u);
        EXPECT_EQ(f.server().query("select BillNo from PosDetail where BillNo=$1", {kFirstNumber}).size(),
                  b.detail.size());
        EXPECT_DOUBLE_EQ(f.stock(101), 7) << "booked once";
        expectCard(f.card("S1"), {170, 570, 80});
        EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 80);
    }
    EXPECT_EQ(f.local().query("select BillNo from PosDetail where BillNo=$1", {kFirstNumber}).size(),
              c.inLocalFile ? b.detail.size() : 0u);
    if (!c.serverBackForTheRetry) {
        f.network.proxy.acceptNewConnections();
        f.network.awaitSessionEnd(session);
        EXPECT_EQ(f.server().query("select BillNo from PosBill where BillNo=$1", {kFirstNumber}).size(),
                  c.onServer ? 1u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Retries, DoubleFault, ::testing::ValuesIn(kDoubleFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// A server that stops answering in the middle of the batch is given up after the
// command time-out; as it cannot be asked either, the bill waits in the local file.
TEST(BillSaving, ServerThatStopsAnsweringLeavesTheBillWaitingLocally)
{
    SaleThroughProxy f;
    Bill b = f.bookedBill();
    f.network.proxy.failOn("UpdateStock", TcpProxy::Fault::BlackHole, TcpProxy::Moment::BeforeForwarding);

    EXPECT_EQ(f.save(b), BillSavedLocally);

    EXPECT_EQ(f.person.messageTexts(), std::vector<std::string>{kOutcomeUnknown});
    EXPECT_EQ(f.local().query("select BillNo from PosBill").first("BillNo").toString(), kFirstNumber);
    EXPECT_DOUBLE_EQ(f.stock(101), 10);
}

// The local counter fails before anything is written: told as such, no day roll.
TEST(BillSaving, FailedTakeOfTheBillNumberIsToldAsSuch)
{
    for (WorkingMode mode : {Online, Offline}) {
        SCOPED_TRACE(mode == Online ? "online" : "offline");
        SaleFixture f;
        f.state.NetMode = mode;
        Bill b = f.bookedBill();
        const std::string serverBefore = f.serverTables();
        const std::string localBefore = f.localBills();
        f.local().execute("alter table MaxBillNo rename to MaxBillNoAway");

        EXPECT_EQ(f.save(b), BillNotSaved);
        ASSERT_EQ(f.person.messages.size(), 1u);
        EXPECT_EQ(f.person.messages[0].text.rfind("单据保存失败！无法从本地数据库取得单号：", 0), 0u)
            << f.person.messages[0].text;
        EXPECT_GT(f.person.messages[0].text.size(), std::string("单据保存失败！无法从本地数据库取得单号：").size())
            << "the database's own text follows";
        EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(f.serverTables(), serverBefore);
        EXPECT_EQ(f.localBills(), localBefore);

        f.local().execute("alter table MaxBillNoAway rename to MaxBillNo");
        f.person.messages.clear();
        EXPECT_EQ(f.save(b), mode == Online ? BillSavedOnServer : BillSavedLocally);
        EXPECT_EQ(b.billNo().toString(), kFirstNumber) << "the counter was not rolled";
    }
}

// --- offline -----------------------------------------------------------------------

TEST(BillSaving, OfflineSaveWritesOnlyTheLocalFile)
{
    SaleFixture f;
    f.state.NetMode = Offline;
    Bill b = f.bookedBill();
    const std::string serverBefore = f.serverTables();

    EXPECT_EQ(f.save(b), BillSavedLocally);

    EXPECT_TRUE(f.person.messages.empty());
    EXPECT_EQ(f.serverTables(), serverBefore);
    expectCopied(f.local().query("select * from PosBill"), b.master);
    // The local PosDetail has no display columns; the lines are stored without them.
    expectCopied(f.local().query("select * from PosDetail order by OrderId"), b.detail);
    EXPECT_EQ(b.billNo().toString(), kFirstNumber);
    EXPECT_DOUBLE_EQ(f.sale.member.VIPUsedCount, 10);  // points follow with the upload
}

// --- pipelining --------------------------------------------------------------------

TEST(BillSaving, PipelinedSaveStoresWhatOneStatementPerRoundTripStores)
{
    std::vector<Line> lines;
    for (int i = 0; i < 50; ++i)
        lines.push_back({101 + i % 3, i % 7 == 3 ? -1.0 : 1.5 + i, 2.25 + i});
    auto arrange = [&](SaleFixture& f) {
        Bill b = f.bill(lines);
        b.insiderCode() = "S1";
        b.cardAmount3() = 30;
        b.cardNo() = "A01，A03";
        f.sale.member.VIPCardKind = MemberCardKind::StoredValue;
        b.billNo() = kFirstNumber;
        for (std::size_t line = 0; line < b.detail.size(); ++line)
            b.line(line).billNo() = kFirstNumber;
        return b;
    };
    SaleFixture pipelined;
    SaleFixture plain;
    Bill pipelinedBill = arrange(pipelined);
    Bill plainBill = arrange(plain);

    ASSERT_EQ(pipelined.save(pipelinedBill, true), BillSavedOnServer);
    {
        PgDatabase& server = plain.dm.conServer();
        const double points = BillPoints(plainBill.realAmount().toDouble(), 0, 1);
        Transaction transaction(server);
        for (const SqlStatement& s : serverSaveStatements(server.statements<SaleStatements>(), plainBill, MemberCardKind::StoredValue, points))
            server.execute(s.sql, s.params);
        transaction.commit();
    }

    EXPECT_EQ(pipelined.serverTables(), plain.serverTables());
    EXPECT_EQ(pipelined.server().query("select * from PosDetail").size(), 50u);
}

}  // namespace
}  // namespace pos
