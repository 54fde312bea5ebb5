#pragma once

#include <string>
#include <vector>

namespace pos {

struct IniEntry {
    std::string key;
    std::string value;
};

// POS.ini: a Windows-style settings file in GBK. Every read and every write opens the
// file for that one access, so a value written by one window is seen at its next use.
// Sections and keys compare without regard to case. A write replaces the whole file
// safely (replaceFile) and raises PosError when it cannot; a value's line breaks are
// stored as blanks (oneLine).
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    std::string read(const std::string& section, const std::string& key, const std::string& defaultValue = {}) const;
    void write(const std::string& section, const std::string& key, const std::string& value);
    // Several keys of one section in one write, in the order given: a key already in the
    // file keeps its place, a new one follows the section's last key.
    void write(const std::string& section, const std::vector<IniEntry>& entries);

private:
    std::string path_;
};

}  // namespace pos
