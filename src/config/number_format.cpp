#include "config/number_format.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>

namespace pos {

std::string generalNumber(double v)
{
    if (v == 0)
        return "0";
    std::string s = fmt::format("{:.15g}", v);
    // %g may choose exponent form for very large or small values; prefer plain decimals.
    if (s.find('e') != std::string::npos) {
        s = fmt::format("{:.15f}", v);
        if (s.find('.') != std::string::npos) {
            while (!s.empty() && s.back() == '0')
                s.pop_back();
            if (!s.empty() && s.back() == '.')
                s.pop_back();
        }
    }
    if (s == "-0")
        return "0";
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
