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

std::optional<SqlStatement> couponMarking(const std::string& cardNo)
{
    std::vector<std::string> numbers = couponNumbers(cardNo);
    if (numbers.empty())
        return std::nullopt;
    SqlStatement marking{"update B_GoodsTicket set IsEnd=1 where TicketNo in (", {}};
    for (std::string& number : numbers) {
        if (!marking.params.empty())
            marking.sql += ',';
        marking.params.emplace_back(std::move(number));
        marking.sql += '$' + std::to_string(marking.params.size());
    }
    marking.sql += ')';
    return marking;
}

}  // namespace pos
