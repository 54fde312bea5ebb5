#include "peripherals/customer_display.h"

#include "base/gbk.h"
#include "base/number_format.h"
#include "peripherals/device_error.h"

#include <array>

namespace pos {
namespace {

using Writes = std::vector<std::string>;

// "%8.2f": A8 is right-aligned in at least eight characters, A the same without the blanks.
struct Amount {
    std::string a;
    std::string a8;
    explicit Amount(double v) : a(twoDecimals(v)), a8(std::string(a.size() < 8 ? 8 - a.size() : 0, ' ') + a) {}
};

const std::string kShowAmount = "\x1b\x51\x41";  // followed by the amount and CR

// The lamp byte of the two DIY models.
char diyLamp(int kind)
{
    switch (kind) {
    case DisplayTotal: return '2';
    case DisplayPaid: return '3';
    case DisplayChange: return '4';
    default: return '0';
    }
}

Writes led11(int, const Amount& v) { return {std::string(11, ' '), kShowAmount + v.a8 + "\r"}; }

Writes mbi1828(int, const Amount& v) { return {"~B~", "~S" + utf8ToGbk("合计") + " " + v.a8 + "~"}; }

Writes diyPdLed8(int kind, const Amount& v) { return {std::string("\x1bs") + diyLamp(kind), kShowAmount + v.a + "\r"}; }

Writes diyPdVfd8cv(int kind, const Amount& v)
{
    return {std::string("\x1bs") + diyLamp(kind), "\x1f_22", "\x1fs2", "\x1fP1", kShowAmount + v.a + "\r"};
}

Writes ic851a(int kind, const Amount& v)
{
    char lamp = kind == DisplayPaid ? '\x04' : kind == DisplayChange ? '\x05' : '\x02';
    return {"\x1b\x0c", std::string("\x1bs") + lamp + '\x01', kShowAmount + v.a + "\r"};
}

Writes ic851b(int kind, const Amount& v)
{
    std::string label = kind == DisplayTotal ? "TOTAL: " : kind == DisplayPaid ? "Gathering: " : kind == DisplayChange ? "CHANGE: " : "";
    return {label, label + v.a};
}

struct DisplayModel {
    const char* dispType;
    int speed;
    Writes (*writes)(int kind, const Amount& amount);
};

const std::array<DisplayModel, 6> kModels{{
    {"LED11", 9600, led11},
    {"MBI-1828单行", 9600, mbi1828},
    {"DIY-PDLED8", 2400, diyPdLed8},
    {"DIY-PDVFD8CV", 2400, diyPdVfd8cv},
    {"IC-851A", 9600, ic851a},
    {"IC-851B", 9600, ic851b},
}};

const DisplayModel* findModel(const std::string& dispType)
{
    for (const DisplayModel& m : kModels)
        if (dispType == m.dispType)
            return &m;
    return nullptr;
}

}  // namespace

void DisplayPort::init(const std::string& path, int speed) noexcept
{
    try {
        line_.open(path, speed);
    } catch (const DeviceError&) {
        // the display stays dark; nothing to tell the cashier
    }
}

void DisplayPort::send(std::string_view bytes) noexcept
{
    if (!line_.isOpen())
        return;
    try {
        line_.send(bytes);
    } catch (const DeviceError&) {
        // a switched-off display loses this amount only
    }
}

void DisplayPort::release() noexcept { line_.release(); }

int comPortNumber(const std::string& portName)
{
    for (int n = 1; n <= 4; ++n)
        if (portName == comPortName(n))
            return n;
    return 1;
}

std::string comPortName(int number) { return "COM" + std::to_string(number); }

std::optional<int> displaySpeed(const std::string& dispType)
{
    if (const DisplayModel* m = findModel(dispType))
        return m->speed;
    return std::nullopt;
}

std::vector<std::string> CustomerDisplayWrites(const std::string& dispType, int kind, double amount)
{
    if (const DisplayModel* m = findModel(dispType))
        return m->writes(kind, Amount(amount));
    return {};
}

void InitCustomerDisplay(const Settings& settings, DisplayPort& port)
{
    if (!settings.hasCustomerDisplay())
        return;
    port.release();
    if (auto speed = displaySpeed(settings.displayType()))
        port.init(settings.devicePath(comPortName(comPortNumber(settings.displayPort()))), *speed);
}

void ShowOnCustomerDisplay(const Settings& settings, DisplayPort& port, int kind, double amount)
{
    for (const std::string& bytes : CustomerDisplayWrites(settings.displayType(), kind, amount))
        port.send(bytes);
}

}  // namespace pos
