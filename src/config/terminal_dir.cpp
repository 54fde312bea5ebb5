#include "config/terminal_dir.h"

#include <cstdlib>
#include <filesystem>

namespace pos {

std::string terminalDirectory()
{
    std::filesystem::path dir;
    if (const char* home = std::getenv("POS_HOME"); home && *home)
        dir = home;
    else
        dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::string s = dir.string();
    if (s.empty() || s.back() != '/')
        s += '/';
    return s;
}

}  // namespace pos
