#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pos {

// Text outside the program (settings file, receipts, display) is GBK; inside it is UTF-8.
std::string utf8ToGbk(std::string_view utf8);            // characters GBK lacks become "?"
std::optional<std::string> gbkToUtf8(std::string_view gbk);  // nullopt when not valid GBK

}  // namespace pos
