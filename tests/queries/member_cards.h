#pragma once

#include "base/database.h"

namespace pos::test {

// Member cards on one side: V001 with 1234.5 bought, V002 with 88, V003 with no total.
inline void addMemberCards(Database& db)
{
    db.execute("insert into B_VIPCards(CardNo,TotalAmount) values('V001',1234.5)");
    db.execute("insert into B_VIPCards(CardNo,TotalAmount) values('V002',88)");
    db.execute("insert into B_VIPCards(CardNo,TotalAmount) values('V003',null)");
}

}  // namespace pos::test
