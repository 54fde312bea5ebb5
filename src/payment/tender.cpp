#include "payment/tender.h"

#include "base/number_format.h"
#include "base/trim.h"

namespace pos {

bool amountBoxAccepts(char typed) { return (typed >= '0' && typed <= '9') || typed == '.' || typed == '-'; }

double amountIn(const std::string& text)
{
    double v = 0;
    return parseNumber(trimmed(text), v) ? v : 0;
}

bool holdsAmount(const std::string& text)
{
    double v = 0;
    return trimmed(text).empty() || parseNumber(trimmed(text), v);
}

void emptyCountsAsZero(std::string& box)
{
    if (trimmed(box).empty())
        box = "0";
}

double cents(double amount) { return RoundHalfUp(amount, 2); }

void tenderHint(Person& person, const char* text, const char* title)
{
    person.message(text, title, MessageIcon::Information);
}

bool totalCoversDue(Person& person, double total, double due, const char* tooLittle, const char* tooMuch)
{
    if (cents(total) < cents(due)) {
        tenderHint(person, tooLittle);
        return false;
    }
    if (cents(total - due) >= 100) {
        tenderHint(person, tooMuch);
        return false;
    }
    return true;
}

bool tenderBoxesHoldAmounts(Person& person, const std::string& pay, const std::string& cash)
{
    if (holdsAmount(pay) && holdsAmount(cash))
        return true;
    tenderHint(person, "输入的金额不是数值！");
    return false;
}

}  // namespace pos
