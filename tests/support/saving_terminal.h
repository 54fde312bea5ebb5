#pragma once

#include "base/bill.h"
#include "base/database.h"
#include "base/value.h"
#include "support/signed_on_terminal.h"

#include <string>

namespace pos::test {

// What the server holds on a member card: balance, cumulative purchases, points.
struct CardBalances {
    Value amount, totalAmount, usedCount;
};

// Equal, a missing value only where one is expected.
void expectCard(const CardBalances& got, const CardBalances& want);

// The signed-on terminal saving bills as checkout does, with what the save and the
// upload change on the server read back.
class SavingTerminal : public SignedOnTerminal {
public:
    Database& server() { return office.accountSet(); }
    Database& local() { return dm.conClient(); }

    // The bill saved through the working mode's connection, the counter of the local
    // file and the card of `sale`, whose member then gets the points booked; the save's
    // result, -1 when it threw.
    int save(Bill& bill, bool keepNumber = false);

    double stock(int goodsId);  // at store kStoreId
    CardBalances card(const std::string& cardNo);
};

}  // namespace pos::test
