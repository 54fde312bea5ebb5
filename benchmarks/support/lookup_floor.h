#pragma once

#include "engine_floor.h"
#include "pricing/pricing_statements.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pos::bench {

// Which key of the goods finds the input: the lookup tries them in this order.
enum class LookupKey { BarCode, GoodsCode, SearchCode, Substring };

// One kind of goods input, on the benchmark catalogue of `goods` goods, and what the
// cashier sees after it.
struct LookupKind {
    const char* name;
    LookupKey key;
    int lowest, highest;  // range of the goods typed
    std::function<std::string(int goods)> input;
    bool line;                // a line of the goods is on the bill; otherwise "not found"
    std::size_t offered;      // rows of the pick list; 0 when none opens
    bool offeredMore;         // the pick list has more to read
};

std::vector<LookupKind> lookupKinds(int goods);

// The statements a lookup issues, in order: the keys that miss, the one that finds (a
// pick list's first page for a substring), and the pricing row of the goods taken.
// Offline, the substring's page is read by the GoodsIds the in-memory text found; that
// scan is the terminal's own work and not part of the floor.
class LookupFloor {
public:
    LookupFloor(PricingStatements& sql, int storeId);
    LookupFloor(const LookupFloor&) = delete;
    LookupFloor& operator=(const LookupFloor&) = delete;
    ~LookupFloor();

    // The statements for the input, worked out ahead of timing; `taken` is the goods
    // the cashier takes, 0 when nothing is found.
    struct Step {
        const std::string* sql;
        Params params;
    };
    std::vector<Step> steps(const LookupKind& kind, const std::string& input, int taken);
    // Issues them straight through the engine.
    void run(const std::vector<Step>& steps);

private:
    PricingStatements& sql_;
    int storeId_;
    std::unique_ptr<PgFloor> pg_;
    std::unique_ptr<SqliteFloor> sqlite_;
};

}  // namespace pos::bench
