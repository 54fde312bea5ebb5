#include "storage/upload_follow_up.h"

#include "base/number_format.h"
#include "storage/coupon_list.h"

namespace pos {

void UploadFollowUp::beforeSending(const std::vector<Bill>& bills)
{
    std::vector<std::string> coupons;
    for (const Bill& bill : bills)
        for (std::string& number : couponNumbers(bill.cardNo().toString()))
            coupons.push_back(std::move(number));
    usedBefore_.clear();
    if (coupons.empty())
        return;
    for (std::string& number : readUsedCoupons(server_, coupons))
        usedBefore_.insert(std::move(number));
}

void UploadFollowUp::booked(const Bill& bill, bool storedValue)
{
    for (const std::string& number : couponNumbers(bill.cardNo().toString()))
        if (usedBefore_.count(number) || !spent_.insert(number).second)
            findings_.push_back("购物券" + number + "已经消费过，又用于单据" + bill.billNo().toString());
    if (storedValue && bill.cardAmount3().toDouble() > 0)
        cardsSpent_.push_back(bill.insiderCode().toString());
}

void UploadFollowUp::afterBooking()
{
    if (cardsSpent_.empty())
        return;
    const std::vector<CardBalance> below = readOverdrawnCards(server_, cardsSpent_);
    cardsSpent_.clear();
    for (const CardBalance& card : below)
        overdrawn_[card.cardNo] = card.amount;
}

void UploadFollowUp::report(Person& person, const std::function<void(const std::string&)>& logLine) const
{
    std::vector<std::string> lines;
    for (const auto& [cardNo, balance] : overdrawn_)
        lines.push_back("储值卡" + cardNo + "的余额已低于零：" + twoDecimals(balance));
    lines.insert(lines.end(), findings_.begin(), findings_.end());
    if (lines.empty())
        return;
    std::string text = "断网期间的单据已照常上传入账，但以下问题请通知后台跟进：";
    for (const std::string& line : lines) {
        text += "\r\n" + line;
        logLine(line);
    }
    person.message(text, "提示", MessageIcon::Information);
}

}  // namespace pos
