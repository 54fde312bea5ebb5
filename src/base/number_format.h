#pragma once

#include <string>

namespace pos {

// Shortest decimal text with at most 15 significant digits, no trailing zeros,
// no point when whole, "." as separator, no thousands separator. Magnitudes below
// 0.00001 and values of more than 15 integer digits are written as 1.5E-6, 1E20.
std::string generalNumber(double v);

// Rounds halves away from zero at the given number of decimals (0 or more). A value whose
// binary form lies within 1e-8 below a half rounds up, so 1.005 gives 1.01 and 28.215
// formed as 9.90 × 3 × 0.95 gives 28.22.
double RoundHalfUp(double value, int decimals);

// Amounts are shown and printed to the cent by one rule, whatever `Digit` the line
// amounts carry: RoundHalfUp to two decimals.

// Fixed notation with two decimals and no leading blanks.
std::string twoDecimals(double v);
// The same in `width` characters as printf's "%7.2f" fills them: blanks before, or after
// for a negative width ("%-7.2f"); a longer text is kept whole.
std::string twoDecimals(double v, int width);
// The general number format of the amount rounded to the cent.
std::string generalAmount(double v);

// Strict parses of the whole text (no surrounding blanks).
bool parseInt(const std::string& text, long long& out);
bool parseNumber(const std::string& text, double& out);

}  // namespace pos
