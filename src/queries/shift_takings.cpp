#include "queries/shift_takings.h"

#include "base/gbk.h"
#include "base/number_format.h"
#include "config/working_connection.h"
#include "peripherals/printer_port.h"
#include "queries/time_field.h"

namespace pos {
namespace {

double sumOf(const RowSet& rows, const char* column) { return rows.empty() ? 0 : rows.at(0, column).toDouble(); }

void warnOfWaitingBills(const ShiftTakingsContext& c, const DateTime& start, const DateTime& end)
{
    const std::int64_t waiting =
        CountWaitingBills(c.dm.conClient().statements<TakingsStatements>(), c.state.OperatorId, start, end);
    if (waiting > 0)
        c.person.message("本机还有" + std::to_string(waiting) + "张单据未上传，不在本次统计之内！请上传后再统计。",
                         "提示", MessageIcon::Information);
}

}  // namespace

ShiftTakings QueryShiftTakings(TakingsStatements& sql, int operatorId, const DateTime& start, const DateTime& end)
{
    const RowSet rows = sql.shiftTakings.query({operatorId, start.text(), end.text()});
    return {sumOf(rows, "RealAmount"), sumOf(rows, "CashAmount"), sumOf(rows, "CardAmount3"),
            sumOf(rows, "CardAmount1"), sumOf(rows, "CardAmount2")};
}

std::int64_t CountWaitingBills(TakingsStatements& local, int operatorId, const DateTime& start, const DateTime& end)
{
    return local.waitingInWindow.query({operatorId, start.text(), end.text()}).first("n").toInt();
}

std::string ShiftReceiptText(const std::string& operatorCode, const ShiftTakings& totals, const DateTime& start,
                             const DateTime& end, int footerNum)
{
    std::string out;
    auto line = [&out](const std::string& utf8) { out += utf8ToGbk(utf8) + "\r\n"; };
    line("收银员:" + operatorCode + " ");
    line("上班时间:" + TimeFieldText(start));
    line("下班时间:" + TimeFieldText(end));
    line("");
    line("总金额:" + twoDecimals(totals.RealAmount) + " ");
    line("现  金:" + twoDecimals(totals.CashAmount) + " ");
    line("贮值卡:" + twoDecimals(totals.CardAmount3) + " ");
    line("银行卡:" + twoDecimals(totals.CardAmount1) + " ");
    line("购物券:" + twoDecimals(totals.CardAmount2) + " ");
    for (int i = 0; i < footerNum; ++i)
        line("");
    return out;
}

void PrintShiftReceipt(const Settings& settings, const std::string& device, const std::string& operatorCode,
                       const ShiftTakings& totals, const DateTime& start, const DateTime& end)
{
    writeToPrinter(settings, device, ShiftReceiptText(operatorCode, totals, start, end, settings.footerNum()));
}

ShiftTakingsResult RunShiftTakings(const ShiftTakingsContext& c, const std::string& startText,
                                   const std::string& endText)
{
    auto badTime = [&c] { c.person.message("输入的时间格式不正确！", "", MessageIcon::Information); };
    const std::optional<DateTime> start = ReadTimeField(startText, 0);
    if (!start) {
        badTime();
        return ShiftTakingsResult::BadStart;
    }
    const std::optional<DateTime> end = ReadTimeField(endText, 59);
    if (!end) {
        badTime();
        return ShiftTakingsResult::BadEnd;
    }
    const ShiftTakings totals = QueryShiftTakings(
        WorkingConnection(c.dm, c.state).db().statements<TakingsStatements>(), c.state.OperatorId, *start, *end);
    if (c.state.NetMode == Online)
        warnOfWaitingBills(c, *start, *end);
    const std::string port = c.settings.option("PrintPort");
    if (port.empty()) {
        c.person.message("没有设置打印机所接端口！", "提示", MessageIcon::Information);
        return ShiftTakingsResult::NoPrinter;
    }
    PrintShiftReceipt(c.settings, port, c.state.OperatorCode, totals, *start, *end);
    return ShiftTakingsResult::Printed;
}

std::optional<TakingsToday> QueryTakingsToday(TakingsStatements& server, int operatorId, const DateTime& now)
{
    const RowSet rows = server.takingsToday.query({operatorId, now.text()});
    if (rows.empty())
        return std::nullopt;
    return TakingsToday{rows.at(0, "Amount"), rows.at(0, "RealAmount"), rows.at(0, "OAmount")};
}

}  // namespace pos
