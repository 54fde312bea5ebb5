#include "db/row_copy.h"

namespace pos {
namespace {

RowCopy::Plan planInsert(Database& target, const std::string& table, const Columns& source)
{
    RowCopy::Plan plan;
    std::string names;
    std::string values;
    const Columns targetColumns = target.tableColumns(table);
    for (const std::string& column : targetColumns.names()) {
        auto from = source.find(column);
        if (!from)
            continue;
        plan.sourceIndex.push_back(*from);
        if (!names.empty()) {
            names += ',';
            values += ',';
        }
        names += '"' + column + '"';
        values += '$' + std::to_string(plan.sourceIndex.size());
    }
    if (!names.empty())
        plan.statement = "insert into " + table + "(" + names + ") values(" + values + ")";
    return plan;
}

}  // namespace

RowCopy::RowCopy(Database& target, const std::string& table, const Columns& source)
    : RowCopy(target, table, source, planInsert(target, table, source))
{
}

RowCopy::RowCopy(Database& target, const std::string& table, const Columns& source, Plan plan)
    : StatementSet(target), table_(table), source_(source), sourceIndex_(std::move(plan.sourceIndex)),
      insert_(*this, std::move(plan.statement))
{
}

RowCopy& RowCopy::reuse(std::unique_ptr<RowCopy>& copy, Database& target, const std::string& table,
                       const Columns& source)
{
    if (!copy || copy->source().names() != source.names())
        copy = std::make_unique<RowCopy>(target, table, source);
    return *copy;
}

Params RowCopy::parameters(const Row& sourceRow) const
{
    if (insert_.sql().empty())
        throw DbError("no column of " + table_ + " matches the rows to copy");
    Params params;
    params.reserve(sourceIndex_.size());
    for (std::size_t i : sourceIndex_)
        params.push_back(sourceRow[i]);
    return params;
}

void RowCopy::insert(const Row& sourceRow) { insert_.execute(parameters(sourceRow)); }

void RowCopy::insertAll(const RowSet& rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r)
        insert(rows.row(r));
}

}  // namespace pos
