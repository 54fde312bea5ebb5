#include "register/server_options.h"
#include "register/register_statements.h"

#include "config/terminal.h"

#include <algorithm>
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

}  // namespace

void LoadServerOptions(Terminal& t)
{
    if (t.state.NetMode != Online)
        return;
    RowSet options = t.dm.conServer().statements<RegisterStatements>().serverOptions.query();
    std::vector<IniEntry> copied;
    for (std::size_t r = 0; r < options.size(); ++r) {
        const std::string name = options.at(r, "OptionName").toString();
        if (listed(kAlwaysFromServer, name) || (listed(kUnlessSetLocally, name) && t.settings.option(name).empty()))
            copied.push_back({name, options.at(r, "OptionValue").toString()});
    }
    // One write: a start-up cut short leaves the file as it was, not half copied.
    if (!copied.empty())
        t.settings.setOptions(copied);
}

}  // namespace pos
