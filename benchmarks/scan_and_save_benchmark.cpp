// Times the two moments a cashier waits for, with a catalogue of a million goods on the
// server and in the local file: a scan until its line is on the bill, and the save of a
// bill of 50 lines. Prints median, 95th percentile and maximum in milliseconds.
//
//     bench_scan_and_save [goods]      (default 1000000; the test cluster as for the tests)

#include "db/pg_pipeline.h"
#include "pricing/bill_arithmetic.h"
#include "pricing/goods_lookup.h"
#include "storage/bill_numbering.h"
#include "storage/bill_saving.h"
#include "config/working_mode_clock.h"
#include "support/cash_payment.h"
#include "support/terminal_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pos::bench {
namespace {

constexpr int kScans = 200;
constexpr int kWarmUpScans = 10;  // per kind, not counted: the first statements parse and fill caches
constexpr int kSaves = 20;
constexpr std::size_t kBillLines = 50;

// Goods i: code "G<i>", bar code "69" and i in eleven digits, search code "SP<i>", name
// "商品<i>". Names are what the substring search finds: "商品<i>" is contained in the
// names of i and of every goods whose number starts with the digits of i.
constexpr const char* kServerGoods =
    "insert into B_Goods(GoodsId,Code,BarCode,FindCode,Name,Unit1,SPrice1) "
    "select i, 'G'||i, '69'||lpad(i::text,11,'0'), 'SP'||i, '商品'||i, '个', 1 + i % 100 "
    "from generate_series($1::integer,$2::integer) i";
// Rows per fill statement: each must answer within the register's wait for the server,
// also on a loaded machine.
constexpr int kServerFillChunk = 100000;
constexpr const char* kLocalGoods =
    "with recursive n(i) as (select 1 union all select i+1 from n where i<$1) "
    "insert into B_Goods(GoodsId,Code,BarCode,FindCode,Name,Unit1,SPrice1) "
    "select i, 'G'||i, '69'||substr('00000000000'||i,-11), 'SP'||i, '商品'||i, '个', 1 + i % 100 from n";

std::string barCode(int goods)
{
    std::string digits = std::to_string(goods);
    return "69" + std::string(11 - digits.size(), '0') + digits;
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void check(bool ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void printRow(const char* mode, const std::string& measure, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double fraction) { return ms[static_cast<std::size_t>(fraction * (ms.size() - 1) + 0.5)]; };
    std::printf("%-8s %-34s %5zu %9.2f %9.2f %9.2f\n", mode, measure.c_str(), ms.size(), at(0.5), at(0.95),
                ms.back());
    std::fflush(stdout);
}

// The cashier takes the first goods of every pick list; what the list offered is kept.
class BenchPerson : public test::ScriptedPerson {
public:
    std::size_t pickGoods(PagedRows& candidates) override
    {
        ++pickLists;
        offered = candidates.rows().size();
        offeredMore = candidates.canReadMore();
        return 0;
    }

    int pickLists = 0;
    std::size_t offered = 0;
    bool offeredMore = false;
};

// What the person sees after one scan of goods `goods`.
struct Outcome {
    bool line;            // a line of `goods` is on the bill (otherwise "not found" and no line)
    std::size_t offered;  // rows of the pick list; 0 when none opens
    bool offeredMore;     // the pick list has more to read
};

struct ScanKind {
    const char* name;
    int lowest, highest;  // range of the goods scanned
    std::function<std::string(int goods)> input;
    Outcome outcome;
};

class Benchmark {
public:
    explicit Benchmark(int goods)
        : goods_(goods), t_{f_.settings, f_.dm, f_.state, f_.member, f_.totals, person_, f_.clock, f_.log}
    {
        f_.state.StoreId = 1;
        f_.state.OperatorId = 3;
        f_.state.MachineCode = "07";
        emptyBill_ = Bill::open(f_.dm.conClient());
        emptyBill_.master.append();
        emptyBill_.billNo() = "07202403150001";
        emptyBill_.discount() = 100.0;
    }

    void fillCatalogues()
    {
        auto start = std::chrono::steady_clock::now();
        PgDatabase& server = f_.office.accountSet();
        server.execute("set statement_timeout=0");  // a million rows take longer than a register statement may
        for (int first = 1; first <= goods_; first += kServerFillChunk)
            server.execute(kServerGoods, {first, std::min(goods_, first + kServerFillChunk - 1)});
        // Settles the catalogue as the back office has it: statistics, and the trigram
        // indexes' pending entries merged.
        server.execute("vacuum analyze B_Goods");
        std::printf("server: %d goods in %.1f s\n", goods_, msSince(start) / 1000);

        start = std::chrono::steady_clock::now();
        Database& local = f_.dm.conClient();
        Transaction transaction(local);
        local.execute(kLocalGoods, {goods_});
        transaction.commit();
        std::printf("local file: %d goods in %.1f s\n\n", goods_, msSince(start) / 1000);
    }

    void scans(WorkingMode netMode, const char* modeName)
    {
        f_.state.NetMode = netMode;
        const int n = goods_;
        // "商品<i>" with i in (n/100, n/10) is in the names of i and of 10i..10i+9: eleven.
        // The pick list is in goods order, so its first row, the one taken, is goods i;
        // for "商品<d>" it is goods d.
        const ScanKind kinds[] = {
            {"scan bar code", 1, n, barCode, {true, 0, false}},
            {"goods code", 1, n, [](int g) { return "G" + std::to_string(g); }, {true, 0, false}},
            {"search code", 1, n, [](int g) { return "SP" + std::to_string(g); }, {true, 0, false}},
            {"substring, 11 matches", n / 100 + 1, n / 10 - 1, [](int g) { return "商品" + std::to_string(g); },
             {true, 11, false}},
            {"substring, no match", 1, n, [](int g) { return "无此商品" + std::to_string(g); }, {false, 0, false}},
            {"substring, pick list first page", 1, 9, [](int d) { return "商品" + std::to_string(d); },
             {true, kGoodsMatchPage, true}},
        };
        for (const ScanKind& kind : kinds) {
            std::uniform_int_distribution<int> pick(kind.lowest, kind.highest);
            std::vector<double> ms;
            for (int i = 0; i < kWarmUpScans + kScans; ++i) {
                const int goods = pick(random_);
                const double took = scan(kind, goods);
                if (i >= kWarmUpScans)
                    ms.push_back(took);
            }
            printRow(modeName, kind.name, ms);
        }
    }

    void saves()
    {
        const struct {
            const char* mode;
            const char* measure;
            WorkingMode netMode;
            std::function<void(Bill&)> save;
        } variants[] = {
            {"Online", "save 50 lines, pipelined", Online,
             [this](Bill& b) { check(save(b) == BillSavedOnServer, "online save failed"); }},
            {"Online", "save 50 lines, one per round trip", Online, [this](Bill& b) { saveOnePerRoundTrip(b); }},
            {"Offline", "save 50 lines", Offline,
             [this](Bill& b) { check(save(b) == BillSavedLocally, "offline save failed"); }},
        };
        for (const auto& v : variants) {
            f_.state.NetMode = v.netMode;
            std::vector<double> ms;
            for (int i = 0; i < kSaves; ++i) {
                Bill b = savableBill();
                const auto start = std::chrono::steady_clock::now();
                v.save(b);
                ms.push_back(msSince(start));
            }
            printRow(v.mode, v.measure, ms);
        }
        const auto lines = [](Database& db) { return db.query("select count(*) as n from PosDetail").first("n").toInt(); };
        check(lines(f_.office.accountSet()) == 2 * kSaves * static_cast<std::int64_t>(kBillLines),
              "the server does not hold every saved line");
        check(lines(f_.dm.conClient()) == kSaves * static_cast<std::int64_t>(kBillLines),
              "the local file does not hold every saved line");
    }

private:
    // One scan on a fresh bill; the time until its line is on the bill (or "not found" shown).
    double scan(const ScanKind& kind, int goods)
    {
        Bill bill = emptyBill_;
        int nextOrderId = 1;
        person_.messages.clear();
        person_.pickLists = 0;
        person_.offered = 0;
        person_.offeredMore = false;
        const std::string input = kind.input(goods);

        const auto start = std::chrono::steady_clock::now();
        AddGoodsByInput(pricing(), input, 0, 1, 100, bill, nextOrderId);
        const double took = msSince(start);

        const Outcome& want = kind.outcome;
        const bool lineOfGoods = bill.detail.size() == 1 && bill.line(0).goodsId().toInt() == goods;
        check(lineOfGoods == want.line && person_.messages.size() == (want.line ? 0u : 1u)
                  && person_.offered == want.offered && person_.offeredMore == want.offeredMore,
              std::string(kind.name) + ": unexpected outcome for input " + input);
        return took;
    }

    // A bill of 50 scanned lines, paid in cash, as checkout leaves it.
    Bill savableBill()
    {
        Bill b = emptyBill_;
        int nextOrderId = 1;
        std::uniform_int_distribution<int> pick(1, goods_);
        while (b.detail.size() < kBillLines)
            AddGoodsByInput(pricing(), barCode(pick(random_)), 0, 1, 100, b, nextOrderId);
        double amount = 0;
        for (std::size_t line = 0; line < b.detail.size(); ++line)
            amount += b.line(line).amount().toDouble();
        test::payInCash(b, f_.state.StoreId, f_.state.OperatorId, amount);
        return b;
    }

    PricingContext pricing() { return {t_.sql<PricingStatements>(), person_, modeClock_, f_.state, f_.member}; }

    SaveBillResult save(Bill& b)
    {
        BillNumbering numbering(f_.dm.conClient().statements<NumberingStatements>(), f_.clock);
        return SaveBill(t_.sql<SaleStatements>(), f_.dm.conClient().statements<SaleStatements>(), numbering, person_,
                        f_.state, b, false, cardOnScreen(f_.member, f_.totals));
    }

    // The online save with the same statements, each waiting for its answer.
    void saveOnePerRoundTrip(Bill& b)
    {
        const std::string number =
            BillNumbering(f_.dm.conClient().statements<NumberingStatements>(), f_.clock).take(f_.state.MachineCode);
        b.billNo() = number;
        for (std::size_t line = 0; line < b.detail.size(); ++line)
            b.line(line).billNo() = number;
        PgDatabase& server = f_.dm.conServer();
        Transaction transaction(server);
        // The bill has no member card, so no points are booked.
        for (const SqlStatement& s : serverSaveStatements(server.statements<SaleStatements>(), b, f_.member.VIPCardKind, 0))
            server.execute(s.sql, s.params);
        transaction.commit();
    }

    int goods_;
    test::TerminalFixture f_;
    BenchPerson person_;
    Terminal t_;
    WorkingModeClock modeClock_{f_.dm, f_.state};
    Bill emptyBill_;
    std::mt19937 random_{20240315};
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    const int goods = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (goods < 1000) {
        std::fprintf(stderr, "usage: %s [goods, at least 1000]\n", argv[0]);
        return 2;
    }
    try {
        pos::bench::Benchmark benchmark(goods);
        benchmark.fillCatalogues();
        std::printf("%-8s %-34s %5s %9s %9s %9s\n", "mode", "measure", "runs", "median ms", "p95 ms", "max ms");
        benchmark.scans(pos::Online, "Online");
        benchmark.scans(pos::Offline, "Offline");
        benchmark.saves();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
