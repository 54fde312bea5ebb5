#include "peripherals/cash_drawer.h"
#include "peripherals/customer_display.h"
#include "peripherals/device_error.h"
#include "support/golden_file.h"
#include "support/pseudo_terminal.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace pos {
namespace {

std::string golden(const std::string& name)
{
    return test::readGolden("peripherals/golden/drawer/" + name + ".bin");
}

class ScriptedLauncher : public Launcher {
public:
    std::vector<std::string> started;
    bool fail = false;
    void start(const std::string& program) override
    {
        if (fail)
            throw DeviceError("cannot start " + program);
        started.push_back(program);
    }
};

struct CommandBytes {
    const char* text;
    std::string bytes;
};

TEST(DrawerCommandBytes, ReadsNumbersInTheRuntimesSyntaxAndSendsEverythingElseAsIs)
{
    using namespace std::string_literals;
    const CommandBytes cases[] = {
        {"0", "\x00"s},                     // a zero byte is sent like any other
        {"  27", "\x1b"},                   // leading blanks
        {"27 ", "27 "},                     // but no trailing ones
        {"+27", "\x1b"},
        {"$1b-$1B-0x1b-0X1B", "\x1b\x1b\x1b\x1b"},
        {"256-511-2147483647", "\x00\xff\xff"s},
        {"2147483648", "2147483648"},       // beyond the integer range: not a number
        {"$FFFFFFFF-$100000000", "\xff$100000000"},
        {"$-0x-+-1B-0x1G", "$0x+1B0x1G"},   // prefixes or a sign alone, hexadecimal without a prefix
        {"-27", "\x1b"},                    // the dash separates: an empty part, then 27
        {"--", ""},
        {"钱箱-7", "\xc7\xae\xcf\xe4\x07"}, // other text goes out in GBK
    };
    for (const CommandBytes& c : cases)
        EXPECT_EQ(DrawerCommandBytes(c.text), c.bytes) << c.text;
}

class CashDrawerTest : public ::testing::Test {
protected:
    CashDrawerTest() : settings_(IniFile(dir_.file("POS.ini")))
    {
        settings_.ini().write(kPortsSection, "LPT3", dir_.file("printer"));
        settings_.ini().write(kPortsSection, "COM2", line_.path());
    }

    void open() { OpenCashDrawer(settings_, person_, launcher_, dir_.path()); }

    test::TempDir dir_;
    Settings settings_;
    test::PseudoTerminal line_;
    test::ScriptedPerson person_;
    ScriptedLauncher launcher_;
};

struct PrinterCase {
    std::string golden;
    std::string command;
};

class DrawerOnPrinter : public CashDrawerTest, public ::testing::WithParamInterface<PrinterCase> {};

TEST_P(DrawerOnPrinter, WritesTheCommandAndALineEnd)
{
    settings_.setOption("MoneyBoxConn", "接打印机");
    settings_.setOption("PrintPort", "LPT3");
    settings_.setOption("OpenMoneyBox", GetParam().command);
    test::writeFile(dir_.file("printer"), "left over");
    open();
    EXPECT_EQ(test::readFile(dir_.file("printer")), golden(GetParam().golden));
    EXPECT_TRUE(person_.messages.empty());
}

const PrinterCase kPrinterCases[] = {
    {"printer_27-112-0-50-250", "27-112-0-50-250"},
    {"printer_27-112-0-60-255", "27-112-0-60-255"},
    {"printer_27-112-07", "27-112-07"},
    {"printer_double_dash", "27--112"},
    {"printer_letters", "ESC-112"},
    {"printer_low_bits", "300-1"},
    {"printer_hexadecimal", "$1B-0x70-0X0a-$FFFFFFFF"},
};

INSTANTIATE_TEST_SUITE_P(Commands, DrawerOnPrinter, ::testing::ValuesIn(kPrinterCases), [](const auto& info) {
    std::string name = info.param.golden;
    for (char& ch : name)
        if (ch == '-')
            ch = '_';
    return name;
});

TEST_F(CashDrawerTest, OnTheDisplaysLineSendsTheCommandAloneAndLeavesTheDisplayAsItWas)
{
    settings_.setOption("ClientDisplay", "有");
    settings_.setOption("DispType", "IC-851B");
    settings_.setOption("DispPort", "COM2");
    DisplayPort display;
    InitCustomerDisplay(settings_, display);

    settings_.setOption("MoneyBoxConn", "接客户显示屏");
    settings_.setOption("OpenMoneyBox", "2-77");
    open();
    EXPECT_EQ(line_.received(), golden("display_2-77"));
    EXPECT_TRUE(person_.messages.empty());

    termios t = line_.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), B9600) << "the display keeps its own speed";
    ShowOnCustomerDisplay(settings_, display, DisplayTotal, 1);
    EXPECT_EQ(line_.received(), "TOTAL: TOTAL: 1.00");
}

TEST_F(CashDrawerTest, TheAmountPaidOnTheDisplayGoesOutBeforeTheDrawerCommandOnTheSamePort)
{
    settings_.setOption("ClientDisplay", "有");
    settings_.setOption("DispType", "IC-851B");
    settings_.setOption("DispPort", "COM2");
    DisplayPort display;
    InitCustomerDisplay(settings_, display);
    ShowOnCustomerDisplay(settings_, display, DisplayPaid, 12.5);  // queued, not yet read

    settings_.setOption("MoneyBoxConn", "接客户显示屏");
    settings_.setOption("OpenMoneyBox", "2-77");
    open();
    EXPECT_EQ(line_.received(), "Gathering: Gathering: 12.50" + golden("display_2-77"));
}

TEST_F(CashDrawerTest, StartsTheDrawerCardProgramBesideTheProgramWhenItExists)
{
    settings_.setOption("MoneyBoxConn", "接钱箱卡");
    settings_.setOption("OpenMoneyBox", "Open2.com");
    open();
    EXPECT_TRUE(launcher_.started.empty()) << "no such file: nothing happens";

    test::writeFile(dir_.file("Open2.com"), "#!/bin/sh\n");
    open();
    EXPECT_EQ(launcher_.started, std::vector<std::string>{dir_.file("Open2.com")});
    EXPECT_TRUE(person_.messages.empty());

    launcher_.fail = true;
    EXPECT_THROW(open(), DeviceError);
}

TEST_F(CashDrawerTest, TheDrawerCardProgramIsAFileNameInTheTerminalDirectoryOnly)
{
    // The terminal directory is dir_/terminal; programs lie beside it and below it.
    const std::string terminal = dir_.file("terminal/");
    std::filesystem::create_directories(terminal + "sub");
    for (const std::string& file : {dir_.file("Open1.com"), terminal + "sub/Open1.com", terminal + "Open1.com"})
        test::writeFile(file, "#!/bin/sh\n");
    settings_.setOption("MoneyBoxConn", "接钱箱卡");
    for (const char* name : {"../Open1.com", "sub/Open1.com", "./Open1.com", "..", "."}) {
        settings_.setOption("OpenMoneyBox", name);
        person_.messages.clear();
        OpenCashDrawer(settings_, person_, launcher_, terminal);
        EXPECT_EQ(person_.messageTexts(), std::vector<std::string>{"钱箱卡程序只能是收银程序目录中的文件名！"}) << name;
        EXPECT_TRUE(launcher_.started.empty()) << name;
    }
    settings_.setOption("OpenMoneyBox", "Open1.com");
    OpenCashDrawer(settings_, person_, launcher_, terminal);
    EXPECT_EQ(launcher_.started, std::vector<std::string>{terminal + "Open1.com"});
}

struct MessageCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<test::ScriptedPerson::Shown> shown;
};

TEST_F(CashDrawerTest, MissingSettingsAreToldAndNothingIsSent)
{
    const std::string noCommand = "没有设置打开钱箱指令！";
    const MessageCase cases[] = {
        {"no command, no connection", {}, {{noCommand, "提示", MessageIcon::Question}}},
        {"no command on the printer", {{"MoneyBoxConn", "接打印机"}, {"PrintPort", "LPT3"}},
         {{noCommand, "提示", MessageIcon::Question}}},
        {"no command on the card", {{"MoneyBoxConn", "接钱箱卡"}}, {{noCommand, "提示", MessageIcon::Question}}},
        {"no printer port", {{"MoneyBoxConn", "接打印机"}, {"OpenMoneyBox", "27-112-07"}},
         {{"没有设置打印机连接端口！", "提示", MessageIcon::Information}}},
        {"no display port", {{"MoneyBoxConn", "接客户显示屏"}, {"OpenMoneyBox", "2-77"}},
         {{"没有设置顾客显示屏连接端口！", "提示", MessageIcon::Information}}},
        {"no connection", {{"OpenMoneyBox", "27-112-07"}, {"PrintPort", "LPT3"}, {"DispPort", "COM2"}}, {}},
        {"unknown connection", {{"MoneyBoxConn", "接网络"}, {"OpenMoneyBox", "27-112-07"}, {"PrintPort", "LPT3"}}, {}},
    };
    for (const MessageCase& c : cases) {
        for (const char* key : {"MoneyBoxConn", "OpenMoneyBox", "PrintPort", "DispPort"})
            settings_.setOption(key, "");
        for (const auto& [key, value] : c.options)
            settings_.setOption(key, value);
        person_.messages.clear();
        open();
        ASSERT_EQ(person_.messages.size(), c.shown.size()) << c.name;
        for (std::size_t i = 0; i < c.shown.size(); ++i) {
            EXPECT_EQ(person_.messages[i].text, c.shown[i].text) << c.name;
            EXPECT_EQ(person_.messages[i].title, c.shown[i].title) << c.name;
            EXPECT_EQ(person_.messages[i].icon, c.shown[i].icon) << c.name;
        }
        EXPECT_EQ(::access(dir_.file("printer").c_str(), F_OK), -1) << c.name << ": the printer was opened";
        EXPECT_EQ(line_.received(), "") << c.name;
        EXPECT_TRUE(launcher_.started.empty()) << c.name;
    }
}

TEST_F(CashDrawerTest, DeviceFailuresReachTheCaller)
{
    settings_.setOption("OpenMoneyBox", "27-112-07");
    settings_.setOption("MoneyBoxConn", "接打印机");
    settings_.setOption("PrintPort", "LPT3");
    settings_.ini().write(kPortsSection, "LPT3", dir_.file("no-dir/printer"));
    EXPECT_THROW(open(), DeviceError);

    settings_.setOption("MoneyBoxConn", "接客户显示屏");
    settings_.setOption("DispPort", "COM2");
    settings_.ini().write(kPortsSection, "COM2", dir_.file("no-such-device"));
    EXPECT_THROW(open(), DeviceError);
    EXPECT_TRUE(person_.messages.empty());
}

}  // namespace
}  // namespace pos
