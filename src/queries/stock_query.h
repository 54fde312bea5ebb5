#pragma once

#include "base/statement_set.h"

#include <optional>
#include <string>
#include <vector>

namespace pos {

// The stock on hand, which lives on the server only; the store list on either database.
class StockQueryStatements : public StatementSet {
public:
    explicit StockQueryStatements(Database& db);

    Statement stores;         // StoreId, Name
    Statement goodsByCode;    // $1 Code
    Statement goodsByBarCode; // $1 BarCode
    // GoodsCode, BarCode, GoodsName, Unit1, StoreName, Quantity by goods name; $1 StoreId
    // and $2 GoodsId, each null for every store or goods item.
    Statement stock;
};

// A store of the store list.
struct StockStore {
    long long id = 0;
    std::string name;
};
std::vector<StockStore> StockStores(StockQueryStatements& sql);

// The GoodsId of the goods item with that code, else of the one with that bar code.
std::optional<long long> FindStockGoods(StockQueryStatements& server, const std::string& text);

// The store field's text against the store list: no store for
// an empty text, the StoreId of the named store, or nullopt for a name not in the list.
// `pickedRow` is the list row the cashier picked: while the text still is its name, its
// own id counts, so of two stores with one name the picked one is queried.
struct StoreChoice {
    bool known = true;
    std::optional<long long> storeId;
};
StoreChoice ChooseStore(const std::vector<StockStore>& stores, const std::string& typed, int pickedRow = -1);

RowSet QueryStock(StockQueryStatements& server, std::optional<long long> storeId, std::optional<long long> goodsId);

extern const char* const kStoreNotInList;

}  // namespace pos
