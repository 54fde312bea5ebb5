#include "support/memory_bill.h"

#include <string>
#include <vector>

namespace pos::test {

Bill memoryBill()
{
    std::vector<std::string> master;
    std::vector<std::string> lines;
#define POS_MASTER_NAME(field, Column) master.push_back(#Column);
    POS_BILL_COLUMNS(POS_MASTER_NAME)
#undef POS_MASTER_NAME
#define POS_LINE_NAME(field, Column, table) lines.push_back(#Column);
    POS_BILL_LINE_COLUMNS(POS_LINE_NAME)
#undef POS_LINE_NAME
    return Bill::of(RowSet(Columns(std::move(master))), RowSet(Columns(std::move(lines))));
}

}  // namespace pos::test
