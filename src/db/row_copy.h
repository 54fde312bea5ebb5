#pragma once

#include "base/database.h"

#include <memory>
#include <string>
#include <vector>

namespace pos {

// Writes records into a table of either database by matching column names without
// regard to case. Target columns the source lacks keep their defaults; source columns
// the target lacks are dropped. The insert is built and prepared once per table.
class RowCopy {
public:
    RowCopy(Database& target, std::string table, const Columns& source);

    // Empty when the two share no column.
    const std::string& statement() const { return statement_; }

    // The values of statement() for one source row, in parameter order, for a caller
    // that sends the insert itself. Raises DbError when the statement is empty.
    Params parameters(const Row& sourceRow) const;

    void insert(const Row& sourceRow);
    void insertAll(const RowSet& rows);

private:
    Database& target_;
    std::string table_;
    std::string statement_;
    std::vector<std::size_t> sourceIndex_;  // source column of each parameter, in order
    std::unique_ptr<PreparedStatement> prepared_;
};

}  // namespace pos
