#include "pricing/goods_lookup.h"

#include "pricing/bill_arithmetic.h"
#include "pricing/price_determination.h"
#include "pricing/price_label.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
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
// Offline the matches come from the goods' text held in memory, scanned a page at a time
// as well, and only the rows of a page are read from the file.
PagedRows substringMatches(PricingStatements& sql, const std::string& text)
{
    auto from = std::make_shared<std::size_t>(0);
    auto firstPage = std::make_shared<std::vector<std::int64_t>>();
    if (sql.database().dialect() == Dialect::Sqlite
        && sql.goodsText.find(sql.database(), text, *from, kGoodsMatchPage, *firstPage)) {
        auto reader = [&sql, text, from, firstPage](std::size_t, std::size_t count) {
            std::vector<std::int64_t> ids;
            if (!firstPage->empty())
                ids.swap(*firstPage);
            else
                sql.goodsText.find(sql.database(), text, *from, std::min(count, kGoodsMatchPage), ids);
            if (ids.empty())
                return RowSet{};
            Params page(kGoodsMatchPage);
            std::copy(ids.begin(), ids.end(), page.begin());
            return sql.goodsByIds.query(page);
        };
        return PagedRows(reader, kGoodsMatchPage);
    }
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

// Lines of another price kind stay apart even at the same price, so the promotional
// quantity of a bill is always on its tagged lines.
bool mergesIntoCurrentLine(const Bill& bill, std::int64_t goodsId, const DeterminedPrice& determined, double discount)
{
    if (bill.currentLine >= bill.detail.size())
        return false;
    const ConstBillLine current = bill.line(bill.currentLine);
    return current.goodsId().toInt() == goodsId && current.price().toDouble() == determined.price
        && sameDiscount(current.discount().toDouble(), discount)
        && current.memo().toString() == priceTag(determined.kind);
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
    GoodsRow goods = readGoods(rows, g);
    const std::int64_t goodsId = goods.goodsId;

    double price = givenPrice;
    if (found.hit == Hit::Label) {
        // The label holds an amount; the quantity is what that amount buys.
        const double regular = goods.regularPrice.toDouble();
        if (regular == 0) {
            tell(c.person, "该商品的零售价为0，不能按金额条码计算数量！");
            return;
        }
        quantity = found.labelAmount / regular;
    } else if (found.hit == Hit::Package) {
        // Packages are counted in units, each at its share of the package price.
        const PackagePrice package = readPackagePrice(rows, g);
        quantity *= package.unitRate;
        if (quantity != 0)
            price = package.price / package.unitRate;
    }

    // A typed price or a package price overrides every price rule.
    DeterminedPrice determined{price, PriceKind::Regular};
    if (price == 0 && found.hit != Hit::Package)
        determined = DeterminePrice(c, static_cast<int>(goodsId), quantity, bill);
    if (determined.price == 0) {
        tell(c.person, "价格为0的商品不能销售！");
        return;
    }

    if (mergesIntoCurrentLine(bill, goodsId, determined, discount)) {
        Value& q = bill.line(bill.currentLine).quantity();
        q = q.toDouble() + quantity;
        LineAmount(bill, bill.currentLine, c.state.Digit);
        return;
    }

    const std::size_t line = bill.detail.append();
    const BillLine added = bill.line(line);
    const PriceKind kind = determined.kind;
    added.billNo() = bill.billNo();
    added.orderId() = nextOrderId;
    added.goodsId() = goodsId;
    added.code() = std::move(goods.code);
    added.barCode() = std::move(goods.barCode);
    added.name() = std::move(goods.name) + nameSuffix(kind);
    added.unit1() = std::move(goods.unit1);
    added.quantity() = quantity;
    // Online, promotion, special and member prices are never discounted further.
    added.discount() = online && kind != PriceKind::Regular ? 100.0 : discount;
    added.price() = determined.price;
    added.sPrice1() = std::move(goods.regularPrice);
    if (kind != PriceKind::Regular)
        added.memo() = priceTag(kind);
    LineAmount(bill, line, c.state.Digit);
    bill.currentLine = line;
    ++nextOrderId;
}

}  // namespace pos
