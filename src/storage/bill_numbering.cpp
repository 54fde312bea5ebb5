#include "storage/bill_numbering.h"

#include <fmt/format.h>

namespace pos {

std::string BillNumbering::peek(const std::string& machineCode) { return next(machineCode, false); }

std::string BillNumbering::take(const std::string& machineCode)
{
    try {
        return next(machineCode, true);
    } catch (const DbError& e) {
        throw BillNumberError(e);
    }
}

void BillNumbering::dayRoll()
{
    sql_.dayRoll.execute();
}

std::string BillNumbering::next(const std::string& machineCode, bool consume)
{
    const DateTime today = clock_.now().date();
    const std::optional<BillCounter> counter = readBillCounter(sql_);

    DateTime day = today;
    std::int64_t maxNo = 1;
    if (!counter) {
        sql_.create.execute({today.text()});
    } else {
        // The counter may run ahead of the calendar after a day roll; it only ever moves forward.
        const std::optional<DateTime>& stored = counter->billDate;
        if (stored && stored->date() >= today) {
            day = stored->date();
            maxNo = counter->maxNo;
        } else {
            sql_.startDay.execute({today.text()});
        }
    }

    std::string number = fmt::format("{}{:04}{:02}{:02}{:04}", machineCode, day.year, day.month, day.day, maxNo);
    if (consume)
        sql_.consume.execute({maxNo + 1});
    return number;
}

}  // namespace pos
