#include "storage/coupon_list.h"

namespace pos {
namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::vector<std::string> couponNumbers(const std::string& cardNo)
{
    std::string text = cardNo;
    replaceAll(text, " ", "");
    replaceAll(text, "　", "");
    replaceAll(text, "，", ",");

    std::vector<std::string> numbers;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(',', begin);
        if (end == std::string::npos)
            end = text.size();
        if (end > begin)
            numbers.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return numbers;
}

namespace {

// The statement `head` followed by one bound value per coupon number and `tail`.
std::optional<SqlStatement> overCoupons(const std::string& cardNo, const char* head, const char* tail)
{
    std::vector<std::string> numbers = couponNumbers(cardNo);
    if (numbers.empty())
        return std::nullopt;
    SqlStatement statement{head, {}};
    for (std::string& number : numbers) {
        if (!statement.params.empty())
            statement.sql += ',';
        statement.params.emplace_back(std::move(number));
        statement.sql += '$' + std::to_string(statement.params.size());
    }
    statement.sql += tail;
    return statement;
}

}  // namespace

std::optional<SqlStatement> couponMarking(const std::string& cardNo)
{
    return overCoupons(cardNo, "update B_GoodsTicket set IsEnd=1 where TicketNo in (", ")");
}

std::optional<SqlStatement> usedCouponsLocked(const std::string& cardNo)
{
    // Locked rows are read again once a concurrent marking commits, so IsEnd is current.
    return overCoupons(cardNo, "select TicketNo,IsEnd from B_GoodsTicket where TicketNo in (",
                       ") order by TicketNo for update");
}

std::vector<LockedCoupon> readLockedCoupons(const RowSet& rows)
{
    std::vector<LockedCoupon> coupons;
    if (rows.empty())
        return coupons;
    const std::size_t ticketNo = rows.columns().index("TicketNo"), isEnd = rows.columns().index("IsEnd");
    coupons.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        coupons.push_back({rows.row(r)[ticketNo].toString(), rows.row(r)[isEnd].toInt() == 1});
    return coupons;
}

}  // namespace pos
