#pragma once

#include "base/statement_set.h"

#include <memory>
#include <string>
#include <vector>

namespace pos {

// Writes records into a table of either database by matching column names without
// regard to case. Target columns the source lacks keep their defaults; source columns
// the target lacks are dropped. The insert is built and prepared once per table and
// connection: keep the copy for as long as the source's columns stay the same.
class RowCopy : public StatementSet {
public:
    RowCopy(Database& target, const std::string& table, const Columns& source);
    // The copy kept in `copy`, made anew when there is none yet or its source columns
    // differ from these.
    static RowCopy& reuse(std::unique_ptr<RowCopy>& copy, Database& target, const std::string& table,
                          const Columns& source);

    // Empty when the two share no column.
    const std::string& statement() const { return insert_.sql(); }
    const Columns& source() const { return source_; }
    // The values of statement() for one source row, in parameter order, for a caller
    // that sends the insert itself. Raises DbError when the statement is empty.
    Params parameters(const Row& sourceRow) const;
    void insert(const Row& sourceRow);
    void insertAll(const RowSet& rows);

    struct Plan {
        std::vector<std::size_t> sourceIndex;  // source column of each parameter, in order
        std::string statement;
    };

private:
    RowCopy(Database& target, const std::string& table, const Columns& source, Plan plan);

    std::string table_;
    Columns source_;
    std::vector<std::size_t> sourceIndex_;
    Statement insert_;
};

}  // namespace pos
