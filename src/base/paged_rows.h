#pragma once

#include "base/row_set.h"

#include <cstddef>
#include <functional>

namespace pos {

// Rows read a page at a time: the rows read so far, and more on request. A list over a
// large table shows its first page at once and reads on as it scrolls.
class PagedRows {
public:
    // Reads `count` rows starting at row `offset`; fewer at the end.
    using PageReader = std::function<RowSet(std::size_t offset, std::size_t count)>;

    // All rows at once: nothing more to read.
    explicit PagedRows(RowSet rows);
    // Reads the first page now.
    PagedRows(PageReader reader, std::size_t pageSize);

    const RowSet& rows() const { return rows_; }
    bool canReadMore() const { return static_cast<bool>(reader_); }
    // Reads the next page onto the end; returns how many rows it added.
    std::size_t readMore();

private:
    RowSet rows_;
    PageReader reader_;
    std::size_t pageSize_ = 0;
};

}  // namespace pos
