#include "queries/time_field.h"

#include <cctype>
#include <fmt/format.h>
#include <string_view>

namespace pos {

std::optional<DateTime> ReadTimeField(const std::string& text, int seconds)
{
    static constexpr std::string_view kForm = "9999-99-99 99:99";
    if (text.size() != kForm.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kForm[i] == '9' ? !digit : text[i] != kForm[i])
            return std::nullopt;
    }
    std::optional<DateTime> t = DateTime::parse(text.substr(0, 10));
    if (!t)
        return std::nullopt;
    t->hour = std::stoi(text.substr(11, 2));
    t->minute = std::stoi(text.substr(14, 2));
    t->second = seconds;
    if (t->hour > 23 || t->minute > 59)
        return std::nullopt;
    return t;
}

std::string TimeFieldText(const DateTime& t)
{
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", t.year, t.month, t.day, t.hour, t.minute);
}

}  // namespace pos
