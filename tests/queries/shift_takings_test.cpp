#include "queries/shift_takings.h"
#include "queries/time_field.h"

#include "peripherals/device_error.h"
#include "support/golden_file.h"
#include "support/signed_on_terminal.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

constexpr int kOtherOperator = 4;

// The cashier's bills around 2024-03-15 and one of another operator, on one side.
void addBills(Database& db)
{
    const char* insert = "insert into PosBill(BillNo,BillDate,OperatorId,RealAmount,CashAmount,CardAmount1,CardAmount2,"
                         "CardAmount3) values($1,$2,$3,$4,$5,$6,$7,$8)";
    db.execute(insert, {"B1", "2024-03-15 08:00:00", test::kCashier, 100, 60, 20, 10, 10});
    db.execute(insert, {"B2", "2024-03-15 10:15:30", test::kCashier, 50.5, 50.5, 0, 0, 0});
    db.execute(insert, {"B3", "2024-03-15 10:16:00", test::kCashier, 7, 7, 0, 0, 0});
    db.execute(insert, {"B4", "2024-03-15 09:00:00", kOtherOperator, 1000, 1000, 0, 0, 0});
    db.execute(insert, {"B5", "2024-03-14 23:59:59", test::kCashier, 3, 3, 0, 0, 0});
    // A bill whose tenders were never filled in counts them as 0.
    db.execute(insert, {"B6", "2024-03-15 11:00:00", test::kCashier, 2, nullptr, nullptr, nullptr, nullptr});
}

struct Window {
    const char* name;
    const char* start;
    const char* end;
    ShiftTakings expected;
};

const Window kWindows[] = {
    {"WholeDayWithoutOtherOperators", "2024-03-15 00:00", "2024-03-15 23:59", {159.5, 117.5, 10, 20, 10}},
    {"OneMinuteCoversItsSixtySeconds", "2024-03-15 10:15", "2024-03-15 10:15", {50.5, 50.5, 0, 0, 0}},
    {"LastSecondOfTheDay", "2024-03-14 23:59", "2024-03-14 23:59", {3, 3, 0, 0, 0}},
    {"NoBills", "2024-03-16 00:00", "2024-03-16 23:59", {}},
    {"EndBeforeStart", "2024-03-15 23:59", "2024-03-15 00:00", {}},
};

class ShiftTakingsTest : public ::testing::TestWithParam<std::tuple<Window, WorkingMode>> {
protected:
    void SetUp() override
    {
        f_.state.NetMode = std::get<1>(GetParam());
        addBills(f_.side(f_.state.NetMode));
    }
    test::SignedOnTerminal f_;
};

TEST_P(ShiftTakingsTest, SumsTheCashiersBillsOfTheWindow)
{
    const Window& w = std::get<0>(GetParam());
    const ShiftTakings got = QueryShiftTakings(f_.terminal.db().statements<TakingsStatements>(), test::kCashier,
                                               *ReadTimeField(w.start, 0), *ReadTimeField(w.end, 59));
    EXPECT_DOUBLE_EQ(got.RealAmount, w.expected.RealAmount);
    EXPECT_DOUBLE_EQ(got.CashAmount, w.expected.CashAmount);
    EXPECT_DOUBLE_EQ(got.CardAmount3, w.expected.CardAmount3);
    EXPECT_DOUBLE_EQ(got.CardAmount1, w.expected.CardAmount1);
    EXPECT_DOUBLE_EQ(got.CardAmount2, w.expected.CardAmount2);
}

INSTANTIATE_TEST_SUITE_P(Windows, ShiftTakingsTest,
                         ::testing::Combine(::testing::ValuesIn(kWindows), ::testing::Values(Online, Offline)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name)
                                    + (std::get<1>(info.param) == Online ? "Online" : "Offline");
                         });

TEST(ReadTimeField, TakesOnlyTheWholeFormOfARealTime)
{
    const std::optional<DateTime> t = ReadTimeField("2024-02-29 23:05", 59);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->text(), "2024-02-29 23:05:59");
    for (const char* bad : {"", "2023-02-29 10:00", "2024-13-01 10:00", "2024-03-15 24:00", "2024-03-15 10:60",
                            "2024-03-15 1:00", "2024-03-15 10:0", "2024-3-15 10:00", "2024-03-15T10:00",
                            "2024-03-15 10:00:00", "20a4-03-15 10:00"})
        EXPECT_FALSE(ReadTimeField(bad, 0)) << bad;
}

// The shift receipt on the printer file, against its golden bytes.
struct Receipt {
    const char* golden;  // tests/queries/golden/shift_receipt/<golden>.txt
    const char* start;
    const char* end;
    const char* footerNum;
};

const Receipt kReceipts[] = {
    {"whole_day", "2024-03-15 00:00", "2024-03-15 23:59", "2"},
    {"no_bills_default_footer", "2024-03-16 00:00", "2024-03-16 23:59", "x"},
    {"one_minute_no_footer", "2024-03-15 10:15", "2024-03-15 10:15", "0"},
};

class ShiftReceiptTest : public ::testing::TestWithParam<Receipt> {
protected:
    ShiftReceiptTest()
    {
        f_.state.OperatorCode = "1003";
        f_.state.NetMode = Offline;
        addBills(f_.side(Offline));
        f_.settings.ini().write(kPortsSection, "LPT2", printer());
        f_.settings.setOption("PrintPort", "LPT2");
    }
    std::string printer() const { return f_.dir.file("printer-LPT2.txt"); }
    ShiftTakingsContext context() { return {f_.dm, f_.state, f_.settings, f_.person}; }

    test::SignedOnTerminal f_;
};

TEST_P(ShiftReceiptTest, PrintsTheGoldenBytesAndNoMessage)
{
    const Receipt& c = GetParam();
    f_.settings.setOption("FooterNum", c.footerNum);
    test::writeFile(printer(), "an earlier job that must not remain");

    EXPECT_EQ(RunShiftTakings(context(), c.start, c.end), ShiftTakingsResult::Printed);

    EXPECT_EQ(test::readFile(printer()),
              test::readGolden("queries/golden/shift_receipt/" + std::string(c.golden) + ".txt"));
    EXPECT_TRUE(f_.person.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Receipts, ShiftReceiptTest, ::testing::ValuesIn(kReceipts),
                         [](const auto& info) { return std::string(info.param.golden); });

TEST_F(ShiftReceiptTest, BadFieldsAndAMissingPortPrintNothing)
{
    const struct {
        const char* start;
        const char* end;
        const char* printPort;
        ShiftTakingsResult result;
        const char* message;
        const char* title;
    } cases[] = {
        {"2024-03-15 25:00", "2024-03-15 10:00", "LPT2", ShiftTakingsResult::BadStart, "输入的时间格式不正确！", ""},
        {"2024-03-15 10:00", "2024-03-15 10:", "LPT2", ShiftTakingsResult::BadEnd, "输入的时间格式不正确！", ""},
        {"2024-03-15 10:00", "2024-03-15 11:00", "", ShiftTakingsResult::NoPrinter, "没有设置打印机所接端口！", "提示"},
    };
    for (const auto& c : cases) {
        f_.person.messages.clear();
        f_.settings.setOption("PrintPort", c.printPort);
        test::writeFile(printer(), "untouched");

        EXPECT_EQ(RunShiftTakings(context(), c.start, c.end), c.result) << c.message;

        ASSERT_EQ(f_.person.messages.size(), 1u);
        EXPECT_EQ(f_.person.messages[0].text, c.message);
        EXPECT_EQ(f_.person.messages[0].title, c.title);
        EXPECT_EQ(f_.person.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(test::readFile(printer()), "untouched");
    }
}

// Online the sums are the server's: the cashier's bills of the window still waiting in
// the local file (B1, B2, B3, B6 of the day) are missing from them and are told, and the
// receipt is printed all the same.
TEST_F(ShiftReceiptTest, OnlineTakingsTellOfTheCashiersBillsWaitingForUpload)
{
    f_.state.NetMode = Online;
    const struct {
        const char* start;
        const char* end;
        std::vector<std::string> messages;
    } cases[] = {
        {"2024-03-15 00:00", "2024-03-15 23:59", {"本机还有4张单据未上传，不在本次统计之内！请上传后再统计。"}},
        {"2024-03-15 10:15", "2024-03-15 10:15", {"本机还有1张单据未上传，不在本次统计之内！请上传后再统计。"}},
        {"2024-03-16 00:00", "2024-03-16 23:59", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        f_.person.messages.clear();
        test::writeFile(printer(), "");
        EXPECT_EQ(RunShiftTakings(context(), c.start, c.end), ShiftTakingsResult::Printed);
        EXPECT_EQ(f_.person.messageTexts(), c.messages);
        EXPECT_NE(test::readFile(printer()), "");
    }
}

TEST_F(ShiftReceiptTest, ADeviceThatCannotBeWrittenRaises)
{
    f_.settings.ini().write(kPortsSection, "LPT2", "/dev/pos-test-no-such-printer");
    EXPECT_THROW(RunShiftTakings(context(), "2024-03-15 00:00", "2024-03-15 23:59"), DeviceError);
    EXPECT_TRUE(f_.person.messages.empty());
}

// The day's totals on the server's view: the server's calendar day, the cashier's own bills.
TEST(TakingsToday, SumsTheCashiersBillsOfTheServersDay)
{
    test::SignedOnTerminal f;
    auto& server = f.dm.conServer().statements<TakingsStatements>();
    const DateTime now = f.dm.serverTime(Online);
    EXPECT_FALSE(QueryTakingsToday(server, test::kCashier, now)) << "no bill today";

    Database& db = f.side(Online);
    const char* insert = "insert into PosBill(BillNo,BillDate,OperatorId,Amount,RealAmount) values($1,$2,$3,$4,$5)";
    db.execute(insert, {"T1", now.date().text(), test::kCashier, 10.3, 10});
    db.execute(insert, {"T2", now.text(), test::kCashier, 5, 5});
    db.execute(insert, {"T3", now.text(), kOtherOperator, 99, 90});
    db.execute(insert, {"T4", now.date().addDays(-1).text(), test::kCashier, 7, 7});
    db.execute(insert, {"T5", now.date().addDays(1).text(), test::kCashier, 8, 8});

    const std::optional<TakingsToday> got = QueryTakingsToday(server, test::kCashier, now);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Amount.toString(), "15.3");
    EXPECT_EQ(got->RealAmount.toString(), "15");
    EXPECT_EQ(got->OAmount.toString(), "0.3");
}

}  // namespace
}  // namespace pos
