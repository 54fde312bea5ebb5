#include "members/member_statements.h"

namespace pos {
namespace {

std::optional<double> figure(const Value& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

}  // namespace

std::optional<MemberCardRecord> ReadMemberCard(MemberStatements& sql, const std::string& cardNo)
{
    const RowSet card = sql.cardByNumber.query({cardNo});
    if (card.empty())
        return std::nullopt;
    return MemberCardRecord{card.first("CardNo").toString(),
                            card.first("HolderName").toString(),
                            card.first("CardType").toString(),
                            card.first("HandOutDate").toString(),
                            card.first("DiscountType").toString(),
                            figure(card.first("Discount")),
                            figure(card.first("TotalAmount")),
                            figure(card.first("UsedCount")),
                            card.first("ValidDate").toString(),
                            figure(card.first("Amount")),
                            card.first("CardState").toString()};
}

std::string readCardPasswordHash(MemberStatements& sql, const std::string& cardNo)
{
    return sql.cardPasswordHash.query({cardNo}).first("Password").toString();
}

}  // namespace pos
