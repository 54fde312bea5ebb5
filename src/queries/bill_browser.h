#pragma once

#include "base/sale.h"
#include "base/statement_set.h"
#include "peripherals/receipt_printing.h"
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

// The sale a reprint prints for row `row` of the bill list, over that bill's lines: the
// bill as saved, its member card (holder and points as the server holds them now), its
// salesman and the totals of its lines. The card's kind, balance and cumulative
// purchases after that sale are not kept, so the member's kind stays Unknown and they
// are not printed.
Sale ReprintSaleOf(BillBrowserStatements& sql, const RowSet& bills, std::size_t row, const RowSet& lines);

// Prints the receipt of row `row` of the bill list again, through the sale's receipt
// printing, when the terminal has a printer ("Printer" is "有"); nothing otherwise. The
// receipt names the bill's own cashier; the terminal, shift and store are `receipt`'s.
// Returns whether it printed; a print failure passes on.
bool ReprintBill(ReceiptContext receipt, ReportEngine& report, BillBrowserStatements& sql, const RowSet& bills,
                 std::size_t row, const RowSet& lines);

}  // namespace pos
