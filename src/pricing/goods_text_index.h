#pragma once

#include "base/database.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pos {

// The searchable text of the local goods (code, bar code, search code, name) held in
// memory in goods order, so the offline substring search scans one buffer instead of
// every row of a file that may hold a million goods. It matches as the local LIKE does:
// literally, ASCII letters in either case. Built at first use; any change of the goods'
// rows on the connection (the download, above all) has it read again at the next use.
class GoodsTextIndex {
public:
    // The GoodsIds whose text contains `text`, in goods order. False when the index
    // cannot answer (an empty text, or one holding the field separator): the caller then
    // asks the file.
    bool find(Database& local, std::string_view text, std::vector<std::int64_t>& ids);
    void forget();
    // Forgets the text and stops watching the goods until the next search reads them
    // again: for a writer about to replace the goods (the download), on whose every row
    // the watch would otherwise fire.
    void release(Database& local);

private:
    void build(Database& local);

    bool built_ = false;
    void* builtOn_ = nullptr;  // the connection it was read from and watches
    std::string text_;                    // each goods' fields, lower-cased, each ending in '\n'
    std::vector<std::size_t> ends_;       // end of each goods' text in text_
    std::vector<std::int64_t> goodsIds_;  // in goods order
};

}  // namespace pos
