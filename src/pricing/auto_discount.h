#pragma once

#include "base/database.h"

namespace pos {

// Discount percentage of the band of B_AutoDiscount that holds the cumulative purchases
// (DownAmount <= purchases < UpAmount), read on the given connection: that of the
// working mode. The first band the database returns wins; 100 when none holds them.
double AutoDiscountRate(Database& db, double cumulativePurchases);

}  // namespace pos
