#pragma once

namespace pos {

// Where the price of a line came from; decides the line's Memo tag and name suffix.
enum class PriceKind : int { Regular = 0, Promotion = 1, Special = 2, Member = 3 };

inline constexpr const char* kPromotionTag = "促销";
inline constexpr const char* kSpecialTag = "特价";
inline constexpr const char* kMemberTag = "会员价";
inline constexpr const char* kGiveAwayTag = "赠送";

// The Memo of a line priced this way; empty for the regular price.
inline const char* priceTag(PriceKind kind)
{
    switch (kind) {
    case PriceKind::Promotion: return kPromotionTag;
    case PriceKind::Special: return kSpecialTag;
    case PriceKind::Member: return kMemberTag;
    case PriceKind::Regular: break;
    }
    return "";
}

// Appended to the goods name on the line; member prices keep the name as it is.
inline const char* nameSuffix(PriceKind kind)
{
    switch (kind) {
    case PriceKind::Promotion: return "[促销]";
    case PriceKind::Special: return "[特价]";
    case PriceKind::Member:
    case PriceKind::Regular: break;
    }
    return "";
}

}  // namespace pos
