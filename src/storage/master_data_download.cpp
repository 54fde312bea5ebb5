#include "storage/master_data_download.h"

#include "config/row_copy.h"

#include <optional>
#include <string>

namespace pos {
namespace {

struct MasterTable {
    const char* name;
    const char* serverQuery;
};

// The goods of the selling store, given as $1.
constexpr MasterTable kGoods{"B_Goods", "select * from PosGoods($1)"};
constexpr MasterTable kBarCodes{"B_BarCode", "select * from B_BarCode"};

constexpr MasterTable kOtherTables[] = {
    {"B_Store", "select * from B_Store"},
    {"PosOperator", "select * from PosOperator"},
    {"B_Employ", "select * from B_Employ where IsExeMan=1"},
    {"PosClassNo", "select * from PosClassNo"},
    {"PosMachine", "select * from PosMachine"},
    {"PosOperatorRight", "select * from PosOperatorRight"},
    {"B_VIPCards", "select * from B_VIPCards"},
    {"B_AutoDiscount", "select * from B_AutoDiscount"},
    {"B_GoodsTicket", "select * from B_GoodsTicket"},
};

// One local transaction per table: a copy that fails part-way leaves the previous rows.
// The server rows are streamed, so the goods never have to fit in memory.
void replaceTable(Database& server, Database& local, const MasterTable& table, const Params& params)
{
    Transaction transaction(local);
    local.execute(std::string("delete from ") + table.name);
    std::optional<RowCopy> copy;
    server.forEach(table.serverQuery, params, [&](const Columns& columns, const Row& row) {
        if (!copy)
            copy.emplace(local, table.name, columns);
        copy->insert(row);
    });
    transaction.commit();
}

}  // namespace

void downloadMasterData(Terminal& terminal, bool withGoods)
{
    Database& server = terminal.dm.conServer();
    Database& local = terminal.dm.conClient();
    if (withGoods) {
        auto wait = terminal.person.pleaseWait("正在下载货品资料,请稍候...");
        replaceTable(server, local, kGoods, {terminal.state.StoreId});
        replaceTable(server, local, kBarCodes, {});
    }
    for (const MasterTable& table : kOtherTables)
        replaceTable(server, local, table, {});
}

}  // namespace pos
