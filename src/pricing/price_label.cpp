#include "pricing/price_label.h"

#include <algorithm>

namespace pos {

std::optional<PriceLabel> parsePriceLabel(std::string_view text)
{
    if (text.size() != 13 || !text.starts_with("24"))
        return std::nullopt;
    const std::string_view amount = text.substr(7, 5);
    if (!std::all_of(amount.begin(), amount.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int hundredths = 0;
    for (char c : amount)
        hundredths = hundredths * 10 + (c - '0');
    // Divided once, so the amount is the nearest binary value of the printed one.
    return PriceLabel{std::string(text.substr(2, 5)), hundredths / 100.0};
}

}  // namespace pos
