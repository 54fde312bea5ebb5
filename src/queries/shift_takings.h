#pragma once

#include "base/clock.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "base/statement_set.h"
#include "config/data_module.h"
#include "config/settings.h"

#include <optional>
#include <string>

namespace pos {

// The takings of an operator: the shift sums on the connection of the working mode, the
// day's totals on the server's view of the bills.
class TakingsStatements : public StatementSet {
public:
    explicit TakingsStatements(Database& db)
        : StatementSet(db),
          shiftTakings(*this, pick("select sum(coalesce(RealAmount,0)) as RealAmount, sum(coalesce(CashAmount,0)) as CashAmount, "
                                   "sum(coalesce(CardAmount1,0)) as CardAmount1, sum(coalesce(CardAmount2,0)) as CardAmount2, "
                                   "sum(coalesce(CardAmount3,0)) as CardAmount3 from PosBill "
                                   "where OperatorId=$1 and BillDate>=$2::timestamp and BillDate<=$3::timestamp",
                                   "select sum(ifnull(RealAmount,0)) as RealAmount, sum(ifnull(CashAmount,0)) as CashAmount, "
                                   "sum(ifnull(CardAmount1,0)) as CardAmount1, sum(ifnull(CardAmount2,0)) as CardAmount2, "
                                   "sum(ifnull(CardAmount3,0)) as CardAmount3 from PosBill "
                                   "where OperatorId=$1 and BillDate>=$2 and BillDate<=$3")),
          takingsToday(*this, serverOnly("select sum(coalesce(Amount,0)) as Amount, sum(coalesce(RealAmount,0)) as RealAmount, "
                                         "sum(coalesce(Amount,0)-coalesce(RealAmount,0)) as OAmount from vPosBillMaster "
                                         "where OperatorId=$1 and BillDate::date=$2::timestamp::date group by OperatorId")),
          waitingInWindow(*this, localOnly("select count(*) as n from PosBill "
                                           "where OperatorId=$1 and BillDate>=$2 and BillDate<=$3"))
    {
    }

    Statement shiftTakings;
    Statement takingsToday;
    // The operator's bills of a window still waiting in the local file for upload.
    Statement waitingInWindow;
};

// The tender sums of the bills of a window; no bills sum to 0.
struct ShiftTakings {
    double RealAmount = 0;
    double CashAmount = 0;
    double CardAmount3 = 0;
    double CardAmount1 = 0;
    double CardAmount2 = 0;
};

// The bills of operatorId with start <= BillDate <= end, both ends to the second.
ShiftTakings QueryShiftTakings(TakingsStatements& sql, int operatorId, const DateTime& start, const DateTime& end);

// How many bills of operatorId with start <= BillDate <= end wait in the local file.
std::int64_t CountWaitingBills(TakingsStatements& local, int operatorId, const DateTime& start, const DateTime& end);

// The shift receipt in GBK with CR LF line ends: operator, the window to the minute,
// the five tender sums and footerNum empty lines.
std::string ShiftReceiptText(const std::string& operatorCode, const ShiftTakings& totals, const DateTime& start,
                             const DateTime& end, int footerNum);

// Writes the shift receipt to the printer port `device` ("LPT1".."LPT4"), one copy,
// FooterNum read now. DeviceError when the port cannot be opened or written.
void PrintShiftReceipt(const Settings& settings, const std::string& device, const std::string& operatorCode,
                       const ShiftTakings& totals, const DateTime& start, const DateTime& end);

// What the takings run works with: both connections, the working mode and the signed-on
// operator (read at the call), the printer settings and the person told.
struct ShiftTakingsContext {
    TDM& dm;
    const TPosState& state;
    const Settings& settings;
    Person& person;
};

// What Enter in the end field of the takings window came to.
enum class ShiftTakingsResult { BadStart, BadEnd, NoPrinter, Printed };

// The takings window's run: reads both fields, sums the signed-on operator's bills on the
// working mode's database and prints them on PrintPort. A bad field or a missing port is
// told to the person; online, so are the operator's bills of the window still waiting in
// the local file, which the server's sums leave out. Database and device errors pass on.
ShiftTakingsResult RunShiftTakings(const ShiftTakingsContext& c, const std::string& startText, const std::string& endText);

// The day's totals of an operator as the server's view gives them.
struct TakingsToday {
    Value Amount;      // before rounding off
    Value RealAmount;  // amount due
    Value OAmount;     // rounded off
};

// The bills of operatorId on the calendar day of `now`, on the server; nullopt when the
// operator has none that day.
std::optional<TakingsToday> QueryTakingsToday(TakingsStatements& server, int operatorId, const DateTime& now);

}  // namespace pos
