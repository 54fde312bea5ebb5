#pragma once

#include "pricing/pricing_statements.h"

namespace pos {

// Discount percentage of the band of B_AutoDiscount that holds the cumulative purchases
// (DownAmount <= purchases < UpAmount), read with the statements of the working mode. The first band the database returns wins; 100 when none holds them.
double AutoDiscountRate(PricingStatements& sql, double cumulativePurchases);

}  // namespace pos
