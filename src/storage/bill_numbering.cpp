#include "storage/bill_numbering.h"

#include <fmt/format.h>

namespace pos {

std::string BillNumbering::peek(const std::string& machineCode) { return next(machineCode, false); }

std::string BillNumbering::take(const std::string& machineCode) { return next(machineCode, true); }

void BillNumbering::dayRoll()
{
    local_.execute("update MaxBillNo set BillDate=datetime(BillDate, '+1 day'),MaxNo=1");
}

std::string BillNumbering::next(const std::string& machineCode, bool consume)
{
    const DateTime today = clock_.now().date();
    RowSet counter = local_.query("select * from MaxBillNo");

    DateTime day = today;
    std::int64_t maxNo = 1;
    if (counter.empty()) {
        local_.execute("insert into MaxBillNo(BillDate,MaxNo) values($1,1)", {today.text()});
    } else {
        // The counter may run ahead of the calendar after a day roll; it only ever moves forward.
        auto stored = DateTime::parse(counter.first("BillDate").toString());
        if (stored && stored->date() >= today) {
            day = stored->date();
            maxNo = counter.first("MaxNo").toInt();
        } else {
            local_.execute("update MaxBillNo set BillDate=$1,MaxNo=1", {today.text()});
        }
    }

    std::string number = fmt::format("{}{:04}{:02}{:02}{:04}", machineCode, day.year, day.month, day.day, maxNo);
    if (consume)
        local_.execute("update MaxBillNo set MaxNo=$1", {maxNo + 1});
    return number;
}

}  // namespace pos
