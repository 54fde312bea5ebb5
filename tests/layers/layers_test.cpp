// Holds the folders of src/ to the module graph that src/CMakeLists.txt declares: a file
// includes only its own folder's headers and those of the folders its library links.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Graph = std::map<std::string, std::set<std::string>>;

Graph readGraph()
{
    Graph graph;
    std::ifstream in(POS_MODULE_GRAPH);
    std::string line;
    while (std::getline(in, line)) {
        auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream allowed(line.substr(colon + 1));
        std::string module;
        auto& set = graph[line.substr(0, colon)];
        while (allowed >> module)
            set.insert(module);
    }
    return graph;
}

// The module a path under src/ belongs to: "register/ui" for src/register/ui/x.h.
std::string moduleOf(const std::string& relative)
{
    auto first = relative.find('/');
    if (first == std::string::npos)
        return {};
    auto second = relative.find('/', first + 1);
    if (second != std::string::npos && relative.compare(first + 1, second - first - 1, "ui") == 0)
        return relative.substr(0, second);
    return relative.substr(0, first);
}

struct Include {
    std::string file;
    std::string target;
};

std::vector<Include> includesUnder(const fs::path& root)
{
    static const std::regex local(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex system(R"re(^\s*#\s*include\s*<([^>]+)>)re");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        std::ifstream in(entry.path());
        std::string line;
        const std::string file = fs::relative(entry.path(), root).generic_string();
        while (std::getline(in, line)) {
            std::smatch m;
            if (std::regex_search(line, m, local))
                found.push_back({file, m[1]});
            else if (std::regex_search(line, m, system))
                found.push_back({file, "<" + m[1].str() + ">"});
        }
    }
    return found;
}

const fs::path kSource = fs::path(POS_SOURCE_DIR) / "src";

TEST(Layers, EveryFolderIsAModuleOfTheGraph)
{
    const Graph graph = readGraph();
    ASSERT_FALSE(graph.empty()) << "module graph missing: " << POS_MODULE_GRAPH;
    for (const auto& entry : fs::recursive_directory_iterator(kSource)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".cpp")
            continue;
        const std::string file = fs::relative(entry.path(), kSource).generic_string();
        const std::string module = moduleOf(file);
        if (module == "app")
            continue;
        EXPECT_TRUE(graph.count(module)) << file << " lies in " << module << ", which builds into no library";
    }
}

TEST(Layers, IncludesFollowTheModuleGraph)
{
    const Graph graph = readGraph();
    ASSERT_FALSE(graph.empty());
    for (const Include& inc : includesUnder(kSource)) {
        if (inc.target.front() == '<')
            continue;
        const std::string from = moduleOf(inc.file);
        const std::string to = moduleOf(inc.target);
        auto allowed = graph.find(from);
        if (from == "app" || allowed == graph.end() || to.empty())
            continue;
        EXPECT_TRUE(allowed->second.count(to)) << inc.file << " includes " << inc.target << ": " << from
                                               << " may not use " << to;
    }
}

// The whole terminal is the register's and the program's: below them an operation takes
// what it uses, so its signature says what it may touch.
TEST(Layers, OnlyTheRegisterAndTheProgramHoldTheWholeTerminal)
{
    for (const Include& inc : includesUnder(kSource)) {
        if (inc.target != "config/terminal.h")
            continue;
        const std::string module = moduleOf(inc.file);
        const bool allowed = module == "register" || module == "register/ui" || module == "app"
                          || inc.file == "config/terminal.h";
        EXPECT_TRUE(allowed) << inc.file << " includes config/terminal.h";
    }
}

TEST(Layers, LogicIncludesNoQt)
{
    for (const Include& inc : includesUnder(kSource)) {
        const std::string module = moduleOf(inc.file);
        const bool window = module == "widgets" || module == "app" || module.ends_with("/ui");
        if (window)
            continue;
        const bool qt = inc.target.rfind("<Q", 0) == 0 || inc.target.rfind("<qt", 0) == 0;
        EXPECT_FALSE(qt) << inc.file << " is logic and includes " << inc.target;
    }
}

}  // namespace
