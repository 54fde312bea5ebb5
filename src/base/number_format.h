#pragma once

#include <string>

namespace pos {

// Shortest decimal text with at most 15 significant digits, no trailing zeros,
// no point when whole, "." as separator, no thousands separator. Magnitudes below
// 0.00001 and values of more than 15 integer digits are written as 1.5E-6, 1E20.
std::string generalNumber(double v);

// Fixed notation with two decimals and no leading blanks; halves round away from zero.
std::string twoDecimals(double v);

// Strict parses of the whole text (no surrounding blanks).
bool parseInt(const std::string& text, long long& out);
bool parseNumber(const std::string& text, double& out);

}  // namespace pos
