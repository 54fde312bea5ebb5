#include "support/saving_terminal.h"

#include "storage/bill_numbering.h"
#include "storage/bill_saving.h"

#include <gtest/gtest.h>

#include <utility>

namespace pos::test {

void expectCard(const CardBalances& got, const CardBalances& want)
{
    const std::pair<Value, Value> columns[] = {
        {got.amount, want.amount}, {got.totalAmount, want.totalAmount}, {got.usedCount, want.usedCount}};
    for (const auto& [g, w] : columns) {
        EXPECT_EQ(g.isNull(), w.isNull());
        EXPECT_NEAR(g.toDouble(), w.toDouble(), 1e-9);
    }
}

int SavingTerminal::save(Bill& bill, bool keepNumber)
{
    int result = -1;
    BillNumbering numbering(local().statements<NumberingStatements>(), clock);
    EXPECT_NO_THROW({
        const SaveOutcome outcome = SaveBill(terminal.db().statements<SaleStatements>(),
                                             local().statements<SaleStatements>(), numbering, person, state, bill,
                                             keepNumber, cardOf(sale));
        sale.member.VIPUsedCount += outcome.pointsBooked;  // as the checkout shows them
        result = outcome.result;
    });
    return result;
}

double SavingTerminal::stock(int goodsId)
{
    return server()
        .query("select Quantity from D_Stock where StoreId=$1 and GoodsId=$2", {kStoreId, goodsId})
        .first("Quantity")
        .toDouble();
}

CardBalances SavingTerminal::card(const std::string& cardNo)
{
    RowSet c = server().query("select Amount,TotalAmount,UsedCount from B_VIPCards where CardNo=$1", {cardNo});
    return {c.first("Amount"), c.first("TotalAmount"), c.first("UsedCount")};
}

}  // namespace pos::test
