#pragma once

#include "base/row_set.h"
#include "db/pg_pipeline.h"

#include <optional>
#include <string>
#include <vector>

namespace pos {

// The coupon numbers typed into a bill's CardNo: half- and full-width spaces removed,
// full-width commas read as commas, split at the commas. An empty piece (",," or a
// trailing comma) names no coupon and is skipped.
std::vector<std::string> couponNumbers(const std::string& cardNo);

// Marks the bill's coupons used, one bound value per number; nothing when CardNo names
// no coupon.
std::optional<SqlStatement> couponMarking(const std::string& cardNo);

// Locks the bill's coupons found in the coupon table and answers those already used, so
// that a coupon spent by another terminal since it was read is seen before it is spent
// twice; nothing when CardNo names no coupon.
std::optional<SqlStatement> usedCouponsLocked(const std::string& cardNo);

// A row of usedCouponsLocked's answer.
struct LockedCoupon {
    std::string ticketNo;
    bool used = false;
};
std::vector<LockedCoupon> readLockedCoupons(const RowSet& rows);

}  // namespace pos
