#include "config/ini_file.h"

#include "base/gbk.h"
#include "base/one_line.h"
#include "base/row_set.h"
#include "config/replace_file.h"

#include <fstream>
#include <vector>

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

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& defaultValue) const
{
    std::string current;
    bool inSection = false;
    std::string value;
    for (const Line& line : readLines(path_)) {
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
}

}  // namespace pos
