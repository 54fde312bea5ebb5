#include "members/member_card.h"

#include "access/rights.h"
#include "base/clock.h"
#include "base/number_format.h"
#include "base/trim.h"
#include "config/terminal.h"
#include "db/password_hash.h"
#include "pricing/auto_discount.h"

#include <exception>

namespace pos {
namespace {

void tell(Terminal& t, const char* text) { t.person.message(text, "提示", MessageIcon::Information); }

std::string dateShown(const Value& value)
{
    const std::optional<DateTime> date = DateTime::parse(value.toString());
    return date ? date->dateText() : value.toString();
}

int discountTypeOf(const std::string& text)
{
    if (text == "会员价消费")
        return 1;
    if (text == "累计消费折扣")
        return 2;
    return 3;
}

struct DeductionTexts {
    const char* caption;
    const char* label;
    const char* notEnough;
    const char* failure;
};

DeductionTexts textsOf(Deduction what)
{
    if (what == Deduction::Points)
        return {"冲减积分", "冲减积分数:", "积分不够冲减！", "冲减积分失败！原因："};
    return {"冲减累计消费", "冲减金额:", "累计消费金额不够冲减！", "冲减累计消费失败！原因："};
}

}  // namespace

RowSet ReadMemberCard(MemberStatements& sql, const std::string& cardNo) { return sql.cardByNumber.query({cardNo}); }

bool CheckCardPassword(MemberStatements& sql, const std::string& cardNo, const std::string& password)
{
    if (sql.database().dialect() == Dialect::PostgreSql)
        return !sql.cardByPassword.query({cardNo, password}).empty();
    // A null password (no row either) matches nothing, as on the server.
    return passwordMatches(sql.cardPasswordHash.query({cardNo}).first("Password").toString(), password);
}

bool isStoredValueCard(const RowSet& card) { return card.first("CardType").toString() == kStoredValueCardType; }

MemberCardShown cardShown(const RowSet& card)
{
    auto text = [&](const char* column) { return card.first(column).toString(); };
    return {text("CardNo"),       text("HolderName"),  text("CardType"), dateShown(card.first("HandOutDate")),
            text("DiscountType"), text("Discount"),    text("TotalAmount"), text("UsedCount"),
            dateShown(card.first("ValidDate")), text("Amount")};
}

CardCheck CheckMemberCard(Terminal& t, CurrentMember& m, const std::string& typedCardNo, const std::string& typedPassword,
                          int ticks)
{
    const std::string cardNo = trimmed(typedCardNo);
    const std::string password = trimmed(typedPassword);
    if (cardNo.empty()) {
        tell(t, "未输入会员卡号！");
        return {CardCheckOutcome::NoNumber, std::nullopt};
    }
    if (ticks >= kHandTypedTicks) {
        tell(t, "不能用手工输入会员卡号！");
        return {CardCheckOutcome::HandTyped, std::nullopt};
    }
    MemberStatements& sql = t.sql<MemberStatements>();
    const RowSet card = ReadMemberCard(sql, cardNo);
    if (card.empty()) {
        tell(t, "输入的会员卡号不存在！");
        return {CardCheckOutcome::Unknown, std::nullopt};
    }
    CardCheck check{CardCheckOutcome::Accepted, cardShown(card)};
    if (isStoredValueCard(card) && !CheckCardPassword(sql, cardNo, password)) {
        tell(t, "输入的密码不正确！");
        check.outcome = CardCheckOutcome::WrongPassword;
        return check;
    }
    if (card.first("CardState").toString() == "无效") {
        tell(t, "输入的会员卡号已经不能使用！");
        check.outcome = CardCheckOutcome::Blocked;
        return check;
    }
    // The band rate is read before the member changes, so a failed read leaves it as it was.
    const int discountType = discountTypeOf(card.first("DiscountType").toString());
    const double totalAmount = card.first("TotalAmount").toDouble();
    double discount = 100;
    if (discountType == 2)
        discount = AutoDiscountRate(t.sql<PricingStatements>(), totalAmount);
    else if (discountType == 3 && card.first("Discount").toDouble() != 0)
        discount = card.first("Discount").toDouble();
    m.VIPCardNo = cardNo;
    m.VIPHolderName = card.first("HolderName").toString();
    m.VIPCardKind = isStoredValueCard(card) ? 2 : 1;
    m.VIPDiscountType = discountType;
    m.VIPDiscount = discount;
    m.VIPTotalAmount = totalAmount;
    m.VIPUsedCount = card.first("UsedCount").toDouble();
    return check;
}

DeductionResult DeductFromCard(Terminal& t, Deduction what, const std::string& cardNo, const std::string& shownValue)
{
    const DeductionTexts texts = textsOf(what);
    if (cardNo.empty()) {
        t.person.message("请输入会员卡号！", "", MessageIcon::Information);
        return {DeductionOutcome::NoCard};
    }
    if (!HasRight(t, OperatorRight::DeductFromCard)) {
        t.person.message("你没有该项权限！", "", MessageIcon::Information);
        return {DeductionOutcome::NotAllowed};
    }
    double amount = 0;
    parseNumber(trimmed(t.person.input(texts.caption, texts.label, InputKind::Number)), amount);
    // Cancelled or nothing to take off: nothing is written. A negative amount would add
    // to the card instead of taking off, which no deduction may do.
    if (amount <= 0)
        return {DeductionOutcome::Nothing};
    double shown = 0;
    parseNumber(trimmed(shownValue), shown);
    if (shown - amount < 0) {
        t.person.message(texts.notEnough, "", MessageIcon::Information);
        return {DeductionOutcome::NotEnough};
    }
    RowSet left;
    try {
        MemberStatements& server = t.dm.conServer().statements<MemberStatements>();
        Statement& take = what == Deduction::Points ? server.takePoints : server.takeTotalAmount;
        left = take.query({amount, cardNo});
    } catch (const std::exception& error) {
        t.person.message(std::string(texts.failure) + error.what(), "", MessageIcon::Error);
        t.log.write({t.clock.now().text(), t.state.OperatorCode, texts.caption, error.what()});
        return {DeductionOutcome::Failed};
    }
    // The server holds less than the dialog read: another terminal took some meanwhile.
    if (left.empty()) {
        t.person.message(texts.notEnough, "", MessageIcon::Information);
        return {DeductionOutcome::NotEnough};
    }
    return {DeductionOutcome::Done, left.row(0).at(0).toDouble()};
}

}  // namespace pos
