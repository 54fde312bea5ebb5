#pragma once

#include "base/database.h"

namespace pos {

// The bill in progress: one master record with the columns of the local PosBill (row 0
// of `master`), and its lines with the columns of the local PosDetail plus the goods'
// Code, BarCode, Name and Unit1. Held in memory only; rows reach a table through the
// row copy.
struct Bill {
    RowSet master;
    RowSet detail;
    // The line under the cursor of the line list, valid while below detail.size(). The
    // goods input merges into it and leaves it on the line it added or changed.
    std::size_t currentLine = 0;

    // Empty records shaped by the local tables.
    static Bill open(Database& local);

    bool hasMaster() const { return !master.empty(); }
    Value& m(std::string_view column) { return master.at(0, column); }
    const Value& m(std::string_view column) const { return master.at(0, column); }
};

}  // namespace pos
