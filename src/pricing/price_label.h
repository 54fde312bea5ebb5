#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pos {

// A price-embedded label of weighed goods: 13 characters, "24", the goods code in
// characters 3 to 7, the amount in characters 8 to 12 (three whole digits, two
// hundredths) and a check digit that is not read.
struct PriceLabel {
    std::string goodsCode;
    double amount = 0;
};

// nullopt when the text is not such a label, also when its amount is not made of digits.
std::optional<PriceLabel> parsePriceLabel(std::string_view text);

}  // namespace pos
