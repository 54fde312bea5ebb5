#include "storage/numbering_statements.h"

namespace pos {

std::optional<BillCounter> readBillCounter(NumberingStatements& local)
{
    const RowSet counter = local.read.query();
    if (counter.empty())
        return std::nullopt;
    return BillCounter{DateTime::parse(counter.first("BillDate").toString()), counter.first("MaxNo").toInt()};
}

}  // namespace pos
