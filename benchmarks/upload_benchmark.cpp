// Times the upload of 10,000 bills sold offline, as the register starts it, with a
// catalogue of the given size on the server and in the local file, against the floor of
// the same statements issued straight through libpq and SQLCipher.
//
//     bench_upload [--csv FILE] [goods]      (default 1000000; the test cluster as for the tests)
//
// Below 10,000 goods it is a quick check that the upload works (fewer bills, one run).

#include "catalogue.h"
#include "report.h"

#include "db/pg_params.h"
#include "db/sqlite_database.h"
#include "engine_floor.h"
#include "pricing/bill_arithmetic.h"
#include "storage/bill_numbering.h"
#include "storage/bill_saving.h"
#include "storage/offline_bill_upload.h"
#include "storage/upload_statements.h"
#include "support/cash_payment.h"
#include "support/goods_line.h"
#include "support/signed_on_terminal.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pos::bench {
namespace {

constexpr int kBills = 10000;
constexpr int kQuickBills = 500;
constexpr int kRuns = 5;
// Bills per server check and per pipeline in the floor.
constexpr std::size_t kFloorChunk = 500;

std::int64_t count(Database& db, const char* table)
{
    return db.query(std::string("select count(*) as n from ") + table).first("n").toInt();
}

class Benchmark {
public:
    explicit Benchmark(int goods) : goods_(goods), bills_(goods < 10000 ? kQuickBills : kBills)
    {
        test::signOnAsCashier(f_.state);
        f_.state.PointRate = 1;
        f_.office.accountSet().execute("insert into B_Store(StoreId,Code,Name,IsPos) values(2,'S2','二号店',1)");
    }

    void fill()
    {
        fillServerGoods(f_.office.accountSet(), goods_);
        fillLocalGoods(f_.dm.conClient(), goods_);
        sellOffline();
    }

    Measure upload()
    {
        Measure m{"Offline", "upload of " + std::to_string(bills_) + " offline bills", goods_, {}, {}};
        const int runs = quick() ? 1 : kRuns;
        for (int run = 0; run < runs; ++run) {
            refill();
            const auto start = std::chrono::steady_clock::now();
            UploadOfflineBills(f_.dm, f_.state, f_.person, f_.clock, f_.log);
            m.ms.push_back(msSince(start));
            checkUploaded("the upload");
            if (!f_.person.messages.empty())
                throw std::runtime_error("the upload showed a message: " + f_.person.messages.front().text);
        }
        for (int run = 0; run < runs; ++run) {
            refill();
            m.floorMs.push_back(floor());
            checkUploaded("the floor");
        }
        return m;
    }

private:
    bool quick() const { return bills_ < kBills; }

    // Bills of 3 to 5 lines of goods drawn from the catalogue at their price, paid in
    // cash, saved offline as checkout saves them; kept aside for the refills.
    void sellOffline()
    {
        const auto start = std::chrono::steady_clock::now();
        SqliteDatabase& local = f_.dm.conClient();
        f_.state.NetMode = Offline;
        BillNumbering numbering(local.statements<NumberingStatements>(), f_.clock);
        std::uniform_int_distribution<int> pickGoods(1, goods_), pickLines(3, 5), pickQuantity(1, 3);
        for (int i = 0; i < bills_; ++i) {
            Bill b = Bill::open(local);
            b.master.append();
            const int lines = pickLines(random_);
            double amount = 0;
            for (int l = 0; l < lines; ++l) {
                const int goods = pickGoods(random_);
                const int quantity = pickQuantity(random_);
                const double price = 1 + goods % 100;
                test::appendGoodsLine(b, goods, quantity, price);
                amount += quantity * price;
                lines_ += 1;
            }
            test::payInCash(b, f_.state.StoreId, f_.state.OperatorId, amount);
            check(SaveBill(local.statements<SaleStatements>(), local.statements<SaleStatements>(), numbering,
                           f_.person, f_.state, b, false, cardOf(f_.sale))
                          .result == BillSavedLocally,
                  "offline save failed");
        }
        f_.state.NetMode = Online;
        check(count(local, "PosBill") == bills_ && count(local, "PosDetail") == lines_, "offline bills missing");
        local.execute("create temp table SoldBills as select * from PosBill");
        local.execute("create temp table SoldLines as select * from PosDetail");
        std::printf("local file: %d bills of %lld lines saved offline in %.1f s\n\n", bills_,
                    static_cast<long long>(lines_), msSince(start) / 1000);
    }

    // The local file holds the sold bills again, the server none of them.
    void refill()
    {
        SqliteDatabase& local = f_.dm.conClient();
        {
            Transaction transaction(local);
            local.execute("delete from PosBill");
            local.execute("delete from PosDetail");
            local.execute("insert into PosBill select * from temp.SoldBills");
            local.execute("insert into PosDetail select * from temp.SoldLines");
            transaction.commit();
        }
        f_.office.accountSet().execute("truncate PosBill, PosDetail, D_Stock");
        f_.office.accountSet().execute("vacuum analyze PosBill, PosDetail, D_Stock");
        f_.person.messages.clear();
    }

    void checkUploaded(const std::string& who)
    {
        Database& server = f_.office.accountSet();
        check(count(server, "PosBill") == bills_ && count(server, "PosDetail") == lines_,
              who + ": the server does not hold every bill and line");
        check(count(f_.dm.conClient(), "PosBill") == 0 && count(f_.dm.conClient(), "PosDetail") == 0,
              who + ": bills are left in the local file");
    }

    // The floor: the waiting numbers, then per chunk of bills: each bill's master and lines
    // read through SQLCipher, the server check of the chunk's numbers in one statement,
    // the bills' saves (bill, lines, the stock of every line) sent in one pipeline, each
    // bill a transaction of its own, and the chunk's local deletes in one local
    // transaction. Every text prepared once; the values bound are the terminal's own,
    // made before the clock starts.
    double floor()
    {
        SqliteDatabase& local = f_.dm.conClient();
        PgDatabase& server = f_.dm.conServer();
        UploadStatements& localSql = local.statements<UploadStatements>();
        SaleStatements& serverSql = server.statements<SaleStatements>();
        const RowSet waiting = localSql.waitingBills.query();
        std::vector<std::vector<SqlStatement>> saves;
        for (std::size_t r = 0; r < waiting.size(); ++r) {
            const Value billNo = waiting.at(r, "BillNo");
            saves.push_back(serverSaveStatements(
                serverSql, Bill::of(localSql.billMaster.query({billNo}), localSql.billLines.query({billNo})), MemberCardKind::Other, 0));
        }

        SqliteFloor sqlite(local);
        PgFloor pg(server);
        const auto start = std::chrono::steady_clock::now();
        const std::size_t bills = sqlite.query(localSql.waitingBills.sql(), {});
        check(bills == waiting.size(), "floor: waiting bills");
        for (std::size_t first = 0; first < bills; first += kFloorChunk) {
            const std::size_t end = std::min(bills, first + kFloorChunk);
            std::vector<std::string> numbers;
            for (std::size_t r = first; r < end; ++r) {
                const Value billNo = waiting.at(r, "BillNo");
                numbers.push_back(billNo.toString());
                sqlite.query(localSql.billMaster.sql(), {billNo});
                sqlite.query(localSql.billLines.sql(), {billNo});
            }
            check(pg.query(kServerCopies, {pgTextArray(numbers)}) == 0, "floor: bills already on the server");
            pg.pipeline({saves.begin() + static_cast<std::ptrdiff_t>(first),
                          saves.begin() + static_cast<std::ptrdiff_t>(end)});
            sqlite.command("begin");
            for (const std::string& billNo : numbers) {
                sqlite.query(localSql.deleteBill.sql(), {billNo});
                sqlite.query(localSql.deleteLines.sql(), {billNo});
            }
            sqlite.command("commit");
        }
        return msSince(start);
    }

    static constexpr const char* kServerCopies =
        "select b.BillNo, b.MachineId, to_char(b.BillDate,'YYYY-MM-DD HH24:MI:SS') as BillDate, b.RealAmount, "
        "(select count(*) from PosDetail d where d.BillNo=b.BillNo) as LineCount "
        "from PosBill b where b.BillNo=any($1::varchar[])";

    int goods_;
    int bills_;
    std::int64_t lines_ = 0;
    test::SignedOnTerminal f_;
    std::mt19937 random_{20240315};
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    return pos::bench::runBenchmark(argc, argv, [](int goods, pos::bench::Report& report) {
        pos::bench::Benchmark benchmark(goods);
        benchmark.fill();
        report.add(benchmark.upload());
    });
}
