#pragma once

#include <string>
#include <string_view>

namespace pos {

// Typed text without the blanks and control characters around it, as the input boxes
// take it (bytes of multi-byte UTF-8 characters are never below the blank).
inline std::string trimmed(std::string_view s)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

}  // namespace pos
