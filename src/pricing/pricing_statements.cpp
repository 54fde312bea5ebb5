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

}  // namespace pos
