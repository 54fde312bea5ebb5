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
// Each goods also has a signature of the pairs of adjacent bytes in its text, so that a
// search of two bytes or more reads eight bytes of most goods instead of their text.
class GoodsTextIndex {
public:
    // Appends the GoodsIds of up to `count` further goods whose text contains `text`, in
    // goods order, starting at goods position `from` (0 for the first page) and moving
    // it past the last goods listed, or to the end: a pick list's first page stops
    // scanning at its last row. False when the index cannot answer (an empty text, or
    // one holding the field separator): the caller then asks the file.
    bool find(Database& local, std::string_view text, std::size_t& from, std::size_t count,
              std::vector<std::int64_t>& ids);
    void forget();

private:
    void build(Database& local);
    bool contains(std::size_t goods, std::string_view needle) const;

    bool built_ = false;
    void* builtOn_ = nullptr;  // the connection it was read from and watches
    std::string text_;                    // each goods' fields, lower-cased, each ending in '\n'
    std::vector<std::size_t> ends_;       // end of each goods' text in text_
    std::vector<std::int64_t> goodsIds_;  // in goods order
    std::vector<std::uint64_t> pairs_;    // of each goods, the signature of its pairs of bytes
};

}  // namespace pos
