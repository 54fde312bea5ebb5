#include "queries/bill_browser.h"

#include "base/bill.h"
#include "peripherals/receipt_printing.h"
#include "queries/time_field.h"

#include <utility>

namespace pos {

namespace {

constexpr const char* kBillsSql =
    "select a.*, b.Code as OperatorCode, b.Name as OperatorName, c.Code as ExeManCode, c.Name as ExeManName, "
    "d.Name as StoreName from PosBill a left join PosOperator b on a.OperatorId=b.OperatorId "
    "left join B_Employ c on a.ExeManId=c.EmployId left join B_Store d on a.StoreId=d.StoreId "
    "where a.BillDate>=$1 and a.BillDate<=$2 order by a.BillDate, a.BillNo";
constexpr const char* kLinesSql =
    "select a.*, b.Code, b.BarCode, b.Name, b.Unit1 from PosDetail a left join B_Goods b on a.GoodsId=b.GoodsId "
    "where a.BillNo=$1 order by a.OrderId";
constexpr const char* kCardSql = "select HolderName, UsedCount from B_VIPCards where CardNo=$1";

// "yyyy-mm-dd hh:mm" into "yyyy-mm-dd hh:mm:<seconds>"; a blank time (spaces, colons or
// nothing) gives the date with the whole-day bound.
std::optional<std::string> fieldTime(const std::string& text, int seconds, const char* blankTime)
{
    const std::string date = text.substr(0, 10);
    if (text.size() >= 10 && text.find_first_not_of(" :", 10) == std::string::npos) {
        if (!ReadTimeField(date + " 00:00", 0))
            return std::nullopt;
        return date + " " + blankTime;
    }
    const std::optional<DateTime> t = ReadTimeField(text, seconds);
    if (!t)
        return std::nullopt;
    return t->text();
}

}  // namespace

BillBrowserStatements::BillBrowserStatements(Database& db)
    : StatementSet(db), bills(*this, kBillsSql), lines(*this, kLinesSql), card(*this, kCardSql)
{
}

WindowParse ParseBillWindow(const std::string& startText, const std::string& endText)
{
    const std::optional<std::string> start = fieldTime(startText, 0, "00:00:00");
    if (!start)
        return {std::nullopt, WindowField::Start};
    const std::optional<std::string> end = fieldTime(endText, 59, "23:59:59");
    if (!end)
        return {std::nullopt, WindowField::End};
    return {BillWindow{*start, *end}, WindowField::Start};
}

WindowFields InitialWindowFields(const std::string& now)
{
    return {now.substr(0, 10) + " 00:00", now.substr(0, 16)};
}

RowSet BrowseBills(BillBrowserStatements& sql, const BillWindow& window)
{
    return sql.bills.query({window.start, window.end});
}

RowSet BrowseBillLines(BillBrowserStatements& sql, const std::string& billNo) { return sql.lines.query({billNo}); }

ReprintValues ReprintValuesOf(BillBrowserStatements& sql, const RowSet& bills, std::size_t row, const RowSet& lines)
{
    ReprintValues v;
    if (row < bills.size()) {
        v.OperatorCode = bills.at(row, "OperatorCode").toString();
        v.ExeManCode = bills.at(row, "ExeManCode").toString();
        v.ExeManName = bills.at(row, "ExeManName").toString();
        v.VIPCardNo = bills.at(row, "InsiderCode").toString();
    }
    if (!v.VIPCardNo.empty()) {
        const RowSet card = sql.card.query({v.VIPCardNo});
        if (!card.empty()) {
            v.VIPHolderName = card.at(0, "HolderName").toString();
            v.VIPUsedCount = card.at(0, "UsedCount").toDouble();
        }
    }
    for (std::size_t r = 0; r < lines.size(); ++r) {
        const double quantity = lines.at(r, "Quantity").toDouble();
        v.TotalQty += quantity;
        v.DisAmount += quantity * lines.at(r, "SPrice1").toDouble() - lines.at(r, "Amount").toDouble();
    }
    return v;
}

ReprintScope::ReprintScope(TPosState& state, CurrentMember& member, BillTotals& totals, const ReprintValues& v)
    : state_(state), member_(member), totals_(totals), savedState_(state), savedMember_(member), savedTotals_(totals)
{
    state.OperatorCode = v.OperatorCode;
    state.ExeManCode = v.ExeManCode;
    state.ExeManName = v.ExeManName;
    member.VIPCardNo = v.VIPCardNo;
    member.VIPHolderName = v.VIPHolderName;
    member.VIPUsedCount = v.VIPUsedCount;
    // The old bill keeps neither the card's kind nor its balance and total after that
    // sale; today's would print as if they were the bill's, so they are left out.
    member.VIPCardKind = kCardKindUnknown;
    member.VIPCardBalance = 0;
    member.VIPTotalAmount = 0;
    totals.DisAmount = v.DisAmount;
    totals.TotalQty = v.TotalQty;
}

ReprintScope::~ReprintScope()
{
    state_ = std::move(savedState_);
    member_ = std::move(savedMember_);
    totals_ = savedTotals_;
}

bool ReprintBill(Terminal& t, ReportEngine& report, std::string programDir, const RowSet& bills, std::size_t row,
                 const RowSet& lines)
{
    // An empty list has no bill to print: a receipt of nothing would only waste paper.
    if (!t.settings.optionPresent("Printer") || row >= bills.size())
        return false;
    BillBrowserStatements& sql = t.sql<BillBrowserStatements>();
    const ReprintValues values = ReprintValuesOf(sql, bills, row, lines);
    RowSet master(bills.columns());
    master.append(bills.row(row));
    const Bill bill = Bill::of(std::move(master), lines);
    const ReprintScope scope(t.state, t.member, t.totals, values);
    PrintBill(ReceiptContext::of(t, std::move(programDir)), report, bill);
    return true;
}

}  // namespace pos
