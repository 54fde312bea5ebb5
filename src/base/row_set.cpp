#include "base/row_set.h"

#include <stdexcept>

namespace pos {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x < 0x80 && y < 0x80) {
            if (std::tolower(x) != std::tolower(y))
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

std::optional<std::size_t> Columns::find(std::string_view name) const
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (sameName(names_[i], name))
            return i;
    return std::nullopt;
}

std::size_t Columns::index(std::string_view name) const
{
    if (auto i = find(name))
        return *i;
    throw std::out_of_range("no column " + std::string(name));
}

Value RowSet::first(std::string_view column) const
{
    if (rows_.empty())
        return {};
    return rows_.front()[columns_.index(column)];
}

std::size_t RowSet::append()
{
    rows_.emplace_back(columns_.size());
    return rows_.size() - 1;
}

}  // namespace pos
