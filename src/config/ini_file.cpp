#include "config/ini_file.h"

#include "base/gbk.h"
#include "base/one_line.h"
#include "base/row_set.h"
#include "config/replace_file.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace pos {
namespace {

std::string trim(const std::string& s)
{
    auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// One line of the file: its text in UTF-8, or its bytes as they stand when they are not
// valid GBK, so that writing another key leaves such a line untouched.
struct Line {
    std::string text;
    bool decoded = true;
};

std::vector<Line> readLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<Line> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (auto text = gbkToUtf8(line))
            lines.push_back({std::move(*text)});
        else
            lines.push_back({std::move(line), false});
    }
    return lines;
}

// What tells one version of the file from the next: a write of IniFile replaces the file
// (a new inode), an edit in place changes its size or its times.
struct FileStamp {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;

    bool operator==(const FileStamp& o) const
    {
        const auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
        return device == o.device && inode == o.inode && size == o.size && same(modified, o.modified)
            && same(changed, o.changed);
    }
};

std::optional<FileStamp> stampOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// The file system's clock moves in ticks: two edits within one tick may leave the same
// times and size. A file modified this recently is read afresh at every read.
bool settled(const FileStamp& stamp)
{
    constexpr std::time_t kSettledAfterSeconds = 2;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return stamp.modified.tv_sec + kSettledAfterSeconds < now.tv_sec;
}

bool isSection(const std::string& line, std::string* name)
{
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    *name = trim(t.substr(1, t.size() - 2));
    return true;
}

bool isKey(const std::string& line, const std::string& key, std::string* value)
{
    auto eq = line.find('=');
    if (eq == std::string::npos || !sameName(trim(line.substr(0, eq)), key))
        return false;
    *value = trim(line.substr(eq + 1));
    return true;
}

void setKey(std::vector<Line>& lines, const std::string& section, const std::string& key, const std::string& value)
{
    const std::string entry = key + "=" + value;
    std::string current;
    bool inSection = false;
    bool sectionSeen = false;
    std::size_t insertAt = lines.size();
    std::string old;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isSection(lines[i].text, &current)) {
            if (inSection)
                break;  // end of our section without the key
            inSection = sameName(current, section);
            if (inSection) {
                sectionSeen = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (isKey(lines[i].text, key, &old)) {
                lines[i] = {entry};
                return;
            }
            if (!trim(lines[i].text).empty())
                insertAt = i + 1;
        }
    }
    if (!sectionSeen) {
        if (!lines.empty() && !trim(lines.back().text).empty())
            lines.push_back({""});
        lines.push_back({"[" + section + "]"});
        insertAt = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{entry});
}

}  // namespace

struct IniFile::Snapshot {
    FileStamp stamp;
    std::vector<Line> lines;
};

std::shared_ptr<const IniFile::Snapshot> IniFile::fileNow() const
{
    const std::optional<FileStamp> stamp = stampOf(path_);
    if (stamp && snapshot_ && snapshot_->stamp == *stamp)
        return snapshot_;
    // Read after the stamp: a change in between leaves an older stamp, which the next
    // read finds changed.
    auto fresh = std::make_shared<const Snapshot>(Snapshot{stamp.value_or(FileStamp{}), readLines(path_)});
    snapshot_ = stamp && settled(*stamp) ? fresh : nullptr;
    return fresh;
}

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& defaultValue) const
{
    std::string current;
    bool inSection = false;
    std::string value;
    const std::shared_ptr<const Snapshot> file = fileNow();
    for (const Line& line : file->lines) {
        if (isSection(line.text, &current))
            inSection = sameName(current, section);
        else if (inSection && isKey(line.text, key, &value))
            return value;
    }
    return defaultValue;
}

void IniFile::write(const std::string& section, const std::string& key, const std::string& value)
{
    write(section, {{key, value}});
}

void IniFile::write(const std::string& section, const std::vector<IniEntry>& entries)
{
    std::vector<Line> lines = readLines(path_);
    for (const IniEntry& entry : entries)
        setKey(lines, section, entry.key, oneLine(entry.value));
    std::string text;
    for (const Line& line : lines)
        text += (line.decoded ? utf8ToGbk(line.text) : line.text) + "\r\n";
    replaceFile(path_, text, "保存设置");
    snapshot_.reset();
}

}  // namespace pos
