#include "base/paged_rows.h"

#include <utility>

namespace pos {

PagedRows::PagedRows(RowSet rows) : rows_(std::move(rows)) {}

PagedRows::PagedRows(PageReader reader, std::size_t pageSize) : reader_(std::move(reader)), pageSize_(pageSize)
{
    rows_ = reader_(0, pageSize_);
    if (rows_.size() < pageSize_)
        reader_ = nullptr;
}

std::size_t PagedRows::readMore()
{
    if (!reader_)
        return 0;
    RowSet page = reader_(rows_.size(), pageSize_);
    // A short page is the last one.
    if (page.size() < pageSize_)
        reader_ = nullptr;
    for (std::size_t r = 0; r < page.size(); ++r)
        rows_.append(std::move(page.row(r)));
    return page.size();
}

}  // namespace pos
