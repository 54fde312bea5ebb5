#include "config/settings.h"

#include "base/hex_digit.h"
#include "base/number_format.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>

namespace pos {
namespace {

constexpr unsigned char kScrambleKey = 0x5A;

// The scrambled bytes are arbitrary, so in the file they are written as printable ASCII:
// bytes other than "!".."~" (and "%" itself) as %XX. Reading accepts raw bytes too.
std::string escapeBytes(std::string_view raw)
{
    std::string out;
    for (unsigned char c : raw) {
        if (c > 0x20 && c < 0x7F && c != '%')
            out.push_back(static_cast<char>(c));
        else
            out += fmt::format("%{:02X}", c);
    }
    return out;
}

std::string unescapeBytes(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::string scramblePassword(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kScrambleKey);
    return out;
}

int Settings::optionInt(const std::string& key, int defaultValue) const
{
    long long v = 0;
    if (parseInt(option(key), v) && v >= INT32_MIN && v <= INT32_MAX)
        return static_cast<int>(v);
    return defaultValue;
}

std::optional<bool> Settings::seleStore() const
{
    std::string text = option("SeleStore");
    if (text.empty())
        return std::nullopt;
    if (sameName(text, "True"))
        return true;
    if (sameName(text, "False"))
        return false;
    double v = 0;
    if (parseNumber(text, v))
        return v != 0;
    throw SettingsError("SeleStore 的值 '" + text + "' 不是是否值");
}

int Settings::optionWithin(const std::string& key, int low, int high, int defaultValue) const
{
    const int value = optionInt(key, defaultValue);
    return value < low || value > high ? defaultValue : value;
}

// A mistyped receipt setting must not print meters of paper or hundreds of copies.
int Settings::charNum() const { return optionWithin("CharNum", 30, 255, 30); }

int Settings::billNum() const { return optionWithin("BillNum", 1, 9, 1); }

int Settings::footerNum() const
{
    // Zero or a negative number feeds no lines; a mistyped huge one the usual 8.
    return std::max(0, optionWithin("FooterNum", std::numeric_limits<int>::min(), 99, 8));
}

ServerLogin Settings::serverLogin() const
{
    ServerLogin login;
    login.serverName = ini_.read(kConnectionSection, "ServerName");
    login.loginName = ini_.read(kConnectionSection, "LoginName");
    login.password = scramblePassword(unescapeBytes(ini_.read(kConnectionSection, "LoginPwd")));
    return login;
}

void Settings::writeServerLogin(const ServerLogin& login)
{
    ini_.write(kConnectionSection, {{"ServerName", login.serverName},
                                    {"LoginName", login.loginName},
                                    {"LoginPwd", escapeBytes(scramblePassword(login.password))}});
}

std::string Settings::devicePath(const std::string& portName) const
{
    std::string fallback;
    if (portName.size() == 4 && portName[3] >= '1' && portName[3] <= '4') {
        int n = portName[3] - '1';
        if (portName.compare(0, 3, "LPT") == 0)
            fallback = fmt::format("/dev/lp{}", n);
        else if (portName.compare(0, 3, "COM") == 0)
            fallback = fmt::format("/dev/ttyS{}", n);
    }
    if (fallback.empty())
        return {};
    return ini_.read(kPortsSection, portName, fallback);
}

}  // namespace pos
