#include "pricing/auto_discount.h"

namespace pos {

double AutoDiscountRate(PricingStatements& sql, double cumulativePurchases)
{
    for (const DiscountBand& band : readDiscountBands(sql))
        if (band.down <= cumulativePurchases && cumulativePurchases < band.up)
            return band.rate;
    return 100;
}

}  // namespace pos
