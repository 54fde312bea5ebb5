#include "base/clock.h"

#include <chrono>
#include <ctime>
#include <fmt/format.h>

namespace pos {

using namespace std::chrono;

std::string DateTime::text() const
{
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", year, month, day, hour, minute, second);
}

std::string DateTime::dateText() const { return fmt::format("{:04}-{:02}-{:02}", year, month, day); }

long long DateTime::dayNumber() const
{
    return sys_days(std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month))
                    / std::chrono::day(static_cast<unsigned>(day)))
        .time_since_epoch()
        .count();
}

DateTime DateTime::addDays(int days) const
{
    year_month_day ymd(sys_days(std::chrono::days(dayNumber() + days)));
    DateTime r = *this;
    r.year = static_cast<int>(ymd.year());
    r.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    r.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    return r;
}

std::optional<DateTime> DateTime::parse(std::string_view text)
{
    DateTime d;
    std::string s(text);
    int n = std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d", &d.year, &d.month, &d.day, &d.hour, &d.minute, &d.second);
    if (n != 3 && n != 6)
        return std::nullopt;
    if (!year_month_day(std::chrono::year(d.year) / std::chrono::month(static_cast<unsigned>(d.month))
                        / std::chrono::day(static_cast<unsigned>(d.day)))
             .ok())
        return std::nullopt;
    return d;
}

DateTime SystemClock::now() const
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace pos
