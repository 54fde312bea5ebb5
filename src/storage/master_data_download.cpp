#include "storage/master_data_download.h"

#include "db/row_copy.h"

#include <optional>
#include <string>
#include <vector>

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

// The lookup indexes of a local table, dropped while its rows are replaced: building
// an index once over a million goods is faster than keeping it up row by row.
std::vector<std::string> dropIndexes(Database& local, const std::string& table)
{
    RowSet indexes = local.query(
        "select name, sql from sqlite_master where type='index' and tbl_name=$1 collate nocase and sql is not null",
        {table});
    std::vector<std::string> definitions;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        local.execute("drop index \"" + indexes.at(i, "name").toString() + "\"");
        definitions.push_back(indexes.at(i, "sql").toString());
    }
    return definitions;
}

// One local transaction per table: a copy that fails part-way leaves the previous rows
// (and indexes). The server rows are streamed, so the goods never have to fit in memory.
void replaceTable(Database& server, Database& local, const MasterTable& table, const Params& params)
{
    Transaction transaction(local);
    std::vector<std::string> indexes = dropIndexes(local, table.name);
    local.execute(std::string("delete from ") + table.name);
    std::optional<RowCopy> copy;
    server.forEach(table.serverQuery, params, [&](const Columns& columns, const Row& row) {
        if (!copy)
            copy.emplace(local, table.name, columns);
        copy->insert(row);
    });
    for (const std::string& definition : indexes)
        local.execute(definition);
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
