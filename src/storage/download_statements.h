#pragma once

#include "base/statement_set.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

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

    // The hash each operator's password got at an earlier download in this session, by
    // OperatorId, with the password it was made from: an unchanged password keeps its
    // hash rather than paying the slow hash again at every download. Held in memory only.
    struct PasswordHash {
        std::string password;
        std::string hash;
    };
    std::map<std::int64_t, PasswordHash> passwordHashes;
};

}  // namespace pos
