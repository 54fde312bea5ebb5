#pragma once

#include <string>

namespace pos {

// POS.ini: a Windows-style settings file in GBK. Every read and every write opens the
// file for that one access, so a value written by one window is seen at its next use.
// Sections and keys compare without regard to case.
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    std::string read(const std::string& section, const std::string& key, const std::string& defaultValue = {}) const;
    void write(const std::string& section, const std::string& key, const std::string& value);

private:
    std::string path_;
};

}  // namespace pos
