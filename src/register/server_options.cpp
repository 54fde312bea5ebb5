#include "register/server_options.h"
#include "register/register_statements.h"

#include "config/terminal.h"

#include <algorithm>
#include <utility>
#include <array>
#include <string_view>
#include <vector>

namespace pos {
namespace {

// A value set at the terminal wins over the back office's.
constexpr std::array<std::string_view, 11> kUnlessSetLocally = {
    "Header1", "Header2", "Footer1", "Footer2", "DiscountCol", "PrintVIPCard",
    "PrintExeMan", "PrintBillNo", "PrintPoint", "PrintDisAmount", "GoodsOneLine"};

// The back office decides these for every terminal.
constexpr std::array<std::string_view, 6> kAlwaysFromServer = {"FooterNum", "Digit", "PointRate",
                                                               "NotPointSP", "NotPointLP", "NotPointIP"};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The back office's options as names and values.
std::vector<IniEntry> backOfficeOptions(RegisterStatements& server)
{
    const RowSet rows = server.serverOptions.query();
    std::vector<IniEntry> options;
    if (rows.empty())
        return options;
    const std::size_t name = rows.columns().index("OptionName"), value = rows.columns().index("OptionValue");
    options.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        options.push_back({rows.row(r)[name].toString(), rows.row(r)[value].toString()});
    return options;
}

}  // namespace

void LoadServerOptions(Terminal& t)
{
    if (t.state.NetMode != Online)
        return;
    std::vector<IniEntry> copied;
    for (IniEntry& option : backOfficeOptions(t.dm.conServer().statements<RegisterStatements>())) {
        const std::string& name = option.key;
        if (listed(kAlwaysFromServer, name) || (listed(kUnlessSetLocally, name) && t.settings.option(name).empty()))
            copied.push_back(std::move(option));
    }
    // One write: a start-up cut short leaves the file as it was, not half copied.
    if (!copied.empty())
        t.settings.setOptions(copied);
}

}  // namespace pos
