#include "pricing/pricing_statements.h"

#include "pricing/goods_lookup.h"

#include <string>

namespace pos {
namespace {

constexpr const char* kGoodsColumns = "select GoodsId,Code,BarCode,Name,Unit1,SPrice1 from B_Goods ";

std::string localGoods(const char* where) { return std::string(kGoodsColumns) + where; }

// One page of the substring search's matches: kGoodsMatchPage GoodsIds, unused ones null.
std::string goodsByIdsSql()
{
    std::string in;
    for (std::size_t i = 1; i <= kGoodsMatchPage; ++i)
        in += (i > 1 ? ",$" : "$") + std::to_string(i);
    return localGoods(("where GoodsId in (" + in + ") order by GoodsId").c_str());
}

}  // namespace

PricingStatements::PricingStatements(Database& db)
    : StatementSet(db),
      goodsByBarCode(*this, pick("select * from SelectGoodsA($1)", localGoods("where BarCode=$1"))),
      goodsByCode(*this, pick("select * from SelectGoodsB($1)", localGoods("where Code=$1"))),
      extraBarCode(*this, pick("select * from SelectBarCode($1)", "select * from B_BarCode where BarCode=$1")),
      goodsById(*this, pick("select * from SelectGoodsD($1)", localGoods("where GoodsId=$1"))),
      goodsByPackageBarCode(
          *this,
          "select GoodsId,Code,BarCode,Name,Unit1,SPrice1,UnitRate,PKPrice from B_Goods where PKBarCode=$1"),
      // Search codes are pinyin initials: "kl" finds "KL".
      goodsByFindCode(*this, localGoods("where upper(FindCode)=upper($1)")),
      goodsBySubstring(*this, localGoods("where Code like $1 escape '\\' or BarCode like $1 escape '\\' "
                                         "or FindCode like $1 escape '\\' or Name like $1 escape '\\' "
                                         "order by GoodsId limit $2 offset $3")),
      goodsByIds(*this, localOnly(goodsByIdsSql())),
      pricingRow(*this, pick("select * from SelectGoodsC($1,$2)",
                             "select GoodsId,SPrice1,SPrice2,SPrice3,SPrice4,SPBeginDate,SPEndDate,SPQuantity,"
                             "SPMakeQty,SPPrice,SPBillQty,InSiderPrice,LowPrice,IsLowPrice from B_Goods "
                             "where GoodsId=$2")),
      // Adds the quantity to the counter only when the promotion still has that much
      // left (a return, or a promotion without quantity limit, always): the row is
      // checked and written in one statement, so sales made at the same moment on
      // several terminals never pass SPQuantity together. Quantities carry four decimals
      // on the server; the margin only absorbs the binary rounding of what is left.
      takePromotionQuantity(*this, "update B_Goods set SPMakeQty=coalesce(SPMakeQty,0)+$1 where GoodsId=$2 "
                                   "and (coalesce(SPMakeQty,0)+$1<=coalesce(SPQuantity,0)+0.000001 "
                                   "or coalesce(SPQuantity,0)<=0 or $1<=0)"),
      memberPriceLevel(*this, "select PriceLevel from B_VIPCards where CardNo=$1"),
      discountBands(*this, "select * from B_AutoDiscount")
{
}

GoodsRow readGoods(const RowSet& goods, std::size_t r)
{
    const Columns& c = goods.columns();
    const Row& row = goods.row(r);
    return GoodsRow{row[c.index("GoodsId")].toInt(), row[c.index("Code")],  row[c.index("BarCode")],
                    row[c.index("Name")].toString(), row[c.index("Unit1")], row[c.index("SPrice1")]};
}

PackagePrice readPackagePrice(const RowSet& goods, std::size_t r)
{
    const Columns& c = goods.columns();
    const Row& row = goods.row(r);
    return PackagePrice{row[c.index("UnitRate")].toDouble(), row[c.index("PKPrice")].toDouble()};
}

namespace {

std::optional<DateTime> dateOf(const Value& v)
{
    if (v.isNull())
        return std::nullopt;
    return DateTime::parse(v.toString());
}

}  // namespace

std::optional<PricingRow> readPricingRow(PricingStatements& sql, int storeId, int goodsId)
{
    const RowSet rows = sql.pricingRow.query({storeId, goodsId});
    if (rows.empty())
        return std::nullopt;
    auto number = [&rows](const char* column) { return rows.first(column).toDouble(); };
    PricingRow row;
    row.promotionBegin = dateOf(rows.first("SPBeginDate"));
    row.promotionEnd = dateOf(rows.first("SPEndDate"));
    row.promotionQuantity = number("SPQuantity");
    row.promotionSold = number("SPMakeQty");
    row.promotionPrice = number("SPPrice");
    row.perBillLimit = number("SPBillQty");
    row.specialPriceOn = rows.first("IsLowPrice").toInt() == 1;
    row.specialPrice = number("LowPrice");
    row.levelPrices = {number("SPrice1"), number("SPrice2"), number("SPrice3"), number("SPrice4")};
    row.insiderPrice = number("InSiderPrice");
    return row;
}

std::vector<DiscountBand> readDiscountBands(PricingStatements& sql)
{
    const RowSet rows = sql.discountBands.query();
    const Columns& c = rows.columns();
    std::vector<DiscountBand> bands;
    if (rows.empty())
        return bands;
    const std::size_t down = c.index("DownAmount"), up = c.index("UpAmount"), rate = c.index("Discount");
    bands.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows.row(r);
        bands.push_back({static_cast<double>(row[down].toInt()), static_cast<double>(row[up].toInt()),
                         row[rate].toDouble()});
    }
    return bands;
}

}  // namespace pos
