#include "pricing/auto_discount.h"

namespace pos {

double AutoDiscountRate(PricingStatements& sql, double cumulativePurchases)
{
    const RowSet bands = sql.discountBands.query();
    for (std::size_t r = 0; r < bands.size(); ++r) {
        // Band limits are whole amounts.
        const auto down = static_cast<double>(bands.at(r, "DownAmount").toInt());
        const auto up = static_cast<double>(bands.at(r, "UpAmount").toInt());
        if (down <= cumulativePurchases && cumulativePurchases < up)
            return bands.at(r, "Discount").toDouble();
    }
    return 100;
}

}  // namespace pos
