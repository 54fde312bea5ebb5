#pragma once

#include "base/clock.h"
#include "base/statement_set.h"
#include "pricing/goods_text_index.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pos {

// The goods lookup's and the price rules' statements on one connection. The server
// answers the keys with its procedures; the local file with plain selects of its copy.
class PricingStatements : public StatementSet {
public:
    explicit PricingStatements(Database& db);

    Statement goodsByBarCode;
    Statement goodsByCode;
    Statement extraBarCode;  // the B_BarCode row, for its GoodsId
    Statement goodsById;
    Statement goodsByPackageBarCode;
    Statement goodsByFindCode;
    Statement goodsBySubstring;  // pattern, page size, offset
    Statement goodsByIds;        // local only: up to a page of GoodsIds, read in goods order
    Statement pricingRow;        // store, goods; the local copy holds one store's goods only
    Statement takePromotionQuantity;  // quantity, goods; affects no row when refused
    Statement memberPriceLevel;
    Statement discountBands;

    GoodsTextIndex goodsText;  // local only: what the substring search scans
};

// One row of the goods statements, as a bill line takes it. The text columns and the
// regular price stay values, so a null reaches the bill as null.
struct GoodsRow {
    std::int64_t goodsId = 0;
    Value code;
    Value barCode;
    std::string name;
    Value unit1;
    Value regularPrice;
};
GoodsRow readGoods(const RowSet& goods, std::size_t r);

// The package columns of goodsByPackageBarCode.
struct PackagePrice {
    double unitRate = 0;  // units in one package
    double price = 0;     // of the whole package
};
PackagePrice readPackagePrice(const RowSet& goods, std::size_t r);

// The row of pricingRow: the price rules of one goods at one store.
struct PricingRow {
    std::optional<DateTime> promotionBegin;  // null or unreadable: no date
    std::optional<DateTime> promotionEnd;
    double promotionQuantity = 0;  // 0: no quantity limit
    double promotionSold = 0;      // the promotion counter
    double promotionPrice = 0;
    double perBillLimit = 0;  // 0: none
    bool specialPriceOn = false;
    double specialPrice = 0;
    std::array<double, 4> levelPrices{};  // member price levels 1 to 4; level 1 is the regular price
    double insiderPrice = 0;              // any other level

    double regularPrice() const { return levelPrices[0]; }
};
// nullopt when the goods have no pricing row.
std::optional<PricingRow> readPricingRow(PricingStatements& sql, int storeId, int goodsId);

// One band of B_AutoDiscount; the limits are whole amounts.
struct DiscountBand {
    double down = 0;  // purchases from this amount
    double up = 0;    // up to, not including, this one
    double rate = 100;
};
std::vector<DiscountBand> readDiscountBands(PricingStatements& sql);

}  // namespace pos
