#include "db/row_copy.h"

namespace pos {

RowCopy::RowCopy(Database& target, std::string table, const Columns& source)
    : target_(target), table_(std::move(table))
{
    Columns targetColumns = target_.tableColumns(table_);
    std::string names;
    std::string values;
    for (const std::string& column : targetColumns.names()) {
        auto from = source.find(column);
        if (!from)
            continue;
        sourceIndex_.push_back(*from);
        if (!names.empty()) {
            names += ',';
            values += ',';
        }
        names += '"' + column + '"';
        values += '$' + std::to_string(sourceIndex_.size());
    }
    if (!names.empty())
        statement_ = "insert into " + table_ + "(" + names + ") values(" + values + ")";
}

Params RowCopy::parameters(const Row& sourceRow) const
{
    if (statement_.empty())
        throw DbError("no column of " + table_ + " matches the rows to copy");
    Params params;
    params.reserve(sourceIndex_.size());
    for (std::size_t i : sourceIndex_)
        params.push_back(sourceRow[i]);
    return params;
}

void RowCopy::insert(const Row& sourceRow)
{
    Params params = parameters(sourceRow);
    if (!prepared_)
        prepared_ = target_.prepare(statement_);
    prepared_->execute(params);
}

void RowCopy::insertAll(const RowSet& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r)
        insert(rows.row(r));
}

}  // namespace pos
