#include "base/row_sort.h"

#include <algorithm>
#include <numeric>

namespace pos {

namespace {

int compareValues(const Value& a, const Value& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (!a.isText() && !b.isText()) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return a.toString().compare(b.toString());
}

}  // namespace

RowSet SortedRows(const RowSet& source, const std::vector<SortMark>& marks)
{
    std::vector<std::size_t> keys;
    for (const SortMark& mark : marks)
        keys.push_back(source.columns().index(mark.column));
    std::vector<std::size_t> order(source.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t l, std::size_t r) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const int c = compareValues(source.row(l)[keys[k]], source.row(r)[keys[k]]);
            if (c != 0)
                return marks[k].ascending ? c < 0 : c > 0;
        }
        return false;
    });
    RowSet sorted(source.columns());
    for (std::size_t r : order)
        sorted.append(source.row(r));
    return sorted;
}

void ToggleSortMark(std::vector<SortMark>& marks, const std::string& column)
{
    auto it = std::find_if(marks.begin(), marks.end(), [&](const SortMark& m) { return m.column == column; });
    if (it == marks.end())
        marks.push_back({column, true});
    else if (it->ascending)
        it->ascending = false;
    else
        marks.erase(it);
}

}  // namespace pos
