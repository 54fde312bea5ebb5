#include "pricing/price_determination.h"

#include "base/number_format.h"

#include <optional>

namespace pos {
namespace {

// The server chooses the pricing row of the terminal's store; the local copy holds only
// that store's goods.
RowSet readPricingRow(const PricingContext& c, int goodsId)
{
    return c.sql.pricingRow.query({c.state.StoreId, goodsId});
}

std::optional<DateTime> dateOf(const Value& v)
{
    if (v.isNull())
        return std::nullopt;
    return DateTime::parse(v.toString());
}

// A dated promotion runs inside its window (inclusive) while its quantity is unlimited
// (0) or not yet sold; an undated one runs until its quantity is sold. One date alone
// never makes a promotion.
bool promotionInForce(const RowSet& row, const DateTime& now)
{
    const auto begin = dateOf(row.first("SPBeginDate"));
    const auto end = dateOf(row.first("SPEndDate"));
    const double total = row.first("SPQuantity").toDouble();
    const double sold = row.first("SPMakeQty").toDouble();
    if (begin && end)
        return *begin <= now && now <= *end && (total == 0 || total > sold);
    if (!begin && !end)
        return total > sold;
    return false;
}

void showLimitExceeded(Person& person, const char* limit, double excess)
{
    person.message(std::string("该货品的当前销量超出") + limit + "(超出数量" + generalNumber(excess)
                       + ")\r\n超出限量的货品请另外输入。",
                   "提示", MessageIcon::Information);
}

double memberPrice(const RowSet& row, int level)
{
    switch (level) {
    case 1: return row.first("SPrice1").toDouble();
    case 2: return row.first("SPrice2").toDouble();
    case 3: return row.first("SPrice3").toDouble();
    case 4: return row.first("SPrice4").toDouble();
    default: return row.first("InSiderPrice").toDouble();
    }
}

// The promotion in force: enforces the limits per bill and in all (which may lower the
// quantity), counts the sale and gives the promotional price; nothing when this bill
// already holds its limit.
std::optional<DeterminedPrice> promotionPrice(const PricingContext& c, const RowSet& row, int goodsId, double& quantity,
                                              Bill& bill)
{
    const double before = SumQuantityOfGoods(goodsId, bill);
    const double perBill = row.first("SPBillQty").toDouble();
    const double total = row.first("SPQuantity").toDouble();
    const double sold = row.first("SPMakeQty").toDouble();
    if (perBill > 0 && perBill > before && before + quantity > perBill) {
        showLimitExceeded(c.person, "每单限量", before + quantity - perBill);
        quantity = perBill - before;
    }
    if (total > 0 && sold < total && total - sold < quantity) {
        showLimitExceeded(c.person, "可促销量", quantity - (total - sold));
        quantity = total - sold;
    }
    if (perBill != 0 && perBill <= before)
        return std::nullopt;
    c.sql.raisePromotionCounter.execute({quantity, goodsId});
    return DeterminedPrice{row.first("SPPrice").toDouble(), PriceKind::Promotion};
}

}  // namespace

double SumQuantityOfGoods(int goodsId, Bill& bill)
{
    double sum = 0;
    for (std::size_t line = 0; line < bill.detail.size(); ++line)
        if (bill.line(line).goodsId().toInt() == goodsId)
            sum += bill.line(line).quantity().toDouble();
    if (!bill.detail.empty())
        bill.currentLine = bill.detail.size() - 1;
    return sum;
}

int MemberPriceLevel(PricingStatements& sql, const std::string& cardNo)
{
    return static_cast<int>(sql.memberPriceLevel.query({cardNo})
                                .first("PriceLevel")
                                .toInt());
}

DeterminedPrice DeterminePrice(const PricingContext& c, int goodsId, double& quantity, Bill& bill)
{
    const RowSet row = readPricingRow(c, goodsId);
    if (row.empty())
        return {};
    const DateTime now = c.clock.now();
    const std::string card = bill.insiderCode().toString();

    DeterminedPrice result;
    if (auto promotion = promotionInForce(row, now) ? promotionPrice(c, row, goodsId, quantity, bill) : std::nullopt)
        result = *promotion;
    else if (row.first("IsLowPrice").toInt() == 1)
        result = {row.first("LowPrice").toDouble(), PriceKind::Special};
    else if (!card.empty() && c.member.VIPDiscountType == 1)
        result = {memberPrice(row, MemberPriceLevel(c.sql, card)), PriceKind::Member};
    // A rule that gives 0 falls back to the regular price but keeps its kind.
    if (result.price == 0)
        result.price = row.first("SPrice1").toDouble();
    return result;
}

}  // namespace pos
