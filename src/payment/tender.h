#pragma once

#include "base/person.h"

#include <string>

namespace pos {

// Where a tender dialog puts the focus after a key: the box named is selected and
// focused, or the confirming button.
enum class TenderFocus { CardNo, PayAmount, CashAmount, OK };

// The amount boxes of the tenders take digits, ".", "-" and the editing keys only.
bool amountBoxAccepts(char typed);
// The number in an amount box; 0 for a box that holds none.
double amountIn(const std::string& text);
// Whether the box holds a number (an empty box counts as 0).
bool holdsAmount(const std::string& text);
// Enter in an amount box: an empty box counts as "0" and shows it.
void emptyCountsAsZero(std::string& box);

// An amount to the cent. A sum of line amounts carries binary residue (10.10 + 20.20 is
// 30.299999999999997), so the tenders take the amount due, compare amounts and fill
// their boxes in cents, as the checkout's boxes show them.
double cents(double amount);

void tenderHint(Person& person, const char* text, const char* title = "提示");

// The tenders together cover the amount due and leave less than 100 in change, judged
// in cents; a total that does not is told in the tender's own words.
bool totalCoversDue(Person& person, double total, double due, const char* tooLittle, const char* tooMuch);

// A confirmed box that is not a number is never read as 0 and paid: the confirmation
// is refused. True when both boxes hold numbers.
bool tenderBoxesHoldAmounts(Person& person, const std::string& pay, const std::string& cash);

}  // namespace pos
