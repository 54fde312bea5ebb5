#include "members/member_card.h"

#include "base/clock.h"
#include "base/number_format.h"
#include "base/trim.h"
#include "db/password_hash.h"
#include "pricing/auto_discount.h"

#include <exception>

namespace pos {
namespace {

void tell(Person& person, const char* text) { person.message(text, "提示", MessageIcon::Information); }

std::string dateShown(const std::string& stored)
{
    const std::optional<DateTime> date = DateTime::parse(stored);
    return date ? date->dateText() : stored;
}

// As the column's value reads: a null figure blank.
std::string figureShown(const std::optional<double>& figure) { return figure ? generalNumber(*figure) : std::string(); }

MemberDiscountType discountTypeOf(const std::string& text)
{
    if (text == "会员价消费")
        return MemberDiscountType::MemberPrices;
    if (text == "累计消费折扣")
        return MemberDiscountType::Cumulative;
    return MemberDiscountType::CardDiscount;
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

bool CheckCardPassword(MemberStatements& sql, const std::string& cardNo, const std::string& password)
{
    if (sql.database().dialect() == Dialect::PostgreSql)
        return !sql.cardByPassword.query({cardNo, password}).empty();
    // A null password (no row either) matches nothing, as on the server.
    return passwordMatches(readCardPasswordHash(sql, cardNo), password);
}

bool isStoredValueCard(const MemberCardRecord& card) { return card.cardType == kStoredValueCardType; }

MemberCardShown cardShown(const MemberCardRecord& card)
{
    return {card.cardNo,
            card.holderName,
            card.cardType,
            dateShown(card.handOutDate),
            card.discountType,
            figureShown(card.discount),
            figureShown(card.totalAmount),
            figureShown(card.usedCount),
            dateShown(card.validDate),
            figureShown(card.amount)};
}

CardCheck CheckMemberCard(const MemberCardContext& c, CurrentMember& m, const std::string& typedCardNo, const std::string& typedPassword,
                          int ticks)
{
    const std::string cardNo = trimmed(typedCardNo);
    const std::string password = trimmed(typedPassword);
    if (cardNo.empty()) {
        tell(c.person, "未输入会员卡号！");
        return {CardCheckOutcome::NoNumber, std::nullopt};
    }
    if (ticks >= kHandTypedTicks) {
        tell(c.person, "不能用手工输入会员卡号！");
        return {CardCheckOutcome::HandTyped, std::nullopt};
    }
    MemberStatements& sql = c.db().statements<MemberStatements>();
    const std::optional<MemberCardRecord> card = ReadMemberCard(sql, cardNo);
    if (!card) {
        tell(c.person, "输入的会员卡号不存在！");
        return {CardCheckOutcome::Unknown, std::nullopt};
    }
    CardCheck check{CardCheckOutcome::Accepted, cardShown(*card)};
    if (isStoredValueCard(*card) && !CheckCardPassword(sql, cardNo, password)) {
        tell(c.person, "输入的密码不正确！");
        check.outcome = CardCheckOutcome::WrongPassword;
        return check;
    }
    if (card->cardState == "无效") {
        tell(c.person, "输入的会员卡号已经不能使用！");
        check.outcome = CardCheckOutcome::Blocked;
        return check;
    }
    // The band rate is read before the member changes, so a failed read leaves it as it was.
    const MemberDiscountType discountType = discountTypeOf(card->discountType);
    const double totalAmount = card->totalAmount.value_or(0);
    const double cardDiscount = card->discount.value_or(0);
    double discount = 100;
    if (discountType == MemberDiscountType::Cumulative)
        discount = AutoDiscountRate(c.db().statements<PricingStatements>(), totalAmount);
    else if (discountType == MemberDiscountType::CardDiscount && cardDiscount != 0)
        discount = cardDiscount;
    m.VIPCardNo = cardNo;
    m.VIPHolderName = card->holderName;
    m.VIPCardKind = isStoredValueCard(*card) ? MemberCardKind::StoredValue : MemberCardKind::Other;
    m.VIPDiscountType = discountType;
    m.VIPDiscount = discount;
    m.VIPTotalAmount = totalAmount;
    m.VIPUsedCount = card->usedCount.value_or(0);
    return check;
}

DeductionResult DeductFromCard(const MemberCardContext& c, Deduction what, const std::string& cardNo, const std::string& shownValue)
{
    const DeductionTexts texts = textsOf(what);
    if (cardNo.empty()) {
        c.person.message("请输入会员卡号！", "", MessageIcon::Information);
        return {DeductionOutcome::NoCard};
    }
    if (!c.rights.has(OperatorRight::DeductFromCard)) {
        c.person.message("你没有该项权限！", "", MessageIcon::Information);
        return {DeductionOutcome::NotAllowed};
    }
    double amount = 0;
    parseNumber(trimmed(c.person.input(texts.caption, texts.label, InputKind::Number)), amount);
    // Cancelled or nothing to take off: nothing is written. A negative amount would add
    // to the card instead of taking off, which no deduction may do.
    if (amount <= 0)
        return {DeductionOutcome::Nothing};
    double shown = 0;
    parseNumber(trimmed(shownValue), shown);
    if (shown - amount < 0) {
        c.person.message(texts.notEnough, "", MessageIcon::Information);
        return {DeductionOutcome::NotEnough};
    }
    RowSet left;
    try {
        MemberStatements& server = c.dm.conServer().statements<MemberStatements>();
        Statement& take = what == Deduction::Points ? server.takePoints : server.takeTotalAmount;
        left = take.query({amount, cardNo});
    } catch (const std::exception& error) {
        c.person.message(std::string(texts.failure) + error.what(), "", MessageIcon::Error);
        c.log.write({c.clock.now().text(), c.state.OperatorCode, texts.caption, error.what()});
        return {DeductionOutcome::Failed};
    }
    // The server holds less than the dialog read: another terminal took some meanwhile.
    if (left.empty()) {
        c.person.message(texts.notEnough, "", MessageIcon::Information);
        return {DeductionOutcome::NotEnough};
    }
    return {DeductionOutcome::Done, left.row(0).at(0).toDouble()};
}

}  // namespace pos
