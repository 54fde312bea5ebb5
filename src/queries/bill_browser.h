#pragma once

#include "base/pos_state.h"
#include "base/statement_set.h"
#include "config/terminal.h"
#include "reports/report_engine.h"

#include <optional>
#include <string>

namespace pos {

// The saved bills of a time window and their lines, on either database: the server's
// in online mode, the local file's (bills not yet uploaded) offline.
class BillBrowserStatements : public StatementSet {
public:
    explicit BillBrowserStatements(Database& db);

    Statement bills;  // $1 start, $2 end, both "yyyy-mm-dd hh:mm:ss", inclusive
    Statement lines;  // $1 BillNo
    Statement card;   // $1 CardNo: HolderName, UsedCount
};

// A time window as the two masked fields "9999-99-99 99:99" give it.
struct BillWindow {
    std::string start;  // "yyyy-mm-dd hh:mm:00", or 00:00:00 for a blank time
    std::string end;    // "yyyy-mm-dd hh:mm:59", or 23:59:59 for a blank time
};

enum class WindowField { Start, End };

// The start and end field texts turned into a window; the field that gives no valid
// date and time is reported instead. A partly typed time is not valid.
struct WindowParse {
    std::optional<BillWindow> window;
    WindowField badField = WindowField::Start;
};
WindowParse ParseBillWindow(const std::string& startText, const std::string& endText);

// The window the browser opens on: from today 00:00 to now, to the minute.
// `now` is "yyyy-mm-dd hh:mm:ss".
struct WindowFields {
    std::string start;  // "yyyy-mm-dd 00:00"
    std::string end;    // "yyyy-mm-dd hh:mm"
};
WindowFields InitialWindowFields(const std::string& now);

RowSet BrowseBills(BillBrowserStatements& sql, const BillWindow& window);
RowSet BrowseBillLines(BillBrowserStatements& sql, const std::string& billNo);

// The register's values a receipt reads, as a reprint of a saved bill sets them.
struct ReprintValues {
    std::string OperatorCode;
    std::string VIPCardNo;
    std::string VIPHolderName;
    double VIPUsedCount = 0;
    std::string ExeManCode;
    std::string ExeManName;
    double DisAmount = 0;
    double TotalQty = 0;
};

// The reprint values of row `row` of the bill list, over that bill's lines.
ReprintValues ReprintValuesOf(BillBrowserStatements& sql, const RowSet& bills, std::size_t row, const RowSet& lines);

// Puts reprint values into the register's records and puts the register's own back when
// it goes out of scope, however the print in between ended.
class ReprintScope {
public:
    ReprintScope(TPosState& state, CurrentMember& member, BillTotals& totals, const ReprintValues& values);
    ~ReprintScope();
    ReprintScope(const ReprintScope&) = delete;
    ReprintScope& operator=(const ReprintScope&) = delete;

private:
    TPosState& state_;
    CurrentMember& member_;
    BillTotals& totals_;
    TPosState savedState_;
    CurrentMember savedMember_;
    BillTotals savedTotals_;
};

// Prints the receipt of row `row` of the bill list again, through the sale's receipt
// printing, when the terminal has a printer ("Printer" is "有"); nothing otherwise. The
// register's values are back before a print failure passes on. Returns whether it printed.
bool ReprintBill(Terminal& t, ReportEngine& report, std::string programDir, const RowSet& bills, std::size_t row,
                 const RowSet& lines);

}  // namespace pos
