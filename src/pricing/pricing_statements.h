#pragma once

#include "base/statement_set.h"
#include "pricing/goods_text_index.h"

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

}  // namespace pos
