#include "payment/payment_statements.h"

#include "base/waiting_card_spending.h"

#include <string>

namespace pos {
namespace {

// Offline a coupon named in a bill waiting for upload is spent already: its CardNo read
// as the save reads it (spaces dropped, full-width commas as commas, split at commas).
constexpr const char* kLocalCouponUsed =
    "case when exists(select 1 from PosBill w where instr(',' || replace(replace(replace(coalesce(w.CardNo,''),"
    "' ',''),'　',''),'，',',') || ',', ',' || B_GoodsTicket.TicketNo || ',')>0) then 1 else IsEnd end as IsEnd";

}  // namespace

PaymentStatements::PaymentStatements(Database& db)
    : StatementSet(db),
      readCoupon(*this, "select TicketNo,Amount," + pick("IsEnd", kLocalCouponUsed)
                            + " from B_GoodsTicket where TicketNo=$1"),
      readCard(*this, "select Discount," + pick("Amount", kLocalCardBalance)
                          + ",TotalAmount from B_VIPCards where CardNo=$1")
{
}

std::optional<Coupon> findCoupon(PaymentStatements& sql, const std::string& ticketNo)
{
    const RowSet coupon = sql.readCoupon.query({ticketNo});
    if (coupon.empty())
        return std::nullopt;
    return Coupon{coupon.first("Amount").toDouble(), coupon.first("IsEnd").toInt() == 1};
}

std::optional<CardFigures> findCard(PaymentStatements& sql, const std::string& cardNo)
{
    const RowSet card = sql.readCard.query({cardNo});
    if (card.empty())
        return std::nullopt;
    return CardFigures{card.first("Discount").toDouble(), card.first("Amount").toDouble(),
                       card.first("TotalAmount").toDouble()};
}

}  // namespace pos
