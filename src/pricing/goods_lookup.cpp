#include "pricing/goods_lookup.h"

#include "pricing/bill_arithmetic.h"
#include "pricing/price_determination.h"
#include "pricing/price_label.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace pos {
namespace {

// The typed text is matched literally inside the columns: its own wildcards are escaped.
std::string containsPattern(const std::string& text)
{
    std::string pattern = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

enum class Hit { Goods, Label, Package };

struct Found {
    PagedRows goods{RowSet{}};
    Hit hit = Hit::Goods;
    double labelAmount = 0;
};

// A short text may match much of a large catalogue: the pick list reads its matches a
// page at a time as it scrolls. In the order of the goods' key, so the first page stops
// at its hundredth match instead of sorting every match first.
PagedRows substringMatches(PricingStatements& sql, const std::string& text)
{
    auto reader = [&sql, pattern = containsPattern(text)](std::size_t offset, std::size_t count) {
        return sql.goodsBySubstring.query(
            {pattern, static_cast<std::int64_t>(count), static_cast<std::int64_t>(offset)});
    };
    return PagedRows(reader, kGoodsMatchPage);
}

// Tries the keys in order; the first that yields rows ends the search.
Found findGoods(PricingStatements& sql, const std::string& text)
{
    Found found;
    auto hit = [&found](RowSet rows, Hit kind = Hit::Goods) {
        if (rows.empty())
            return false;
        found.goods = PagedRows(std::move(rows));
        found.hit = kind;
        return true;
    };
    if (hit(sql.goodsByBarCode.query({text})) || hit(sql.goodsByCode.query({text})))
        return found;
    if (auto label = parsePriceLabel(text); label && hit(sql.goodsByCode.query({label->goodsCode}), Hit::Label)) {
        found.labelAmount = label->amount;
        return found;
    }
    if (hit(sql.goodsByPackageBarCode.query({text}), Hit::Package))
        return found;
    const RowSet extra = sql.extraBarCode.query({text});
    if (!extra.empty() && hit(sql.goodsById.query({extra.first("GoodsId")})))
        return found;
    if (hit(sql.goodsByFindCode.query({text})))
        return found;
    found.goods = substringMatches(sql, text);
    return found;
}

void tell(Person& person, const char* text) { person.message(text, "提示", MessageIcon::Information); }

// Discounts are fixed-point numbers with four decimals.
bool sameDiscount(double a, double b) { return std::llround(a * 10000) == std::llround(b * 10000); }

bool mergesIntoCurrentLine(const Bill& bill, std::int64_t goodsId, double price, double discount)
{
    if (bill.currentLine >= bill.detail.size())
        return false;
    const RowSet& d = bill.detail;
    const std::size_t line = bill.currentLine;
    return d.at(line, "GoodsId").toInt() == goodsId && d.at(line, "Price").toDouble() == price
        && sameDiscount(d.at(line, "Discount").toDouble(), discount);
}

}  // namespace

void AddGoodsByInput(const PricingContext& c, const std::string& input, double givenPrice, double quantity,
                     double discount, Bill& bill, int& nextOrderId)
{
    const bool online = c.state.NetMode == Online;
    Found found = findGoods(c.sql, input);
    if (found.goods.rows().empty()) {
        tell(c.person, "没有找到该商品！");
        return;
    }
    const bool several = found.goods.rows().size() > 1 || found.goods.canReadMore();
    const std::size_t picked = several ? c.person.pickGoods(found.goods) : 0;
    const RowSet& rows = found.goods.rows();
    const std::size_t g = std::min(picked, rows.size() - 1);
    const std::int64_t goodsId = rows.at(g, "GoodsId").toInt();

    double price = givenPrice;
    if (found.hit == Hit::Label) {
        // The label holds an amount; the quantity is what that amount buys.
        const double regular = rows.at(g, "SPrice1").toDouble();
        if (regular == 0) {
            tell(c.person, "该商品的零售价为0，不能按金额条码计算数量！");
            return;
        }
        quantity = found.labelAmount / regular;
    } else if (found.hit == Hit::Package) {
        // Packages are counted in units, each at its share of the package price.
        const double unitRate = rows.at(g, "UnitRate").toDouble();
        quantity *= unitRate;
        if (quantity != 0)
            price = rows.at(g, "PKPrice").toDouble() / unitRate;
    }

    // A typed price or a package price overrides every price rule.
    DeterminedPrice determined{price, PriceKind::Regular};
    if (price == 0 && found.hit != Hit::Package)
        determined = DeterminePrice(c, static_cast<int>(goodsId), quantity, bill);
    if (determined.price == 0) {
        tell(c.person, "价格为0的商品不能销售！");
        return;
    }

    if (mergesIntoCurrentLine(bill, goodsId, determined.price, discount)) {
        Value& q = bill.detail.at(bill.currentLine, "Quantity");
        q = q.toDouble() + quantity;
        LineAmount(bill, bill.currentLine, c.state.Digit);
        return;
    }

    const std::size_t line = bill.detail.append();
    RowSet& d = bill.detail;
    const PriceKind kind = determined.kind;
    d.at(line, "BillNo") = bill.m("BillNo");
    d.at(line, "OrderId") = nextOrderId;
    d.at(line, "GoodsId") = goodsId;
    d.at(line, "Code") = rows.at(g, "Code");
    d.at(line, "BarCode") = rows.at(g, "BarCode");
    d.at(line, "Name") = rows.at(g, "Name").toString() + nameSuffix(kind);
    d.at(line, "Unit1") = rows.at(g, "Unit1");
    d.at(line, "Quantity") = quantity;
    // Online, promotion, special and member prices are never discounted further.
    d.at(line, "Discount") = online && kind != PriceKind::Regular ? 100.0 : discount;
    d.at(line, "Price") = determined.price;
    d.at(line, "SPrice1") = rows.at(g, "SPrice1");
    if (kind != PriceKind::Regular)
        d.at(line, "Memo") = priceTag(kind);
    LineAmount(bill, line, c.state.Digit);
    bill.currentLine = line;
    ++nextOrderId;
}

}  // namespace pos
