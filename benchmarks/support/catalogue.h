#pragma once

#include "base/database.h"
#include "db/pg_database.h"

#include <string>

namespace pos::bench {

// Goods i: code "G<i>", bar code "69" and i in eleven digits, search code "SP<i>", name
// "商品<i>". Names are what the substring search finds: "商品<i>" is contained in the
// names of i and of every goods whose number starts with the digits of i.
std::string barCode(int goods);

// Goods 1..goods on the back office, settled as the back office has them (statistics,
// trigram indexes' pending entries merged). Prints how long it took.
void fillServerGoods(PgDatabase& accountSet, int goods);
// The same goods in the local file, as a download leaves them.
void fillLocalGoods(Database& local, int goods);

}  // namespace pos::bench
