#pragma once

#include "base/bill.h"

namespace pos::test {

// A bill held in memory only, without a local file: records with every column the bill
// has (in the order of bill.h), no master record and no lines yet.
Bill memoryBill();

}  // namespace pos::test
