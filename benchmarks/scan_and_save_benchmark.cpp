// Times the two moments a cashier waits for in the terminal's logic, with a catalogue on
// the server and in the local file: a lookup until its line is on the bill, for each
// kind of input, and the save of a bill of 50 lines. Beside each figure the floor: the
// same statements issued straight through libpq or SQLCipher.
//
//     bench_scan_and_save [--csv FILE] [goods]   (default 1000000; the test cluster as for the tests)

#include "catalogue.h"
#include "config/working_mode_clock.h"
#include "db/pg_pipeline.h"
#include "db/sqlite_database.h"
#include "engine_floor.h"
#include "lookup_floor.h"
#include "pricing/goods_lookup.h"
#include "report.h"
#include "storage/bill_numbering.h"
#include "storage/bill_saving.h"
#include "support/cash_payment.h"
#include "support/terminal_fixture.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pos::bench {
namespace {

constexpr int kScans = 300;
constexpr int kWarmUpScans = 10;  // per kind, not counted: the first statements parse and fill caches
constexpr int kSaves = 30;
constexpr std::size_t kBillLines = 50;

// The cashier takes the first goods of every pick list; what the list offered is kept.
class BenchPerson : public test::ScriptedPerson {
public:
    std::size_t pickGoods(PagedRows& candidates) override
    {
        offered = candidates.rows().size();
        offeredMore = candidates.canReadMore();
        return 0;
    }

    std::size_t offered = 0;
    bool offeredMore = false;
};

class Benchmark {
public:
    Benchmark(int goods, Report& report)
        : goods_(goods), report_(report), t_{f_.settings, f_.dm, f_.state, person_, f_.clock, f_.log}
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
        fillServerGoods(f_.office.accountSet(), goods_);
        fillLocalGoods(f_.dm.conClient(), goods_);
    }

    void lookups(WorkingMode netMode, const char* modeName)
    {
        f_.state.NetMode = netMode;
        LookupFloor floor(t_.db().statements<PricingStatements>(), f_.state.StoreId);
        for (const LookupKind& kind : lookupKinds(goods_)) {
            std::uniform_int_distribution<int> pick(kind.lowest, kind.highest);
            Measure m{modeName, kind.name, goods_, {}, {}};
            for (int i = 0; i < kWarmUpScans + kScans; ++i) {
                const int goods = pick(random_);
                const std::string input = kind.input(goods);
                const double took = lookUp(kind, input, goods);
                const auto steps = floor.steps(kind, input, kind.line ? goods : 0);
                const auto start = std::chrono::steady_clock::now();
                floor.run(steps);
                const double floorTook = msSince(start);
                if (i >= kWarmUpScans) {
                    m.ms.push_back(took);
                    m.floorMs.push_back(floorTook);
                }
            }
            report_.add(m);
        }
    }

    void saves()
    {
        PgFloor server(f_.dm.conServer());
        SqliteFloor local(dynamic_cast<SqliteDatabase&>(f_.dm.conClient()));
        const auto offlineFloor = [&](Bill& b) {
            takeNumberFloor(local, b);
            SaleStatements& sql = f_.dm.conClient().statements<SaleStatements>();
            local.command("begin immediate");
            RowCopy& bill = sql.billCopy(b.master.columns());
            local.query(bill.statement(), bill.parameters(b.master.row(0)));
            RowCopy& lines = sql.lineCopy(b.detail.columns());
            for (std::size_t line = 0; line < b.detail.size(); ++line)
                local.query(lines.statement(), lines.parameters(b.detail.row(line)));
            local.command("commit");
        };
        const struct {
            const char* mode;
            const char* operation;
            WorkingMode netMode;
            std::function<void(Bill&)> save;
            std::function<void(Bill&)> floor;
            const char* synchronous = "full";  // the local file's: a bill on disk before the receipt
        } variants[] = {
            {"Online", "save 50 lines, pipelined", Online,
             [this](Bill& b) { check(save(b) == BillSavedOnServer, "online save failed"); },
             [&](Bill& b) {
                 takeNumberFloor(local, b);
                 server.command("begin");
                 server.pipeline({serverStatements(b)});
                 server.command("commit");
             }},
            {"Online", "save 50 lines, one per round trip", Online, [this](Bill& b) { saveOnePerRoundTrip(b); },
             [&](Bill& b) {
                 takeNumberFloor(local, b);
                 server.command("begin");
                 for (const SqlStatement& s : serverStatements(b))
                     server.query(s.sql, s.params);
                 server.command("commit");
             }},
            {"Offline", "save 50 lines", Offline,
             [this](Bill& b) { check(save(b) == BillSavedLocally, "offline save failed"); }, offlineFloor},
            // What the sync of each commit to the disk costs, for comparison only.
            {"Offline", "save 50 lines, synchronous=normal", Offline,
             [this](Bill& b) { check(save(b) == BillSavedLocally, "offline save failed"); }, offlineFloor, "normal"},
        };
        std::int64_t serverBills = 0, localBills = 0;
        for (const auto& v : variants) {
            f_.state.NetMode = v.netMode;
            f_.dm.conClient().execute(std::string("pragma synchronous=") + v.synchronous);
            Measure m{v.mode, v.operation, goods_, {}, {}};
            for (int i = 0; i < kSaves; ++i) {
                Bill b = savableBill();
                Bill copy = b;
                auto start = std::chrono::steady_clock::now();
                v.save(b);
                m.ms.push_back(msSince(start));
                start = std::chrono::steady_clock::now();
                v.floor(copy);
                m.floorMs.push_back(msSince(start));
            }
            (v.netMode == Online ? serverBills : localBills) += 2 * kSaves;
            report_.add(m);
        }
        f_.dm.conClient().execute("pragma synchronous=full");
        const auto lines = [](Database& db) { return db.query("select count(*) as n from PosDetail").first("n").toInt(); };
        check(lines(f_.office.accountSet()) == serverBills * static_cast<std::int64_t>(kBillLines),
              "the server does not hold every saved line");
        check(lines(f_.dm.conClient()) == localBills * static_cast<std::int64_t>(kBillLines),
              "the local file does not hold every saved line");
    }

private:
    // One lookup on a fresh bill; the time until its line is on the bill (or "not found" shown).
    double lookUp(const LookupKind& kind, const std::string& input, int goods)
    {
        Bill bill = emptyBill_;
        int nextOrderId = 1;
        person_.messages.clear();
        person_.offered = 0;
        person_.offeredMore = false;

        const auto start = std::chrono::steady_clock::now();
        AddGoodsByInput(pricing(), input, 0, 1, 100, bill, nextOrderId);
        const double took = msSince(start);

        const bool lineOfGoods = bill.detail.size() == 1 && bill.line(0).goodsId().toInt() == goods;
        check(lineOfGoods == kind.line && person_.messages.size() == (kind.line ? 0u : 1u)
                  && person_.offered == kind.offered && person_.offeredMore == kind.offeredMore,
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

    PricingContext pricing() { return {t_.db().statements<PricingStatements>(), person_, modeClock_, f_.state, f_.sale.member}; }

    SaveBillResult save(Bill& b)
    {
        BillNumbering numbering(f_.dm.conClient().statements<NumberingStatements>(), f_.clock);
        return SaveBill(t_.db().statements<SaleStatements>(), f_.dm.conClient().statements<SaleStatements>(), numbering, person_,
                        f_.state, b, false, cardOf(f_.sale)).result;
    }

    void numberBill(Bill& b, const std::string& number)
    {
        b.billNo() = number;
        for (std::size_t line = 0; line < b.detail.size(); ++line)
            b.line(line).billNo() = number;
    }

    // What a save issues on the local counter: the counter read and moved on.
    void takeNumberFloor(SqliteFloor& local, Bill& b)
    {
        NumberingStatements& sql = f_.dm.conClient().statements<NumberingStatements>();
        local.query(sql.read.sql(), {});
        const std::int64_t next = f_.dm.conClient().query("select MaxNo from MaxBillNo").first("MaxNo").toInt();
        local.query(sql.consume.sql(), {next + 1});
        numberBill(b, "07F" + std::to_string(next) + "-" + std::to_string(++floorBills_));
    }

    std::vector<SqlStatement> serverStatements(const Bill& b)
    {
        // The bill has no member card, so no points are booked.
        return serverSaveStatements(f_.dm.conServer().statements<SaleStatements>(), b, f_.sale.member.VIPCardKind, 0);
    }

    // The online save with the same statements, each waiting for its answer.
    void saveOnePerRoundTrip(Bill& b)
    {
        numberBill(b, BillNumbering(f_.dm.conClient().statements<NumberingStatements>(), f_.clock)
                          .take(f_.state.MachineCode));
        PgDatabase& server = f_.dm.conServer();
        Transaction transaction(server);
        for (const SqlStatement& s : serverStatements(b))
            server.execute(s.sql, s.params);
        transaction.commit();
    }

    int goods_;
    Report& report_;
    test::TerminalFixture f_;
    BenchPerson person_;
    Terminal t_;
    WorkingModeClock modeClock_{f_.dm, f_.state};
    Bill emptyBill_;
    std::mt19937 random_{20240315};
    int floorBills_ = 0;
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    return pos::bench::runBenchmark(argc, argv, [](int goods, pos::bench::Report& report) {
        pos::bench::Benchmark benchmark(goods, report);
        benchmark.fillCatalogues();
        benchmark.lookups(pos::Online, "Online");
        benchmark.lookups(pos::Offline, "Offline");
        benchmark.saves();
    });
}
