#include "storage/sale_statements.h"

namespace pos {

SaleStatements::SaleStatements(Database& db)
    : StatementSet(db),
      updateStock(*this, serverOnly("select UpdateStock($1,$2,$3)")),
      ordinaryCardBooking(*this, serverOnly("update B_VIPCards set TotalAmount=coalesce(TotalAmount,0)+$1, "
                                            "UsedCount=coalesce(UsedCount,0)+$2 where CardNo=$3")),
      storedValueCardBooking(*this,
                             serverOnly("update B_VIPCards set Amount=coalesce(Amount,0)-$1, "
                                        "TotalAmount=coalesce(TotalAmount,0)+$2, "
                                        "UsedCount=coalesce(UsedCount,0)+$3 where CardNo=$4")),
      storedValueCardPayment(*this,
                             serverOnly("update B_VIPCards set Amount=coalesce(Amount,0)-$1::numeric, "
                                        "TotalAmount=coalesce(TotalAmount,0)+$2, "
                                        "UsedCount=coalesce(UsedCount,0)+$3 "
                                        "where CardNo=$4 and ($1::numeric<=0 or coalesce(Amount,0)>=$1)")),
      cardExists(*this, serverOnly("select CardNo from B_VIPCards where CardNo=$1")),
      endSession(*this, serverOnly("select pg_terminate_backend(pid, 5000) from pg_stat_activity "
                                   "where pid=$1 and usename=current_user"))
{
}

RowCopy& SaleStatements::copyInto(std::unique_ptr<RowCopy>& copy, const char* table, const Columns& source)
{
    return RowCopy::reuse(copy, database(), table, source);
}

}  // namespace pos
