#include "config/settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pos {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::string path() const { return dir_.file("POS.ini"); }
    void fileHas(const std::string& bytes) const { test::writeFile(path(), bytes); }
    std::string fileBytes() const { return test::readFile(path()); }

    test::TempDir dir_;
    IniFile ini_{dir_.file("POS.ini")};
    Settings settings_{ini_};
};

// Chinese text on disk is GBK: the bytes of "欢迎光临" in that code page.
constexpr const char* kWelcomeGbk = "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9";

TEST_F(SettingsTest, FileIsWrittenInGbkWithCrLfLines)
{
    ini_.write("Options", "Header1", "欢迎光临");
    ini_.write("Options", "Footer1", "谢谢");
    const std::string bytes = fileBytes();
    EXPECT_NE(bytes.find(std::string("Header1=") + kWelcomeGbk + "\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("欢迎光临"), std::string::npos) << "UTF-8 bytes must not reach the file";
    EXPECT_EQ(bytes, std::string("[Options]\r\nHeader1=") + kWelcomeGbk + "\r\nFooter1=\xD0\xBB\xD0\xBB\r\n");
}

TEST_F(SettingsTest, GbkFileWrittenElsewhereReadsAsText)
{
    fileHas(std::string("[Options]\nHeader1=") + kWelcomeGbk + "\n");
    EXPECT_EQ(ini_.read("Options", "Header1"), "欢迎光临");
}

TEST_F(SettingsTest, ChineseValuesSurviveWriteAndRead)
{
    const std::vector<std::string> values = {"欢迎光临", "@谢谢惠顾，欢迎再来", "MBI-1828单行", "整张快速打印",
                                             "接客户显示屏", "有", "是", "a=b；c", "半角 and 全角　混排"};
    for (const std::string& v : values) {
        ini_.write("Options", "Header2", v);
        EXPECT_EQ(ini_.read("Options", "Header2"), v);
    }
}

TEST_F(SettingsTest, MissingFileSectionOrKeyReadsTheDefault)
{
    EXPECT_EQ(ini_.read("Options", "Header1", "dflt"), "dflt");  // no file at all
    fileHas("[Connection]\r\nServerName=srv\r\n[Options]\r\nHeader1=x\r\n");
    EXPECT_EQ(ini_.read("Ports", "LPT1", "dflt"), "dflt");
    EXPECT_EQ(ini_.read("Options", "Footer1", "dflt"), "dflt");
    EXPECT_EQ(ini_.read("Options", "ServerName", "dflt"), "dflt") << "a key of another section";
    EXPECT_EQ(ini_.read("Options", "Header1", "dflt"), "x");
}

// Reads are answered from the lines last read while the file stays as it was; every
// change is seen at the next read: an edit in place of the same size, even within the
// file system's clock tick, a write of another IniFile, the file removed.
TEST_F(SettingsTest, EveryChangeOfTheFileIsSeenAtTheNextRead)
{
    const auto settle = [this] {
        const timespec longAgo[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path().c_str(), longAgo, 0), 0);
    };
    fileHas("[Options]\r\nDispType=LED11\r\n");
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED11");
    fileHas("[Options]\r\nDispType=LED22\r\n");  // at once: where the clock ticks coarsely, the same times
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED22");

    settle();
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED22");
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED22");
    fileHas("[Options]\r\nDispType=LED33\r\n");
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED33");

    settle();
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED33");
    IniFile(path()).write("Options", "DispType", "LED44");
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED44");

    settle();
    EXPECT_EQ(ini_.read("Options", "DispType"), "LED44");
    std::filesystem::remove(path());
    EXPECT_EQ(ini_.read("Options", "DispType", "无"), "无");
}

TEST_F(SettingsTest, ReplacingAValueKeepsEveryOtherLine)
{
    const std::string notGbk = "Note=\xFF\xFE\x80";  // bytes no code page reads; must stay as they are
    fileHas("[Connection]\r\nServerName=srv\r\n\r\n[Options]\r\nHeader1=old\r\nFooter1=f\r\n" + notGbk
            + "\r\n\r\n[Ports]\r\nLPT1=/tmp/lp\r\n");
    ini_.write("Options", "Header1", "新");
    ini_.write("Options", "CharNum", "41");
    ini_.write("Display", "Port", "COM2");

    EXPECT_EQ(ini_.read("Options", "Header1"), "新");
    EXPECT_EQ(ini_.read("Options", "CharNum"), "41");
    EXPECT_EQ(ini_.read("Display", "Port"), "COM2");
    EXPECT_EQ(ini_.read("Connection", "ServerName"), "srv");
    EXPECT_EQ(ini_.read("Options", "Footer1"), "f");
    EXPECT_EQ(ini_.read("Ports", "LPT1"), "/tmp/lp");
    const std::string bytes = fileBytes();
    EXPECT_NE(bytes.find(notGbk + "\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("old"), std::string::npos);
    // The new key joins its own section, not the end of the file.
    EXPECT_LT(bytes.find("CharNum=41"), bytes.find("[Ports]"));
}

TEST_F(SettingsTest, SectionsAndKeysCompareWithoutCase)
{
    fileHas("[options]\r\nheader1=abc\r\n");
    EXPECT_EQ(ini_.read("Options", "Header1"), "abc");
    EXPECT_EQ(ini_.read("OPTIONS", "HEADER1"), "abc");
    ini_.write("Options", "HEADER1", "xyz");
    EXPECT_EQ(ini_.read("options", "header1"), "xyz");
    const std::string bytes = fileBytes();
    EXPECT_EQ(bytes.find("abc"), std::string::npos);
    EXPECT_EQ(bytes.find("[Options]"), std::string::npos) << "the existing section is reused";
}

// A back office's two-line header, or a pasted one, is kept as one line.
TEST_F(SettingsTest, LineBreaksAreStoredAsOneBlankEach)
{
    const std::pair<const char*, const char*> cases[] = {
        {"欢迎\r\n光临", "欢迎 光临"},          {"a\nb\rc", "a b c"},       {"a\r\n\r\n\nb", "a b"},
        {"a\r\nMachineId=1", "a MachineId=1"}, {"\r\n[Ports]\r\n", "[Ports]"}, {"一行", "一行"}};
    for (const auto& [pushed, stored] : cases) {
        settings_.setOptions({{"Header1", pushed}, {"Footer1", pushed}});
        EXPECT_EQ(settings_.option("Header1"), stored) << pushed;
        EXPECT_EQ(settings_.option("Footer1"), stored) << pushed;
        EXPECT_EQ(settings_.option("MachineId"), "");
    }
    EXPECT_EQ(fileBytes().find("[Ports]\r\n"), std::string::npos) << "no section slipped in";
}

// One write for several keys: keys already in the file keep their places, new ones
// follow the section's last key in the order given, other sections stay.
TEST_F(SettingsTest, SeveralKeysAreWrittenAtOnceInTheirOrder)
{
    fileHas("[Options]\r\nDigit=2\r\nHeader1=old\r\n\r\n[Ports]\r\nLPT1=/tmp/lp\r\n");
    settings_.setOptions({{"FooterNum", "3"}, {"Header1", "新"}, {"PointRate", "10"}, {"Digit", "4"}});
    EXPECT_EQ(fileBytes(), "[Options]\r\nDigit=4\r\nHeader1=\xD0\xC2\r\nFooterNum=3\r\nPointRate=10\r\n\r\n"
                           "[Ports]\r\nLPT1=/tmp/lp\r\n");
}

// The file is replaced, never rewritten in place: a reader holding the old file keeps
// it whole, nothing is left beside it, and its permissions and a link to it stay.
TEST_F(SettingsTest, TheFileIsReplacedWholeBesideItsLink)
{
    const std::string real = dir_.file("real.ini");
    test::writeFile(real, "[Options]\r\nHeader1=old\r\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(real.c_str(), path().c_str()), 0);
    std::ifstream reader(real, std::ios::binary);

    settings_.setOption("Header1", "new");

    EXPECT_EQ(settings_.option("Header1"), "new");
    EXPECT_EQ(test::readFile(real), "[Options]\r\nHeader1=new\r\n") << "the link's file is written";
    struct stat link {}, file {};
    ASSERT_EQ(::lstat(path().c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &file), 0);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
    std::string before((std::istreambuf_iterator<char>(reader)), {});
    EXPECT_EQ(before, "[Options]\r\nHeader1=old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2) << "a temporary file is left";
}

// A full disk (here a file-size limit) or a missing directory: the person is told in
// Chinese, the old file stays whole and no temporary file is left.
TEST_F(SettingsTest, AWriteThatFailsIsReportedAndKeepsTheOldFile)
{
    fileHas("[Options]\r\nHeader1=old\r\n");
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    try {
        settings_.setOption("Header1", std::string(64, 'x'));
        ADD_FAILURE() << "a failed write went unnoticed";
    } catch (const PosError& e) {
        EXPECT_EQ(e.operation(), "保存设置");
        EXPECT_NE(std::string(e.what()).find("无法写入 " + path()), std::string::npos) << e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(fileBytes(), "[Options]\r\nHeader1=old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);

    Settings nowhere{IniFile(dir_.file("missing/POS.ini"))};
    EXPECT_THROW(nowhere.setOption("MachineId", "1"), PosError);
}

struct IntCase {
    const char* key;
    std::optional<std::string> stored;  // nullopt: key missing
    int expected;
};

class SettingsIntTest : public SettingsTest, public ::testing::WithParamInterface<IntCase> {};

int readInt(const Settings& s, const std::string& key)
{
    if (key == "CharNum")
        return s.charNum();
    if (key == "BillNum")
        return s.billNum();
    if (key == "FooterNum")
        return s.footerNum();
    return s.optionInt(key, key == "Digit" ? 2 : 1);
}

TEST_P(SettingsIntTest, ReadsWithTheKeysDefault)
{
    const IntCase& c = GetParam();
    settings_.setOption("Other", "5");
    if (c.stored)
        settings_.setOption(c.key, *c.stored);
    EXPECT_EQ(readInt(settings_, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsIntTest,
                         ::testing::Values(IntCase{"CharNum", "20", 30}, IntCase{"CharNum", "abc", 30},
                                           IntCase{"CharNum", std::nullopt, 30}, IntCase{"CharNum", "41", 41},
                                           IntCase{"CharNum", "255", 255}, IntCase{"CharNum", "256", 30},
                                           IntCase{"BillNum", std::nullopt, 1}, IntCase{"BillNum", "0", 1},
                                           IntCase{"BillNum", "-2", 1}, IntCase{"BillNum", "9", 9},
                                           IntCase{"BillNum", "10", 1},
                                           IntCase{"BillNum", "3", 3}, IntCase{"BillNum", "two", 1},
                                           IntCase{"BillNum", "99999999999", 1},
                                           IntCase{"FooterNum", std::nullopt, 8}, IntCase{"FooterNum", "-2", 0},
                                           IntCase{"FooterNum", "0", 0}, IntCase{"FooterNum", "99", 99},
                                           IntCase{"FooterNum", "100", 8},
                                           IntCase{"FooterNum", "", 8}, IntCase{"Digit", "x", 2},
                                           IntCase{"Digit", "2.5", 2}, IntCase{"Digit", " 3 ", 3},
                                           IntCase{"PointRate", "0", 0}, IntCase{"PointRate", "1O", 1}));

TEST_F(SettingsTest, YesNoFormsOfDevicesAndReceipt)
{
    struct Case {
        std::optional<std::string> stored;
        bool yes, present;
    };
    const Case cases[] = {{"是", true, false}, {"有", false, true}, {"否", false, false}, {"无", false, false},
                          {"", false, false},  {"yes", false, false}, {"1", false, false},
                          {std::nullopt, false, false}};
    for (const Case& c : cases) {
        test::TempDir dir;
        Settings s{IniFile(dir.file("POS.ini"))};
        if (c.stored)
            s.setOption("Printer", *c.stored);
        SCOPED_TRACE(c.stored.value_or("(missing)"));
        EXPECT_EQ(s.optionYes("Printer"), c.yes);
        EXPECT_EQ(s.optionPresent("Printer"), c.present);
    }
}

// Each typed getter reads its own key of the stored file: every key holds a different text.
TEST_F(SettingsTest, TypedGettersReadTheirOwnKeys)
{
    using Getter = std::string (Settings::*)() const;
    const std::pair<const char*, Getter> keys[] = {
        {"PrintPort", &Settings::printPort},  {"DispPort", &Settings::displayPort},
        {"DispType", &Settings::displayType}, {"OpenMoneyBox", &Settings::drawerCommand},
        {"Header1", &Settings::header1},      {"Header2", &Settings::header2},
        {"Footer1", &Settings::footer1},      {"Footer2", &Settings::footer2}};
    for (const auto& [key, getter] : keys)
        settings_.setOption(key, std::string("值") + key);
    for (const auto& [key, getter] : keys)
        EXPECT_EQ((settings_.*getter)(), std::string("值") + key) << key;

    settings_.setOption("Printer", "有");
    EXPECT_TRUE(settings_.hasPrinter());
    EXPECT_FALSE(settings_.hasCustomerDisplay());
    settings_.setOptions({{"Printer", "无"}, {"ClientDisplay", "有"}});
    EXPECT_FALSE(settings_.hasPrinter());
    EXPECT_TRUE(settings_.hasCustomerDisplay());
}

TEST_F(SettingsTest, SeleStoreForms)
{
    struct Case {
        std::optional<std::string> stored;
        std::optional<bool> expected;
    };
    const Case cases[] = {{"-1", true},   {"0", false},    {"True", true},        {"False", false},
                          {"true", true}, {"2", true},     {"0.0", false},        {"", std::nullopt},
                          {std::nullopt, std::nullopt}};
    for (const Case& c : cases) {
        test::TempDir dir;
        Settings s{IniFile(dir.file("POS.ini"))};
        if (c.stored)
            s.setOption("SeleStore", *c.stored);
        SCOPED_TRACE(c.stored.value_or("(missing)"));
        EXPECT_EQ(s.seleStore(), c.expected);
    }
    settings_.setOption("SeleStore", "abc");
    EXPECT_THROW(settings_.seleStore(), SettingsError);
}

TEST_F(SettingsTest, SeleStoreIsWrittenAsMinusOneOrZero)
{
    settings_.setSeleStore(true);
    EXPECT_EQ(settings_.option("SeleStore"), "-1");
    EXPECT_EQ(settings_.seleStore(), true);
    settings_.setSeleStore(false);
    EXPECT_EQ(settings_.option("SeleStore"), "0");
    EXPECT_EQ(settings_.seleStore(), false);
}

TEST_F(SettingsTest, DevicePathsDefaultAndOverrideInSectionPorts)
{
    fileHas("[ports]\r\nCOM2=/dev/pts/7\r\nLPT3=/tmp/printer.txt\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"LPT1", "/dev/lp0"},   {"LPT2", "/dev/lp1"},    {"LPT3", "/tmp/printer.txt"}, {"LPT4", "/dev/lp3"},
        {"COM1", "/dev/ttyS0"}, {"COM2", "/dev/pts/7"},  {"COM4", "/dev/ttyS3"},       {"LPT5", ""},
        {"COM0", ""},           {"PRN", ""},             {"", ""}};
    for (const auto& [port, path] : cases)
        EXPECT_EQ(settings_.devicePath(port), path) << port;
}

// Passwords that must come back exactly as typed.
std::vector<std::string> passwords()
{
    std::string allAscii;
    for (int c = 0x01; c <= 0x7F; ++c)
        allAscii.push_back(static_cast<char>(c));
    return {"", "a", "Z", "ZZ", "%41", "%", " pass word ", "p=w;d", "[Options]", "密码123", allAscii};
}

TEST_F(SettingsTest, ScramblingTwiceGivesTheTextBackAndKeepsItsLength)
{
    for (const std::string& p : passwords()) {
        const std::string once = scramblePassword(p);
        EXPECT_EQ(once.size(), p.size());
        if (!p.empty())
            EXPECT_NE(once, p);
        EXPECT_EQ(scramblePassword(once), p);
    }
}

TEST_F(SettingsTest, PasswordsRoundTripThroughTheConnectionSection)
{
    settings_.setOption("Header1", "欢迎光临");
    for (const std::string& p : passwords()) {
        SCOPED_TRACE(testing::PrintToString(p));
        settings_.writeServerLogin({"db.shop:5433", "收银", p});
        const ServerLogin back = settings_.serverLogin();
        EXPECT_EQ(back.password, p);
        EXPECT_EQ(back.serverName, "db.shop:5433");
        EXPECT_EQ(back.loginName, "收银");
        const std::string stored = ini_.read("Connection", "LoginPwd");
        if (p.size() > 1)
            EXPECT_EQ(stored.find(p), std::string::npos) << "stored in the clear";
        EXPECT_EQ(stored.find_first_of(std::string("\0\r\n", 3)), std::string::npos);
    }
    EXPECT_EQ(settings_.option("Header1"), "欢迎光临");
}

TEST_F(SettingsTest, MissingConnectionSectionGivesAnEmptyLogin)
{
    fileHas("[Options]\r\nMachineId=3\r\n");
    const ServerLogin login = settings_.serverLogin();
    EXPECT_EQ(login.serverName, "");
    EXPECT_EQ(login.loginName, "");
    EXPECT_EQ(login.password, "");
}

}  // namespace
}  // namespace pos
