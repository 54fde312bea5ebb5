#include "lookup_floor.h"

#include "catalogue.h"
#include "db/sqlite_database.h"
#include "pricing/goods_lookup.h"

#include <algorithm>

namespace pos::bench {

std::vector<LookupKind> lookupKinds(int n)
{
    // "商品<i>" with i in (n/100, n/10) is in the names of i and of 10i..10i+9: eleven.
    // The pick list is in goods order, so its first row, the one taken, is goods i;
    // for "商品<d>" it is goods d.
    return {
        {"scan bar code", LookupKey::BarCode, 1, n, barCode, true, 0, false},
        {"goods code", LookupKey::GoodsCode, 1, n, [](int g) { return "G" + std::to_string(g); }, true, 0, false},
        {"search code", LookupKey::SearchCode, 1, n, [](int g) { return "SP" + std::to_string(g); }, true, 0, false},
        {"substring, 11 matches", LookupKey::Substring, n / 100 + 1, n / 10 - 1,
         [](int g) { return "商品" + std::to_string(g); }, true, 11, false},
        {"substring, no match", LookupKey::Substring, 1, n, [](int g) { return "无此商品" + std::to_string(g); },
         false, 0, false},
        {"substring, pick list first page", LookupKey::Substring, 1, 9,
         [](int d) { return "商品" + std::to_string(d); }, true, kGoodsMatchPage, true},
    };
}

LookupFloor::LookupFloor(PricingStatements& sql, int storeId) : sql_(sql), storeId_(storeId)
{
    if (auto* pg = dynamic_cast<PgDatabase*>(&sql.database()))
        pg_ = std::make_unique<PgFloor>(*pg);
    else
        sqlite_ = std::make_unique<SqliteFloor>(dynamic_cast<SqliteDatabase&>(sql.database()));
}

LookupFloor::~LookupFloor() = default;

std::vector<LookupFloor::Step> LookupFloor::steps(const LookupKind& kind, const std::string& input, int taken)
{
    std::vector<Step> steps;
    const auto add = [&steps](const Statement& statement, Params params) {
        steps.push_back({&statement.sql(), std::move(params)});
    };
    add(sql_.goodsByBarCode, {input});
    if (kind.key != LookupKey::BarCode)
        add(sql_.goodsByCode, {input});
    if (kind.key == LookupKey::SearchCode || kind.key == LookupKey::Substring) {
        add(sql_.goodsByPackageBarCode, {input});
        add(sql_.extraBarCode, {input});
        add(sql_.goodsByFindCode, {input});
    }
    if (kind.key == LookupKey::Substring) {
        if (pg_) {
            // The inputs hold no wildcard, so the pattern needs no escapes.
            add(sql_.goodsBySubstring, {"%" + input + "%", static_cast<std::int64_t>(kGoodsMatchPage), 0});
        } else {
            std::vector<std::int64_t> ids;
            std::size_t from = 0;
            sql_.goodsText.find(sql_.database(), input, from, kGoodsMatchPage, ids);
            if (!ids.empty()) {
                Params page(kGoodsMatchPage);
                std::copy(ids.begin(), ids.end(), page.begin());
                add(sql_.goodsByIds, std::move(page));
            }
        }
    }
    if (taken != 0)
        add(sql_.pricingRow, {storeId_, taken});
    return steps;
}

void LookupFloor::run(const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        if (pg_)
            pg_->query(*step.sql, step.params);
        else
            sqlite_->query(*step.sql, step.params);
    }
}

}  // namespace pos::bench
