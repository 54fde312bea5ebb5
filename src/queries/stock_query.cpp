#include "queries/stock_query.h"

#include "base/trim.h"

namespace pos {

const char* const kStoreNotInList = "仓库列表中没有这个仓库，请从列表中选择！";

StockQueryStatements::StockQueryStatements(Database& db)
    : StatementSet(db),
      stores(*this, "select StoreId,Name from B_Store"),
      goodsByCode(*this, serverOnly("select GoodsId from B_Goods where Code=$1")),
      goodsByBarCode(*this, serverOnly("select GoodsId from B_Goods where BarCode=$1")),
      stock(*this, serverOnly("select e.Code as GoodsCode, e.BarCode, e.Name as GoodsName, e.Unit1, "
                              "b.Name as StoreName, a.Quantity from D_Stock a "
                              "left join B_Store b on a.StoreId=b.StoreId "
                              "left join B_Goods e on a.GoodsId=e.GoodsId "
                              "where ($1::integer is null or a.StoreId=$1) and ($2::integer is null or a.GoodsId=$2) "
                              "order by e.Name"))
{
}

std::vector<StockStore> StockStores(StockQueryStatements& sql)
{
    const RowSet rows = sql.stores.query();
    std::vector<StockStore> stores;
    stores.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        stores.push_back({rows.at(r, "StoreId").toInt(), rows.at(r, "Name").toString()});
    return stores;
}

std::optional<long long> FindStockGoods(StockQueryStatements& server, const std::string& text)
{
    RowSet found = server.goodsByCode.query({text});
    if (found.empty())
        found = server.goodsByBarCode.query({text});
    if (found.empty())
        return std::nullopt;
    return found.at(0, "GoodsId").toInt();
}

StoreChoice ChooseStore(const std::vector<StockStore>& stores, const std::string& typed, int pickedRow)
{
    const std::string name = trimmed(typed);
    if (name.empty())
        return {};
    if (pickedRow >= 0 && static_cast<std::size_t>(pickedRow) < stores.size() &&
        trimmed(stores[static_cast<std::size_t>(pickedRow)].name) == name)
        return {true, stores[static_cast<std::size_t>(pickedRow)].id};
    for (const StockStore& store : stores) {
        if (trimmed(store.name) == name)
            return {true, store.id};
    }
    return {false, std::nullopt};
}

RowSet QueryStock(StockQueryStatements& server, std::optional<long long> storeId, std::optional<long long> goodsId)
{
    return server.stock.query({storeId ? Value(*storeId) : Value(), goodsId ? Value(*goodsId) : Value()});
}

}  // namespace pos
