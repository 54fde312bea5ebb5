#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pos {

// A local date and time, to the second. Its text form "YYYY-MM-DD HH:MM:SS" is what
// both databases store.
struct DateTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    std::string text() const;      // YYYY-MM-DD HH:MM:SS
    std::string dateText() const;  // YYYY-MM-DD
    DateTime date() const { return {year, month, day, 0, 0, 0}; }
    DateTime addDays(int days) const;
    long long dayNumber() const;  // days since 1970-01-01
    static std::optional<DateTime> parse(std::string_view text);  // date, or date and time

    auto operator<=>(const DateTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    DateTime now() const override;
};

}  // namespace pos
