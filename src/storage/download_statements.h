#pragma once

#include "base/statement_set.h"

#include <array>

namespace pos {

// The master tables in the order they are copied from the server, with the rows each
// copy reads. The goods come first, for the selling store given as $1.
class DownloadStatements : public StatementSet {
public:
    explicit DownloadStatements(Database& server);

    struct Table {
        const char* name;
        Statement rows;
    };
    Table goods;
    Table barCodes;
    std::array<Table, 9> others;
};

}  // namespace pos
