#include "storage/download_statements.h"

namespace pos {

DownloadStatements::DownloadStatements(Database& server)
    : StatementSet(server),
      goods{"B_Goods", {*this, "select * from PosGoods($1)"}},
      barCodes{"B_BarCode", {*this, "select * from B_BarCode"}},
      others{{
          {"B_Store", {*this, "select * from B_Store"}},
          // The row's version changes with every update of the row: a new password, a
          // row written again, a restored database.
          {"PosOperator", {*this, "select *, xmin::text||'/'||ctid::text as ServerRowVersion from PosOperator"}},
          {"B_Employ", {*this, "select * from B_Employ where IsExeMan=1"}},
          {"PosClassNo", {*this, "select * from PosClassNo"}},
          {"PosMachine", {*this, "select * from PosMachine"}},
          {"PosOperatorRight", {*this, "select * from PosOperatorRight"}},
          {"B_VIPCards", {*this, "select * from B_VIPCards"}},
          {"B_AutoDiscount", {*this, "select * from B_AutoDiscount"}},
          {"B_GoodsTicket", {*this, "select * from B_GoodsTicket"}},
      }}
{
}

}  // namespace pos
