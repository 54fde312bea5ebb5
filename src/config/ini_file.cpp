#include "config/ini_file.h"

#include "config/gbk.h"
#include "config/row_set.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
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

// Lines of the file in UTF-8. A line that is not valid GBK is kept as it stands.
std::vector<std::string> readLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(gbkToUtf8(line).value_or(line));
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

}  // namespace

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& defaultValue) const
{
    std::string current;
    bool inSection = false;
    std::string value;
    for (const std::string& line : readLines(path_)) {
        if (isSection(line, &current))
            inSection = sameName(current, section);
        else if (inSection && isKey(line, key, &value))
            return value;
    }
    return defaultValue;
}

void IniFile::write(const std::string& section, const std::string& key, const std::string& value) const
{
    if (value.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("a setting is one line");
    std::vector<std::string> lines = readLines(path_);
    std::string entry = key + "=" + value;
    std::string current;
    bool inSection = false;
    bool sectionSeen = false;
    std::size_t insertAt = lines.size();
    std::string old;
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        if (isSection(lines[i], &current)) {
            if (inSection)
                break;  // end of our section without the key
            inSection = sameName(current, section);
            if (inSection) {
                sectionSeen = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (isKey(lines[i], key, &old)) {
                lines[i] = entry;
                done = true;
            } else if (!trim(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!done) {
        if (!sectionSeen) {
            if (!lines.empty() && !trim(lines.back()).empty())
                lines.push_back("");
            lines.push_back("[" + section + "]");
            insertAt = lines.size();
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    }
    std::ostringstream text;
    for (const std::string& line : lines)
        text << utf8ToGbk(line) << "\r\n";
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path_);
    out << text.str();
}

}  // namespace pos
