#pragma once

#include "base/database.h"
#include "support/operator_data.h"
#include "support/terminal_fixture.h"

#include <string>

namespace pos::test {

// One card of each kind, on both sides, with the bands [0, 1000) 98 and [1000, 5000) 95:
//   S1 储值卡 (password "123") own discount 90; S2 储值卡 member prices, password "";
//   M1 会员卡 member prices; A1 累计消费折扣 at 2500; A2 the same at 6000 (no band);
//   F0 fixed discount 0; B1 blocked; the operators 1003 (no right) and 1004 (right 10).
inline void addCard(Database& db, const std::string& cardNo, const std::string& password, const std::string& type,
                    const std::string& discountType, double discount, double totalAmount, double points,
                    const std::string& state = "正常")
{
    db.execute("insert into B_VIPCards(CardNo,Password,HolderName,CardType,DiscountType,Discount,HandOutDate,"
               "ValidDate,Amount,TotalAmount,UsedCount,CardState) "
               "values($1,$2,$3,$4,$5,$6,'2023-05-01 00:00:00','2020-12-31 00:00:00',88.5,$7,$8,$9)",
               {cardNo, password, "持卡" + cardNo, type, discountType, discount, totalAmount, points, state});
}

inline constexpr int kDeductor = 4;

inline void arrangeMemberCards(TerminalFixture& f)
{
    f.state.OperatorId = 3;
    f.state.OperatorCode = "1003";
    for (WorkingMode mode : {Online, Offline}) {
        Database& db = f.side(mode);
        addCard(db, "S1", "123", "储值卡", "固定折扣", 90, 300, 40);
        addCard(db, "S2", "", "储值卡", "会员价消费", 100, 0, 0);
        addCard(db, "M1", "", "会员卡", "会员价消费", 100, 860, 86);
        addCard(db, "A1", "", "会员卡", "累计消费折扣", 100, 2500, 250);
        addCard(db, "A2", "", "会员卡", "累计消费折扣", 100, 6000, 600);
        addCard(db, "F0", "", "会员卡", "固定折扣", 0, 88, 8);
        addCard(db, "B1", "", "会员卡", "固定折扣", 95, 1500, 150, "无效");
        db.execute("insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(0,1000,98),(1000,5000,95)");
        addOperator(db, {3, "1003", "收银员", "333", 0, {}});
        addOperator(db, {kDeductor, "1004", "组长", "444", 0, {OperatorRight::DeductFromCard}});
    }
}

}  // namespace pos::test
