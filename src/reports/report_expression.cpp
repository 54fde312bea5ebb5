#include "reports/report_expression.h"

#include <optional>

namespace pos {
namespace {

std::optional<std::string> unquoted(std::string_view e)
{
    while (!e.empty() && e.front() == ' ')
        e.remove_prefix(1);
    while (!e.empty() && e.back() == ' ')
        e.remove_suffix(1);
    if (e.size() < 2 || e.front() != '\'' || e.back() != '\'')
        return std::nullopt;
    std::string text;
    std::string_view inner = e.substr(1, e.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\'') {
            // Inside the quotes a quote only stands doubled.
            if (i + 1 == inner.size() || inner[i + 1] != '\'')
                return std::nullopt;
            ++i;
        }
        text += inner[i];
    }
    return text;
}

}  // namespace

std::string quotedText(std::string_view text)
{
    std::string e = "'";
    for (char c : text) {
        if (c == '\'')
            e += '\'';
        e += c;
    }
    return e + "'";
}

std::string expressionValue(std::string_view expression)
{
    if (auto text = unquoted(expression))
        return *text;
    return std::string(expression);
}

}  // namespace pos
