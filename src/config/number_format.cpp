#include "config/number_format.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>

namespace pos {

std::string generalNumber(double v)
{
    if (v == 0 || !std::isfinite(v))
        return v == 0 ? "0" : fmt::format("{}", v);
    // Fifteen significant digits, then the decimal exponent of the rounded value decides
    // the notation: plain below 16 integer digits and from 0.00001 on, scientific outside.
    std::string sci = fmt::format("{:.14e}", std::fabs(v));
    std::size_t ePos = sci.find('e');
    int exponent = std::stoi(sci.substr(ePos + 1));
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string s = v < 0 ? "-" : "";
    if (exponent > 14 || exponent < -5) {
        s += digits.substr(0, 1);
        if (digits.size() > 1)
            s += "." + digits.substr(1);
        s += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        s += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits)
            s += digits + std::string(intDigits - digits.size(), '0');
        else
            s += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    }
    return s;
}

std::string twoDecimals(double v)
{
    std::string s = fmt::format("{:.2f}", v);
    if (s == "-0.00")
        return "0.00";
    return s;
}

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
