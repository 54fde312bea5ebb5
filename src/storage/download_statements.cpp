#include "storage/download_statements.h"

#include <string>

namespace pos {
namespace {

// The rows of a table whose passwords the local copy hashes, each with the version of
// the row, which changes with every update of it: a new password, a row written again, a
// restored database. A password is hashed again only when its row's version changed.
std::string withRowVersions(const char* table)
{
    return std::string("select *, xmin::text||'/'||ctid::text as ServerRowVersion from ") + table;
}

}  // namespace

DownloadStatements::DownloadStatements(Database& server)
    : StatementSet(server),
      goods{"B_Goods", {*this, "select * from PosGoods($1)"}},
      barCodes{"B_BarCode", {*this, "select * from B_BarCode"}},
      others{{
          {"B_Store", {*this, "select * from B_Store"}},
          {"PosOperator", {*this, withRowVersions("PosOperator")}},
          {"B_Employ", {*this, "select * from B_Employ where IsExeMan=1"}},
          {"PosClassNo", {*this, "select * from PosClassNo"}},
          {"PosMachine", {*this, "select * from PosMachine"}},
          {"PosOperatorRight", {*this, "select * from PosOperatorRight"}},
          {"B_VIPCards", {*this, withRowVersions("B_VIPCards")}},
          {"B_AutoDiscount", {*this, "select * from B_AutoDiscount"}},
          {"B_GoodsTicket", {*this, "select * from B_GoodsTicket"}},
      }}
{
}

}  // namespace pos
