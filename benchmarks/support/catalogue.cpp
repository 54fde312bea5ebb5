#include "catalogue.h"

#include "report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace pos::bench {
namespace {

constexpr const char* kServerGoods =
    "insert into B_Goods(GoodsId,Code,BarCode,FindCode,Name,Unit1,SPrice1) "
    "select i, 'G'||i, '69'||lpad(i::text,11,'0'), 'SP'||i, '商品'||i, '个', 1 + i % 100 "
    "from generate_series($1::integer,$2::integer) i";
// Rows per fill statement: each must answer within the register's wait for the server,
// also on a loaded machine.
constexpr int kServerFillChunk = 100000;
constexpr const char* kLocalGoods =
    "with recursive n(i) as (select 1 union all select i+1 from n where i<$1) "
    "insert into B_Goods(GoodsId,Code,BarCode,FindCode,Name,Unit1,SPrice1) "
    "select i, 'G'||i, '69'||substr('00000000000'||i,-11), 'SP'||i, '商品'||i, '个', 1 + i % 100 from n";

}  // namespace

std::string barCode(int goods)
{
    std::string digits = std::to_string(goods);
    return "69" + std::string(11 - digits.size(), '0') + digits;
}

void fillServerGoods(PgDatabase& server, int goods)
{
    const auto start = std::chrono::steady_clock::now();
    server.execute("set statement_timeout=0");  // a million rows take longer than a register statement may
    for (int first = 1; first <= goods; first += kServerFillChunk)
        server.execute(kServerGoods, {first, std::min(goods, first + kServerFillChunk - 1)});
    server.execute("vacuum analyze B_Goods");
    std::printf("server: %d goods in %.1f s\n", goods, msSince(start) / 1000);
}

void fillLocalGoods(Database& local, int goods)
{
    const auto start = std::chrono::steady_clock::now();
    Transaction transaction(local);
    local.execute(kLocalGoods, {goods});
    transaction.commit();
    std::printf("local file: %d goods in %.1f s\n", goods, msSince(start) / 1000);
}

}  // namespace pos::bench
