#include "queries/member_totals.h"

namespace pos {

std::string MemberTotalText(MemberTotalsStatements& sql, const std::string& cardNo)
{
    const RowSet rows = sql.totalAmount.query({cardNo});
    return rows.empty() ? std::string() : rows.at(0, "TotalAmount").toString();
}

}  // namespace pos
