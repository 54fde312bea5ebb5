#include "storage/bill_numbering.h"

#include "config/data_module.h"
#include "support/fixed_clock.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace pos {
namespace {

class LocalFile {
public:
    LocalFile() { EXPECT_TRUE(dm.openLocalDatabase()); }

    Database& db() { return dm.conClient(); }

    test::TempDir dir;
    test::FixedClock clock;
    test::ScriptedPerson person;
    Settings settings{IniFile(dir.file("POS.ini"))};
    TDM dm{settings, person, clock, dir.file("POS.mdb")};
};

enum class Op { Peek, Take, Roll };

struct Step {
    DateTime today;
    Op op;
    std::string number;  // expected from peek and take
    std::string counterDay;
    std::int64_t counterNo;
};

struct Counter {
    Value billDate;
    int maxNo;
};

struct NumberingCase {
    const char* name;
    std::optional<Counter> counter;  // none: MaxBillNo is empty
    std::string machineCode;
    std::vector<Step> steps;
};

void PrintTo(const NumberingCase& c, std::ostream* os) { *os << c.name; }

constexpr DateTime day(int y, int m, int d) { return {y, m, d, 9, 41, 7}; }

const NumberingCase kCases[] = {
    {"EmptyCounterStartsTodayAndPeekDoesNotConsume",
     std::nullopt,
     "07",
     {{day(2024, 3, 15), Op::Peek, "07202403150001", "2024-03-15", 1},
      {day(2024, 3, 15), Op::Take, "07202403150001", "2024-03-15", 2},
      {day(2024, 3, 15), Op::Peek, "07202403150002", "2024-03-15", 2}}},
    {"NewCalendarDayRestartsTheSequence",
     Counter{"2024-03-14 00:00:00", 37},
     "07",
     {{day(2024, 3, 15), Op::Peek, "07202403150001", "2024-03-15", 1}}},
    {"NewYearRestartsTheSequence",
     Counter{"2023-12-31 00:00:00", 50},
     "07",
     {{day(2024, 1, 1), Op::Take, "07202401010001", "2024-01-01", 2}}},
    {"CounterAheadOfTheCalendarKeepsItsDayUntilPassed",
     Counter{"2024-03-15 00:00:00", 8},
     "07",
     {{day(2024, 3, 15), Op::Roll, "", "2024-03-16", 1},
      {day(2024, 3, 15), Op::Take, "07202403160001", "2024-03-16", 2},
      {day(2024, 3, 16), Op::Take, "07202403160002", "2024-03-16", 3},
      {day(2024, 3, 17), Op::Peek, "07202403170001", "2024-03-17", 1}}},
    {"FailedSaveAfterTakeNeverOffersTheNumberAgain",
     Counter{"2024-03-15 00:00:00", 3},
     "07",
     {{day(2024, 3, 15), Op::Take, "07202403150003", "2024-03-15", 4},
      {day(2024, 3, 15), Op::Roll, "", "2024-03-16", 1},
      {day(2024, 3, 15), Op::Peek, "07202403160001", "2024-03-16", 1}}},
    {"SequenceGrowsPastFourDigits",
     Counter{"2024-03-15 00:00:00", 9999},
     "07",
     {{day(2024, 3, 15), Op::Take, "07202403159999", "2024-03-15", 10000},
      {day(2024, 3, 15), Op::Take, "072024031510000", "2024-03-15", 10001}}},
    {"RollFromLeapDayIntoMarch",
     Counter{"2024-02-29 00:00:00", 4},
     "07",
     {{day(2024, 2, 29), Op::Roll, "", "2024-03-01", 1},
      {day(2024, 2, 29), Op::Peek, "07202403010001", "2024-03-01", 1}}},
    {"RollIntoLeapDay",
     Counter{"2024-02-28 00:00:00", 4},
     "07",
     {{day(2024, 2, 28), Op::Roll, "", "2024-02-29", 1}}},
    {"RollAtTheEndOfFebruaryInACommonYear",
     Counter{"2023-02-28 00:00:00", 2},
     "07",
     {{day(2023, 2, 28), Op::Roll, "", "2023-03-01", 1},
      {day(2023, 2, 28), Op::Peek, "07202303010001", "2023-03-01", 1}}},
    {"RollAtTheEndOfTheYear",
     Counter{"2024-12-31 00:00:00", 5},
     "07",
     {{day(2024, 12, 31), Op::Roll, "", "2025-01-01", 1},
      {day(2024, 12, 31), Op::Take, "07202501010001", "2025-01-01", 2},
      {day(2025, 1, 2), Op::Peek, "07202501020001", "2025-01-02", 1}}},
    {"EmptyMachineCodeBeginsWithTheDate",
     std::nullopt,
     "",
     {{day(2024, 3, 15), Op::Take, "202403150001", "2024-03-15", 2}}},
    {"UnreadableCounterDayStartsToday",
     Counter{Value(), 12},
     "07",
     {{day(2024, 3, 15), Op::Peek, "07202403150001", "2024-03-15", 1}}},
};

class BillNumberingTest : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(BillNumberingTest, NumbersAndCounter)
{
    const NumberingCase& c = GetParam();
    LocalFile local;
    if (c.counter)
        local.db().execute("insert into MaxBillNo(BillDate,MaxNo) values($1,$2)",
                           {c.counter->billDate, c.counter->maxNo});
    BillNumbering numbering(local.db().statements<NumberingStatements>(), local.clock);

    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + " on " + step.today.dateText());
        local.clock.set(step.today);
        switch (step.op) {
        case Op::Peek:
            EXPECT_EQ(numbering.peek(c.machineCode), step.number);
            break;
        case Op::Take:
            EXPECT_EQ(numbering.take(c.machineCode), step.number);
            break;
        case Op::Roll:
            numbering.dayRoll();
            break;
        }
        RowSet counter = local.db().query("select BillDate, MaxNo from MaxBillNo");
        ASSERT_EQ(counter.size(), 1u);
        EXPECT_EQ(counter.first("BillDate").toString(), step.counterDay + " 00:00:00");
        EXPECT_EQ(counter.first("MaxNo").toInt(), step.counterNo);
    }
}

INSTANTIATE_TEST_SUITE_P(Counter, BillNumberingTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BillNumberingErrors, DatabaseErrorsReachTheCaller)
{
    LocalFile local;
    local.db().execute("drop table MaxBillNo");
    BillNumbering numbering(local.db().statements<NumberingStatements>(), local.clock);
    const std::function<void()> calls[] = {
        [&] { numbering.peek("07"); },
        [&] { numbering.take("07"); },
        [&] { numbering.dayRoll(); },
    };
    for (const auto& call : calls)
        EXPECT_THROW(call(), DbError);
}

}  // namespace
}  // namespace pos
