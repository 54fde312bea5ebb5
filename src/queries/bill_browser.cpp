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

Sale ReprintSaleOf(BillBrowserStatements& sql, const RowSet& bills, std::size_t row, const RowSet& lines)
{
    RowSet master(bills.columns());
    master.append(bills.row(row));
    Sale sale;
    sale.bill = Bill::of(std::move(master), lines);
    sale.ExeManCode = bills.at(row, "ExeManCode").toString();
    sale.ExeManName = bills.at(row, "ExeManName").toString();
    CurrentMember& member = sale.member;
    member.VIPCardNo = sale.bill.insiderCode().toString();
    if (!member.VIPCardNo.empty()) {
        const RowSet card = sql.card.query({member.VIPCardNo});
        if (!card.empty()) {
            member.VIPHolderName = card.at(0, "HolderName").toString();
            member.VIPUsedCount = card.at(0, "UsedCount").toDouble();
        }
    }
    for (std::size_t r = 0; r < sale.bill.detail.size(); ++r) {
        const ConstBillLine line = std::as_const(sale.bill).line(r);
        const double quantity = line.quantity().toDouble();
        sale.totals.TotalQty += quantity;
        sale.totals.DisAmount += quantity * line.sPrice1().toDouble() - line.amount().toDouble();
    }
    return sale;
}

bool ReprintBill(ReceiptContext receipt, ReportEngine& report, BillBrowserStatements& sql, const RowSet& bills,
                 std::size_t row, const RowSet& lines)
{
    // An empty list has no bill to print: a receipt of nothing would only waste paper.
    if (!receipt.settings.hasPrinter() || row >= bills.size())
        return false;
    const Sale sale = ReprintSaleOf(sql, bills, row, lines);
    receipt.header.OperatorCode = bills.at(row, "OperatorCode").toString();
    receipt.header.OperatorName = bills.at(row, "OperatorName").toString();
    PrintBill(receipt, report, sale);
    return true;
}

}  // namespace pos
