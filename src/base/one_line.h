#pragma once

#include <string>
#include <string_view>

namespace pos {

// A text as one line: each run of CR and LF characters becomes one blank. Settings are
// one line each, and a value pasted or pushed with line breaks must still be stored.
inline std::string oneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            out.push_back(text[i]);
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
            ++i;
        out.push_back(' ');
    }
    return out;
}

}  // namespace pos
