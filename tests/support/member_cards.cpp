#include "support/member_cards.h"

#include "support/operator_data.h"

namespace pos::test {

void addMemberCard(Database& db, const MemberCardRow& card)
{
    // The local file keeps a card's password as the download leaves it: hashed.
    const bool hashed = db.dialect() != Dialect::PostgreSql && !card.password.isNull();
    db.execute("insert into B_VIPCards(CardNo,HolderName,Password,CardType,DiscountType,Discount,PriceLevel,"
               "HandOutDate,ValidDate,Amount,TotalAmount,UsedCount,CardState) "
               "values($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,$13)",
               {card.cardNo, card.holderName, hashed ? Value(localPassword(card.password.toString())) : card.password, card.cardType, card.discountType, card.discount,
                card.priceLevel, card.handOutDate, card.validDate, card.amount, card.totalAmount, card.usedCount,
                card.cardState});
}

MemberCardRow cardOfKind(const std::string& cardNo, const std::string& password, const std::string& type,
                         const std::string& discountType, double discount, double totalAmount, double points)
{
    return {.cardNo = cardNo,
            .holderName = "持卡" + cardNo,
            .password = password,
            .cardType = type,
            .discountType = discountType,
            .discount = discount,
            .handOutDate = "2023-05-01 00:00:00",
            .validDate = "2020-12-31 00:00:00",
            .amount = 88.5,
            .totalAmount = totalAmount,
            .usedCount = points};
}

void arrangeMemberCards(TerminalFixture& f)
{
    f.state.OperatorId = 3;
    f.state.OperatorCode = "1003";
    MemberCardRow blocked = cardOfKind("B1", "", "会员卡", "固定折扣", 95, 1500, 150);
    blocked.cardState = "无效";
    const MemberCardRow cards[] = {
        cardOfKind("S1", "123", "储值卡", "固定折扣", 90, 300, 40),
        cardOfKind("S2", "", "储值卡", "会员价消费", 100, 0, 0),
        cardOfKind("M1", "", "会员卡", "会员价消费", 100, 860, 86),
        cardOfKind("A1", "", "会员卡", "累计消费折扣", 100, 2500, 250),
        cardOfKind("A2", "", "会员卡", "累计消费折扣", 100, 6000, 600),
        cardOfKind("F0", "", "会员卡", "固定折扣", 0, 88, 8),
        blocked,
    };
    for (WorkingMode mode : {Online, Offline}) {
        Database& db = f.side(mode);
        for (const MemberCardRow& card : cards)
            addMemberCard(db, card);
        db.execute("insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(0,1000,98),(1000,5000,95)");
        addOperator(db, {3, "1003", "收银员", "333", 0, {}});
        addOperator(db, {kDeductor, "1004", "组长", "444", 0, {OperatorRight::DeductFromCard}});
    }
}

void addCardsWithTotals(Database& db)
{
    addMemberCard(db, {.cardNo = "V001", .totalAmount = 1234.5});
    addMemberCard(db, {.cardNo = "V002", .totalAmount = 88});
    addMemberCard(db, {.cardNo = "V003", .totalAmount = Value()});
}

}  // namespace pos::test
