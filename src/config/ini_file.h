#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pos {

struct IniEntry {
    std::string key;
    std::string value;
};

// POS.ini: a Windows-style settings file in GBK. Every read and every write goes to the
// file for that one access, so a value written by one window, or by hand, is seen at its
// next use. A read asks the file system whether the file changed since the last read and
// reads it again only then (the register reads options at every Enter).
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
    struct Snapshot;
    std::shared_ptr<const Snapshot> fileNow() const;

    std::string path_;
    mutable std::shared_ptr<const Snapshot> snapshot_;  // the lines as last read, while unchanged
};

}  // namespace pos
