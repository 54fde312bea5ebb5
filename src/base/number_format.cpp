#include "base/number_format.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>

namespace pos {

namespace {

// |v| as significant decimal digits: digits[0].digits[1..] x 10^exponent; no digits for 0.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// Eighteen significant digits, as many as the value carries, so that rounding below sees a
// half only where the binary value is one.
Decimal decimalOf(double magnitude)
{
    if (magnitude == 0)
        return {};
    std::string sci = fmt::format("{:.17e}", magnitude);
    std::size_t ePos = sci.find('e');
    return {sci.substr(0, 1) + sci.substr(2, ePos - 2), std::stoi(sci.substr(ePos + 1))};
}

// Keeps `count` significant digits; the rest rounds half away from zero.
Decimal keepDigits(Decimal x, int count)
{
    if (count >= static_cast<int>(x.digits.size()))
        return x;
    if (count < 0)
        return {};
    bool up = x.digits[static_cast<std::size_t>(count)] >= '5';
    x.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && x.digits[static_cast<std::size_t>(i)] == '9')
            x.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++x.digits[static_cast<std::size_t>(i)];
        } else {
            x.digits.insert(0, "1");
            x.digits.pop_back();
            if (x.digits.empty())
                x.digits = "1";
            ++x.exponent;
        }
    }
    if (x.digits.find_first_not_of('0') == std::string::npos)
        return {};
    return x;
}

// Plain decimal text with at least `decimals` places; more only as far as digits remain.
std::string plainText(const Decimal& x, std::size_t decimals)
{
    std::string whole = "0";
    std::string fraction;
    if (!x.digits.empty()) {
        int intDigits = x.exponent + 1;
        if (intDigits <= 0) {
            fraction = std::string(static_cast<std::size_t>(-intDigits), '0') + x.digits;
        } else {
            auto n = static_cast<std::size_t>(intDigits);
            whole = x.digits.substr(0, n) + std::string(n > x.digits.size() ? n - x.digits.size() : 0, '0');
            fraction = x.digits.size() > n ? x.digits.substr(n) : "";
        }
    }
    if (fraction.size() < decimals)
        fraction += std::string(decimals - fraction.size(), '0');
    return fraction.empty() ? whole : whole + "." + fraction;
}

}  // namespace

std::string generalNumber(double v)
{
    if (!std::isfinite(v))
        return fmt::format("{}", v);
    Decimal x = keepDigits(decimalOf(std::fabs(v)), 15);
    if (x.digits.empty())
        return "0";
    while (x.digits.size() > 1 && x.digits.back() == '0')
        x.digits.pop_back();
    std::string sign = v < 0 ? "-" : "";
    // Plain below 16 integer digits and from 0.00001 on, scientific outside.
    if (x.exponent > 14 || x.exponent < -5) {
        std::string mantissa = x.digits.substr(0, 1);
        if (x.digits.size() > 1)
            mantissa += "." + x.digits.substr(1);
        return sign + mantissa + "E" + std::to_string(x.exponent);
    }
    return sign + plainText(x, 0);
}

double RoundHalfUp(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    // Whole and fractional parts apart, in extended precision; the small tolerance lets a
    // value whose binary form lies just below a half (1.005) round upward as written.
    const long double r = std::fabs(static_cast<long double>(value));
    const long double whole = std::floor(r);
    const long double scale = std::pow(10.0L, decimals);
    long double s = (r - whole) * scale;
    const long double sWhole = std::floor(s);
    s = (s - sWhole) + 1e-8L >= 0.5L ? sWhole + 1 : sWhole;
    const double magnitude = static_cast<double>(whole + s / scale);
    // A negative value that rounds to nothing gives 0, never -0 (which prints as "-0.00").
    return value < 0 && magnitude != 0 ? -magnitude : magnitude;
}

std::string twoDecimals(double v)
{
    if (!std::isfinite(v))
        return fmt::format("{}", v);
    v = RoundHalfUp(v, 2);
    Decimal x = decimalOf(std::fabs(v));
    x = keepDigits(x, x.exponent + 3);
    return (v < 0 && !x.digits.empty() ? "-" : "") + plainText(x, 2);
}

std::string twoDecimals(double v, int width)
{
    const std::string text = twoDecimals(v);
    const std::size_t fill = static_cast<std::size_t>(std::abs(width));
    if (text.size() >= fill)
        return text;
    const std::string blanks(fill - text.size(), ' ');
    return width < 0 ? text + blanks : blanks + text;
}

std::string generalAmount(double v) { return generalNumber(RoundHalfUp(v, 2)); }

bool parseInt(const std::string& text, long long& out)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size())
        return false;
    out = v;
    return true;
}

bool parseNumber(const std::string& text, double& out)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v))
        return false;
    // strtod accepts hex and "inf"/"nan"; amounts never take those forms.
    for (char c : text)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    out = v;
    return true;
}

}  // namespace pos
