#pragma once

#include "base/clock.h"

#include <optional>
#include <string>

namespace pos {

// A time field "YYYY-MM-DD hh:mm" with `seconds` added; nullopt when it is not exactly
// that form or not a real date and time (a masked field leaves blanks out of its text).
std::optional<DateTime> ReadTimeField(const std::string& text, int seconds);

// A time as a time field shows it: "YYYY-MM-DD hh:mm".
std::string TimeFieldText(const DateTime& t);

}  // namespace pos
