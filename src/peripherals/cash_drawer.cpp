#include "peripherals/cash_drawer.h"

#include "base/gbk.h"
#include "base/hex_digit.h"
#include "peripherals/customer_display.h"
#include "peripherals/printer_port.h"
#include "peripherals/serial_port.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace pos {
namespace {

constexpr const char* kPrompt = "提示";
constexpr int kDrawerSpeed = 2400;

// The runtime's integer syntax: leading blanks, a sign, then decimal digits within the
// 32-bit range, or up to 32 bits of hexadecimal after "$" or "0x".
std::optional<std::int32_t> readWholeNumber(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        int digit = base == 16 ? hexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 10 && magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return std::nullopt;
    auto bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

void sendThroughPrinter(const Settings& settings, Person& person, const std::string& command)
{
    std::string port = settings.printPort();
    if (port.empty()) {
        person.message("没有设置打印机连接端口！", kPrompt, MessageIcon::Information);
        return;
    }
    writeToPrinter(settings, port, command + "\r\n");
}

void sendThroughDisplay(const Settings& settings, Person& person, const std::string& command)
{
    std::string port = settings.displayPort();
    if (port.empty()) {
        person.message("没有设置顾客显示屏连接端口！", kPrompt, MessageIcon::Information);
        return;
    }
    // The line is fresh, so nothing of its own waits; what the display queued on the same
    // port (the amount paid) is not discarded but goes out first.
    SerialPort line;
    line.open(settings.devicePath(comPortName(comPortNumber(port))), kDrawerSpeed);
    line.send(command);
}

bool commandMissing(const Settings& settings, Person& person)
{
    if (!settings.drawerCommand().empty())
        return false;
    person.message("没有设置打开钱箱指令！", kPrompt, MessageIcon::Question);
    return true;
}

// A name of a file in the terminal directory itself: no directory part that could lead
// to a program elsewhere.
bool plainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void startDrawerCard(const Settings& settings, Person& person, Launcher& launcher, const std::string& programDir)
{
    if (commandMissing(settings, person))
        return;
    const std::string name = settings.drawerCommand();
    if (!plainFileName(name)) {
        person.message("钱箱卡程序只能是收银程序目录中的文件名！", kPrompt, MessageIcon::Information);
        return;
    }
    std::string program = programDir + name;
    std::error_code ec;
    if (std::filesystem::is_regular_file(program, ec))
        launcher.start(program);
}

}  // namespace

std::string DrawerCommandBytes(const std::string& text)
{
    std::string rest = text + "-";
    std::string bytes;
    for (std::size_t dash; (dash = rest.find('-')) != std::string::npos; rest.erase(0, dash + 1)) {
        std::string part = rest.substr(0, dash);
        if (auto number = readWholeNumber(part))
            bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(*number) & 0xFF));
        else
            bytes += utf8ToGbk(part);
    }
    return bytes;
}

void OpenCashDrawer(const Settings& settings, Person& person, Launcher& launcher, const std::string& programDir)
{
    if (commandMissing(settings, person))
        return;
    std::string command = DrawerCommandBytes(settings.drawerCommand());
    std::string connection = settings.option("MoneyBoxConn");
    if (connection == "接打印机")
        sendThroughPrinter(settings, person, command);
    else if (connection == "接客户显示屏")
        sendThroughDisplay(settings, person, command);
    else if (connection == "接钱箱卡")
        startDrawerCard(settings, person, launcher, programDir);
}

}  // namespace pos
