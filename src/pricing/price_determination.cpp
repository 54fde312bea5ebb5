#include "pricing/price_determination.h"

#include "base/number_format.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace pos {
namespace {

// The server chooses the pricing row of the terminal's store; the local copy holds only
// that store's goods.
std::optional<PricingRow> pricingRowOf(const PricingContext& c, int goodsId)
{
    return readPricingRow(c.sql, c.state.StoreId, goodsId);
}

// A dated promotion runs inside its window (inclusive) while its quantity is unlimited
// (0) or not yet sold; an undated one runs until its quantity is sold. One date alone
// never makes a promotion. The clock is read only for a dated one: online it asks the
// server, a round trip most scans need not wait for.
bool promotionInForce(const PricingRow& row, const Clock& clock)
{
    const auto& begin = row.promotionBegin;
    const auto& end = row.promotionEnd;
    const double total = row.promotionQuantity;
    const double sold = row.promotionSold;
    if (begin && end) {
        const DateTime now = clock.now();
        return *begin <= now && now <= *end && (total == 0 || total > sold);
    }
    if (!begin && !end)
        return total > sold;
    return false;
}

const char* const kPerBillLimit = "每单限量";
const char* const kPromotionalQuantity = "可促销量";

void showLimitExceeded(Person& person, const char* limit, double excess)
{
    person.message(std::string("该货品的当前销量超出") + limit + "(超出数量" + generalNumber(excess)
                       + ")\r\n超出限量的货品请另外输入。",
                   "提示", MessageIcon::Information);
}

// How much of `wanted` the promotion has left by the row as read: all of a return, or
// of a promotion without quantity limit.
double leftOf(const PricingRow& row, double wanted)
{
    const double total = row.promotionQuantity;
    if (wanted <= 0 || total <= 0)
        return wanted;
    return std::min(wanted, std::max(0.0, total - row.promotionSold));
}

// Takes up to `wanted` of the promotional quantity on the database of the working mode
// and returns what it got. The update takes all it asks for or nothing; refused because
// another terminal took some since the row was read, it asks again for what is left.
double takePromotionalQuantity(const PricingContext& c, int goodsId, double wanted, PricingRow row)
{
    for (;;) {
        const double ask = leftOf(row, wanted);
        if (wanted > 0 && ask <= 0)
            return 0;
        if (c.sql.takePromotionQuantity.execute({ask, goodsId}) > 0)
            return ask;
        const double seen = row.promotionSold;
        const std::optional<PricingRow> again = pricingRowOf(c, goodsId);
        if (!again || again->promotionSold == seen)
            return 0;  // nobody else moved the counter: nothing more to take
        row = *again;
    }
}

double memberPrice(const PricingRow& row, int level)
{
    if (level >= 1 && level <= 4)
        return row.levelPrices[static_cast<std::size_t>(level - 1)];
    return row.insiderPrice;
}

// The promotion in force: a bill that already holds its limit gets none. Otherwise the
// quantity is lowered to the bill's limit and to what is left of the promotion, taken
// from the counter at once, and the cashier is told of each cut; nothing when another
// terminal sold the rest since the row was read.
std::optional<DeterminedPrice> promotionPrice(const PricingContext& c, const PricingRow& row, int goodsId, double& quantity,
                                              Bill& bill)
{
    const double before = SumQuantityOfGoods(goodsId, bill);
    const double perBill = row.perBillLimit;
    if (perBill != 0 && perBill <= before)
        return std::nullopt;
    const double wanted = perBill > 0 && before + quantity > perBill ? perBill - before : quantity;
    const double granted = takePromotionalQuantity(c, goodsId, wanted, row);
    if (wanted > 0 && granted <= 0)
        return std::nullopt;
    if (wanted < quantity)
        showLimitExceeded(c.person, kPerBillLimit, quantity - wanted);
    if (granted < wanted)
        showLimitExceeded(c.person, kPromotionalQuantity, wanted - granted);
    quantity = granted;
    return DeterminedPrice{row.promotionPrice, PriceKind::Promotion};
}

double quantityOfGoods(int goodsId, const Bill& bill)
{
    double sum = 0;
    for (std::size_t line = 0; line < bill.detail.size(); ++line)
        if (bill.line(line).goodsId().toInt() == goodsId)
            sum += bill.line(line).quantity().toDouble();
    return sum;
}

}  // namespace

double SumQuantityOfGoods(int goodsId, Bill& bill)
{
    if (!bill.detail.empty())
        bill.currentLine = bill.detail.size() - 1;
    return quantityOfGoods(goodsId, bill);
}

int MemberPriceLevel(PricingStatements& sql, const std::string& cardNo)
{
    return static_cast<int>(sql.memberPriceLevel.query({cardNo})
                                .first("PriceLevel")
                                .toInt());
}

DeterminedPrice DeterminePrice(const PricingContext& c, int goodsId, double& quantity, Bill& bill)
{
    const std::optional<PricingRow> row = pricingRowOf(c, goodsId);
    if (!row)
        return {};
    const std::string card = bill.insiderCode().toString();

    DeterminedPrice result;
    if (auto promotion = promotionInForce(*row, c.clock) ? promotionPrice(c, *row, goodsId, quantity, bill) : std::nullopt)
        result = *promotion;
    else if (row->specialPriceOn)
        result = {row->specialPrice, PriceKind::Special};
    else if (!card.empty() && c.member.VIPDiscountType == MemberDiscountType::MemberPrices)
        result = {memberPrice(*row, MemberPriceLevel(c.sql, card)), PriceKind::Member};
    // A rule that gives 0 falls back to the regular price but keeps its kind.
    if (result.price == 0)
        result.price = row->regularPrice();
    return result;
}

bool ChangePromotionalQuantity(const PricingContext& c, Bill& bill, std::size_t line, double quantity)
{
    const ConstBillLine current = std::as_const(bill).line(line);
    const double difference = quantity - current.quantity().toDouble();
    if (current.memo().toString() != kPromotionTag || difference == 0)
        return true;
    const int goodsId = static_cast<int>(current.goodsId().toInt());
    const std::optional<PricingRow> row = pricingRowOf(c, goodsId);
    if (difference < 0) {
        // Giving back reads nothing of the row, so a missing one gives back all the same.
        takePromotionalQuantity(c, goodsId, difference, row.value_or(PricingRow{}));
        return true;
    }
    if (!row || !promotionInForce(*row, c.clock)) {
        showLimitExceeded(c.person, kPromotionalQuantity, difference);
        return false;
    }
    const double perBill = row->perBillLimit;
    const double onBill = quantityOfGoods(goodsId, bill);
    if (perBill > 0 && onBill + difference > perBill) {
        showLimitExceeded(c.person, kPerBillLimit, onBill + difference - perBill);
        return false;
    }
    const double granted = takePromotionalQuantity(c, goodsId, difference, *row);
    if (granted < difference) {
        // All or nothing: a part would leave the line above what the promotion gave it.
        if (granted > 0)
            takePromotionalQuantity(c, goodsId, -granted, *row);
        showLimitExceeded(c.person, kPromotionalQuantity, difference - granted);
        return false;
    }
    return true;
}

}  // namespace pos
