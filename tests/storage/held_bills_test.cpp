#include "storage/held_bills.h"

#include "config/data_module.h"
#include "support/fixed_clock.h"
#include "support/goods_line.h"
#include "support/member_cards.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace pos {
namespace {

constexpr int kSalesperson = 31;

// A bill in progress on the local file of terminal "07", store 2, cashier 3, with the
// salesperson 31 "E31" 李四 and the cards of every kind known locally.
class HeldBillsTest : public ::testing::Test {
public:
    HeldBillsTest()
    {
        EXPECT_TRUE(dm.openLocalDatabase());
        state.MachineCode = "07";
        local().execute("insert into B_Employ(EmployId,Code,Name) values($1,'E31','李四')", {kSalesperson});
        local().execute("insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(0,1000,98),(1000,5000,92)");
        addCard("V1", "张三", "储值卡", "会员卡折扣", 0, 120, Value());
        addCard("V2", "王五", "普通卡", "会员价消费", 90, 300, 7.0);
        addCard("V3", "赵六", "普通卡", "累计消费折扣", 100, 2400, 12.0);
        addCard("V4", "钱七", "普通卡", "会员卡折扣", 95, 0, 2.0);
        startBill();
    }

    Database& local() { return dm.conClient(); }
    HeldBillStatements& held() { return local().statements<HeldBillStatements>(); }

    void addCard(const char* no, const char* holder, const char* type, const char* discountType, double discount,
                 double total, Value used)
    {
        test::addMemberCard(local(), {.cardNo = no,
                                      .holderName = holder,
                                      .cardType = type,
                                      .discountType = discountType,
                                      .discount = discount,
                                      .totalAmount = total,
                                      .usedCount = used});
    }

    // A new bill as the register starts it, without lines.
    void startBill()
    {
        bill = Bill::open(local());
        bill.master.append();
        bill.billNo() = "07202403150001";
        bill.billDate() = "2024-03-15 09:00:00";
        bill.storeId() = 2;
        bill.operatorId() = 3;
        bill.machineId() = 7;
        bill.insiderCode() = "";
        bill.discount() = 100.0;
    }

    // A bill with three lines, the first tagged as given away, held.
    bool holdThreeLines(const std::string& card = "", Value salesperson = Value())
    {
        bill.insiderCode() = card;
        bill.exeManId() = salesperson;
        test::appendGoodsLine(bill, 101, 2, 3.5).name() = "牙刷 [赠送]";
        test::appendGoodsLine(bill, 102, 1, 12);
        test::appendGoodsLine(bill, 103, 3, 10);
        // Line numbers after deletions are not contiguous.
        bill.line(1).orderId() = 5;
        bill.line(2).orderId() = 9;
        return HoldBill(held(), person, bill);
    }

    std::vector<std::string> holdNumbers()
    {
        const RowSet rows = HeldBillNumbers(held());
        std::vector<std::string> numbers;
        for (std::size_t r = 0; r < rows.size(); ++r)
            numbers.push_back(rows.at(r, "BillNo").toString());
        return numbers;
    }

    std::int64_t count(const char* table)
    {
        return local().query(std::string("select count(*) as n from ") + table).first("n").toInt();
    }

    void recall(const std::string& holdNo)
    {
        startBill();
        BillNumbering numbering(local().statements<NumberingStatements>(), clock);
        RecallBill(held(), local().statements<PricingStatements>(), numbering, clock, holdNo, state.MachineCode, sale);
    }

    test::TempDir dir;
    test::FixedClock clock{{2024, 3, 16, 11, 5, 0}};
    test::ScriptedPerson person;
    Settings settings{IniFile(dir.file("POS.ini"))};
    TDM dm{settings, person, clock, dir.file("POS.mdb")};
    TPosState state;
    Sale sale;
    CurrentMember& member = sale.member;
    Bill& bill = sale.bill;
    int& nextOrderId = sale.NextOrderId;
};

TEST_F(HeldBillsTest, HoldNumbersCountOnFromTheLargestHeldAndAreReused)
{
    for (int i = 0; i < 3; ++i) {
        startBill();
        ASSERT_TRUE(holdThreeLines());
    }
    EXPECT_EQ(holdNumbers(), (std::vector<std::string>{"0001", "0002", "0003"}));
    EXPECT_EQ(local().query("select count(*) as n from hPosDetail where BillNo='0002'").first("n").toInt(), 3);
    // The bill in memory keeps its own number.
    EXPECT_EQ(bill.billNo().toString(), "07202403150001");

    recall("0003");
    startBill();
    ASSERT_TRUE(holdThreeLines());
    recall("0001");
    startBill();
    ASSERT_TRUE(holdThreeLines());
    EXPECT_EQ(holdNumbers(), (std::vector<std::string>{"0002", "0003", "0004"}));
    EXPECT_TRUE(person.messages.empty());
}

TEST_F(HeldBillsTest, ALargestHoldNumberThatIsNoNumberStartsAgainAtOne)
{
    local().execute("insert into hPosBill(BillNo) values('X')");
    ASSERT_TRUE(holdThreeLines());
    EXPECT_EQ(holdNumbers(), (std::vector<std::string>{"0001", "X"}));
}

TEST_F(HeldBillsTest, BeyondTheLastHoldNumberTheHoldIsRefusedAndNothingStored)
{
    local().execute("insert into hPosBill(BillNo) values('9999')");
    EXPECT_FALSE(holdThreeLines());
    EXPECT_EQ(person.messageTexts(), std::vector<std::string>{"挂单已满9999张！请先取单或清除挂单。"});
    EXPECT_EQ(holdNumbers(), std::vector<std::string>{"9999"});
    EXPECT_EQ(count("hPosDetail"), 0);
}

struct HoldCheck {
    const char* name;
    void (*spoil)(Bill&);
    std::string message;
    std::string title;
};

void PrintTo(const HoldCheck& c, std::ostream* os) { *os << c.name; }

class HoldChecks : public HeldBillsTest, public ::testing::WithParamInterface<HoldCheck> {};

TEST_P(HoldChecks, AFailedCheckShowsItsMessageAndStoresNothing)
{
    test::appendGoodsLine(bill, 101, 1, 3.5);
    GetParam().spoil(bill);
    EXPECT_FALSE(HoldBill(held(), person, bill));
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, GetParam().message);
    EXPECT_EQ(person.messages[0].title, GetParam().title);
    EXPECT_EQ(person.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(count("hPosBill") + count("hPosDetail"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    HeldBills, HoldChecks,
    ::testing::Values(HoldCheck{"TwoMasters", [](Bill& b) { b.master.append(b.master.row(0)); },
                                "主表记录只能有一条记录！", "错误"},
                      HoldCheck{"NoStore", [](Bill& b) { b.storeId() = 0; }, "此单没有选择销售仓库！请选择销售仓库。",
                                "错误"},
                      HoldCheck{"NoCashier", [](Bill& b) { b.operatorId() = Value(); }, "挂单失败！收银员为空。", ""},
                      // Held, it would come back under a new number and be charged twice.
                      HoldCheck{"SaveInDoubt", [](Bill& b) { b.saveInDoubt = SaveInDoubt{"07202403150001", 4242}; },
                                "此单是否已保存到服务器尚未确认，不能挂单！请再次结算以核对。", "错误"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeldBillsTest, ADatabaseErrorRollsTheWholeHoldBack)
{
    local().execute("create trigger refuse_line before insert on hPosDetail when new.OrderId = 9 "
                    "begin select raise(abort, 'disk full'); end");
    EXPECT_FALSE(holdThreeLines());
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, "挂单操作挫败！");
    EXPECT_EQ(person.messages[0].title, "提示");
    EXPECT_EQ(person.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(count("hPosBill") + count("hPosDetail"), 0);
}

struct CardCase {
    const char* card;
    int kind;
    int discountType;
    double discount;
    double usedCount;
};

void PrintTo(const CardCase& c, std::ostream* os) { *os << c.card; }

class RecallCards : public HeldBillsTest, public ::testing::WithParamInterface<CardCase> {};

TEST_P(RecallCards, TheBillComesBackWithItsCardSalespersonAndLinesNumberedFromOne)
{
    const CardCase& c = GetParam();
    ASSERT_TRUE(holdThreeLines(c.card, kSalesperson));
    member.VIPCardBalance = 55;  // not the recall's
    recall("0001");

    EXPECT_EQ(bill.billNo().toString(), "07202403160001");  // peeked for the day of the clock
    EXPECT_EQ(bill.billDate().toString(), "2024-03-16 11:05:00");
    EXPECT_EQ(bill.insiderCode().toString(), c.card);
    EXPECT_EQ(bill.exeManId().toInt(), kSalesperson);
    EXPECT_EQ(bill.storeId().toInt(), 2);
    EXPECT_EQ(member.VIPCardNo, c.card);
    EXPECT_EQ(static_cast<int>(member.VIPCardKind), c.kind);
    EXPECT_EQ(static_cast<int>(member.VIPDiscountType), c.discountType);
    EXPECT_DOUBLE_EQ(member.VIPDiscount, c.discount);
    EXPECT_DOUBLE_EQ(member.VIPUsedCount, c.usedCount);
    EXPECT_DOUBLE_EQ(member.VIPCardBalance, 55);
    EXPECT_EQ(sale.ExeManCode, "E31");
    EXPECT_EQ(sale.ExeManName, "李四");

    ASSERT_EQ(bill.detail.size(), 3u);
    for (std::size_t r = 0; r < 3; ++r)
        EXPECT_EQ(bill.line(r).orderId().toInt(), static_cast<std::int64_t>(r + 1));
    EXPECT_EQ(bill.line(0).name().toString(), "牙刷 [赠送]");
    EXPECT_EQ(bill.line(2).code().toString(), "C103");
    EXPECT_DOUBLE_EQ(bill.line(2).amount().toDouble(), 30);
    EXPECT_EQ(nextOrderId, 4);
    EXPECT_EQ(count("hPosBill") + count("hPosDetail"), 0);
}

INSTANTIATE_TEST_SUITE_P(HeldBills, RecallCards,
                         ::testing::Values(CardCase{"V1", 2, 3, 100, 0},   // stored value, no discount of its own
                                           CardCase{"V2", 1, 1, 100, 7},   // member prices
                                           CardCase{"V3", 1, 2, 92, 12},   // band of 2400 in purchases
                                           CardCase{"V4", 1, 3, 95, 2}),   // the card's discount
                         [](const auto& info) { return std::string(info.param.card); });

TEST_F(HeldBillsTest, ASalespersonNoLongerPresentComesBackWithoutName)
{
    ASSERT_TRUE(holdThreeLines("", kSalesperson));
    local().execute("delete from B_Employ");
    sale.ExeManCode = "E99";
    recall("0001");
    EXPECT_EQ(bill.exeManId().toInt(), kSalesperson);
    EXPECT_EQ(sale.ExeManCode, "");
    EXPECT_EQ(sale.ExeManName, "");
    EXPECT_EQ(member.VIPCardNo, "");
    EXPECT_EQ(bill.detail.size(), 3u);
}

TEST_F(HeldBillsTest, ANumberNoLongerHeldChangesNothing)
{
    ASSERT_TRUE(holdThreeLines());
    recall("0002");
    EXPECT_EQ(bill.billNo().toString(), "07202403150001");
    EXPECT_TRUE(bill.detail.empty());
    EXPECT_EQ(nextOrderId, 1);
    EXPECT_EQ(holdNumbers(), std::vector<std::string>{"0001"});
}

TEST_F(HeldBillsTest, AHeldCopyThatCannotBeDeletedStaysToBeRecalledAgain)
{
    ASSERT_TRUE(holdThreeLines());
    local().execute("create trigger keep_lines before delete on hPosDetail "
                    "begin select raise(abort, 'locked'); end");
    recall("0001");
    EXPECT_EQ(bill.detail.size(), 3u);
    EXPECT_EQ(holdNumbers(), std::vector<std::string>{"0001"});
    EXPECT_EQ(count("hPosDetail"), 3);
}

// Once the hold returns the bill is committed to the file: a process that holds it and
// ends at once (no close, no checkpoint) leaves it there for the next one to open. This
// shows the end of a process only; surviving a power cut rests on the full sync of every
// commit, of which the test checks the setting, not the effect.
TEST_F(HeldBillsTest, AHeldBillOutlivesTheProcessThatHeldIt)
{
    EXPECT_EQ(local().query("pragma journal_mode").row(0).at(0).toString(), "wal");
    EXPECT_EQ(local().query("pragma synchronous").row(0).at(0).toInt(), 2);  // full
    test::appendGoodsLine(bill, 101, 1, 3.5);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TDM other{settings, person, clock, dir.file("POS.mdb")};
        const bool held = other.openLocalDatabase() && HoldBill(other.conClient().statements<HeldBillStatements>(), person, bill);
        _exit(held ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    TDM reopened{settings, person, clock, dir.file("POS.mdb")};
    ASSERT_TRUE(reopened.openLocalDatabase());
    EXPECT_EQ(reopened.conClient().query("select count(*) as n from hPosDetail where BillNo='0001'").first("n").toInt(), 1);
}

TEST_F(HeldBillsTest, ClearingDeletesEveryHeldBill)
{
    for (int i = 0; i < 2; ++i) {
        startBill();
        ASSERT_TRUE(holdThreeLines());
    }
    ClearHeldBills(held());
    EXPECT_EQ(count("hPosBill") + count("hPosDetail"), 0);
    startBill();
    ASSERT_TRUE(holdThreeLines());
    EXPECT_EQ(holdNumbers(), std::vector<std::string>{"0001"});
}

}  // namespace
}  // namespace pos
