#pragma once

#include "base/row_set.h"

#include <string>
#include <vector>

namespace pos {

// A sort column of a list, in the order the columns were marked.
struct SortMark {
    std::string column;
    bool ascending = true;
};

// The rows of `source` ordered by the marks, ties kept in the source's order: numbers
// by value, texts by their bytes, nulls first. No marks give the source's order.
RowSet SortedRows(const RowSet& source, const std::vector<SortMark>& marks);

// Clicking a title: an unmarked column is marked ascending after the others, an
// ascending one turns descending, a descending one loses its mark.
void ToggleSortMark(std::vector<SortMark>& marks, const std::string& column);

}  // namespace pos
