#pragma once

#include "base/pos_error.h"
#include "config/ini_file.h"
#include "db/pg_database.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pos {

inline constexpr const char* kConnectionSection = "Connection";
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kPortsSection = "Ports";

// A setting that cannot be taken in the form its readers need (SeleStore).
class SettingsError : public PosError {
public:
    explicit SettingsError(const std::string& detail) : PosError(detail, "读取设置") {}
};

// XOR with a fixed byte: the same call scrambles and unscrambles; the length is kept.
std::string scramblePassword(std::string_view text);

// Typed reads of POS.ini with the defaults each key has when missing or malformed, and
// the writes of the windows and start-up; only a non-const Settings writes the file.
class Settings {
public:
    explicit Settings(IniFile ini) : ini_(std::move(ini)) {}

    const IniFile& ini() const { return ini_; }
    IniFile& ini() { return ini_; }
    const std::string& path() const { return ini_.path(); }
    // The terminal directory, where POS.ini lies, ending in "/": POS.frf and the
    // drawer-card programs live there too.
    std::string directory() const { return path().substr(0, path().find_last_of('/') + 1); }

    std::string option(const std::string& key) const { return ini_.read(kOptionsSection, key); }
    void setOption(const std::string& key, const std::string& value) { ini_.write(kOptionsSection, key, value); }
    // Several options in one write of the file, in the order given.
    void setOptions(const std::vector<IniEntry>& entries) { ini_.write(kOptionsSection, entries); }

    // Integer keys: a value that is not an integer gives the default.
    int optionInt(const std::string& key, int defaultValue) const;
    // The same, and a value outside low..high gives the default too.
    int optionWithin(const std::string& key, int low, int high, int defaultValue) const;
    bool optionYes(const std::string& key) const { return option(key) == "是"; }      // receipt and points keys
    bool optionPresent(const std::string& key) const { return option(key) == "有"; }  // device keys

    // nullopt when empty; "-1"/"0", any number, "True"/"False"; otherwise SettingsError.
    std::optional<bool> seleStore() const;
    void setSeleStore(bool allowed) { setOption("SeleStore", allowed ? "-1" : "0"); }

    bool hasPrinter() const { return optionPresent("Printer"); }
    bool hasCustomerDisplay() const { return optionPresent("ClientDisplay"); }
    std::string printPort() const { return option("PrintPort"); }  // empty: none set
    std::string displayPort() const { return option("DispPort"); }
    std::string displayType() const { return option("DispType"); }
    // The bytes or the drawer-card program that open the cash drawer; empty: none set.
    std::string drawerCommand() const { return option("OpenMoneyBox"); }
    // The receipt's two header and two footer lines.
    std::string header1() const { return option("Header1"); }
    std::string header2() const { return option("Header2"); }
    std::string footer1() const { return option("Footer1"); }
    std::string footer2() const { return option("Footer2"); }

    int charNum() const;    // bytes per receipt line, 30..255; 30 otherwise
    int billNum() const;    // receipt copies, 1..9; 1 otherwise
    int footerNum() const;  // empty lines after the footer, 0..99: none below 0, 8 above 99 or unreadable

    // Section "Connection", with the password unscrambled.
    ServerLogin serverLogin() const;
    void writeServerLogin(const ServerLogin& login);

    // Device path of "LPT1".."LPT4" and "COM1".."COM4" (section "Ports"); empty for other names.
    std::string devicePath(const std::string& portName) const;

private:
    IniFile ini_;
};

}  // namespace pos
