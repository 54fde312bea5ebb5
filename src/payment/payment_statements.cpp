#include "payment/payment_statements.h"

namespace pos {

PaymentStatements::PaymentStatements(Database& db)
    : StatementSet(db),
      readCoupon(*this, "select * from B_GoodsTicket where TicketNo=$1"),
      readCard(*this, "select Discount,Amount,TotalAmount from B_VIPCards where CardNo=$1")
{
}

}  // namespace pos
