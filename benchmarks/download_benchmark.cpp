// Times the master-data download as the register runs it, with the goods of the catalogue
// on the back office and without them, against the floor of the same copy: the server's
// rows read straight through libpq, put into a local file straight through SQLCipher.
//
//     bench_download [--csv FILE] [goods]      (default 1000000; the test cluster as for the tests)

#include "catalogue.h"
#include "report.h"

#include "db/local_schema.h"
#include "pricing/goods_lookup.h"
#include "pricing/pricing_statements.h"
#include "storage/master_data_download.h"
#include "support/terminal_fixture.h"

#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pos::bench {
namespace {

constexpr int kStoreId = 1;

// Runs of the download with goods: a million goods take seconds a run.
int goodsRuns(int goods) { return goods >= 1000000 ? 5 : goods >= 100000 ? 9 : 21; }
constexpr int kRunsWithoutGoods = 51;
// A large shop's cashiers and supervisors.
constexpr int kOperators = 20;
constexpr int kRunsOperatorsChanged = 11;

struct PgResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultDeleter>;

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// The floor of the download: each table's select (the terminal's own text), prepared once
// on the server connection and read row by row in libpq's single-row mode, as a terminal
// that must not hold a million rows at once reads it; each value bound as its server type
// straight from libpq's text into an insert prepared once per table, on a local file of
// its own made as the terminal's (SQLCipher, 4 KB pages, WAL, full sync). One local
// transaction per table: its indexes dropped, its rows deleted, the rows inserted, the
// indexes built after the rows. Operators' passwords are stored as read: their slow hash
// is the terminal's own work, which the rows with operators show apart.
class DownloadFloor {
public:
    DownloadFloor(PgDatabase& server, const std::string& path) : server_(server)
    {
        check(file_.open(path, "floor"), "cannot open the floor's file: " + file_.lastError());
        migrateLocalSchema(file_);
    }
    DownloadFloor(const DownloadFloor&) = delete;
    DownloadFloor& operator=(const DownloadFloor&) = delete;
    ~DownloadFloor()
    {
        for (std::size_t i = 0; i < prepared_.size(); ++i)
            PQclear(PQexec(server_.handle(), ("deallocate bench_download_" + std::to_string(i)).c_str()));
    }

    void download(DownloadStatements& server, bool withGoods)
    {
        if (withGoods) {
            copy(server.goods, {std::to_string(kStoreId)});
            copy(server.barCodes, {});
        }
        for (DownloadStatements::Table& table : server.others)
            copy(table, {});
    }

    SqliteDatabase& file() { return file_; }

private:
    void copy(DownloadStatements::Table& table, const std::vector<std::string>& params)
    {
        sqlite3* local = file_.handle();
        exec(local, "begin immediate");
        std::vector<std::string> names, indexes;
        {
            SqliteStatement list = prepare(local, "select name, sql from sqlite_master where type='index' and "
                                                  "tbl_name=?1 collate nocase and sql is not null");
            sqlite3_bind_text(list.get(), 1, table.name, -1, SQLITE_STATIC);
            while (sqlite3_step(list.get()) == SQLITE_ROW) {
                names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
                indexes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1)));
            }
        }
        for (const std::string& name : names)
            exec(local, "drop index \"" + name + "\"");
        exec(local, "delete from " + std::string(table.name));

        PGconn* conn = server_.handle();
        std::vector<const char*> values;
        for (const std::string& p : params)
            values.push_back(p.c_str());
        check(PQsendQueryPrepared(conn, serverStatement(table.rows.sql()).c_str(), static_cast<int>(values.size()),
                                  values.data(), nullptr, nullptr, 0)
                  && PQsetSingleRowMode(conn),
              std::string("floor: cannot send: ") + PQerrorMessage(conn));
        while (PQflush(conn) == 1) {
        }
        SqliteStatement insert;
        std::vector<int> targets;  // parameter of each server column, 0 when the file lacks it
        std::vector<Oid> types;
        std::string error;
        while (PGresult* raw = PQgetResult(conn)) {
            PgResult r(raw);
            if (PQresultStatus(raw) != PGRES_SINGLE_TUPLE) {
                if (PQresultStatus(raw) != PGRES_TUPLES_OK)
                    error = PQresultErrorMessage(raw);
                continue;
            }
            if (!insert) {
                const Columns columns = file_.tableColumns(table.name);
                std::string names, placeholders;
                for (int c = 0; c < PQnfields(raw); ++c) {
                    types.push_back(PQftype(raw, c));
                    targets.push_back(0);
                    if (!columns.find(PQfname(raw, c)))
                        continue;
                    names += (names.empty() ? "\"" : ",\"") + std::string(PQfname(raw, c)) + "\"";
                    placeholders += placeholders.empty() ? "?" : ",?";
                    targets.back() = static_cast<int>(std::count(placeholders.begin(), placeholders.end(), '?'));
                }
                insert = prepare(local, "insert into " + std::string(table.name) + "(" + names + ") values("
                                            + placeholders + ")");
            }
            sqlite3_stmt* st = insert.get();
            for (int c = 0; c < PQnfields(raw); ++c) {
                const int target = targets[static_cast<std::size_t>(c)];
                if (target == 0)
                    continue;
                if (PQgetisnull(raw, 0, c)) {
                    sqlite3_bind_null(st, target);
                    continue;
                }
                const char* text = PQgetvalue(raw, 0, c);
                switch (types[static_cast<std::size_t>(c)]) {
                case 20:  // int8, int2, int4
                case 21:
                case 23:
                    sqlite3_bind_int64(st, target, std::strtoll(text, nullptr, 10));
                    break;
                case 700:  // float4, float8, numeric
                case 701:
                case 1700:
                    sqlite3_bind_double(st, target, std::strtod(text, nullptr));
                    break;
                default:
                    sqlite3_bind_text(st, target, text, PQgetlength(raw, 0, c), SQLITE_STATIC);
                }
            }
            check(sqlite3_step(st) == SQLITE_DONE, std::string("floor insert: ") + sqlite3_errmsg(local));
            sqlite3_reset(st);
        }
        check(error.empty(), "floor select: " + error);
        for (const std::string& definition : indexes)
            exec(local, definition);
        exec(local, "commit");
    }

    const std::string& serverStatement(const std::string& sql)
    {
        for (std::size_t i = 0; i < prepared_.size(); ++i)
            if (prepared_[i].first == sql)
                return prepared_[i].second;
        std::string name = "bench_download_" + std::to_string(prepared_.size());
        PgResult r(PQprepare(server_.handle(), name.c_str(), sql.c_str(), 0, nullptr));
        check(PQresultStatus(r.get()) == PGRES_COMMAND_OK, "floor prepare: " + std::string(PQerrorMessage(server_.handle())));
        prepared_.emplace_back(sql, std::move(name));
        return prepared_.back().second;
    }

    static SqliteStatement prepare(sqlite3* db, const std::string& sql)
    {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK,
              "floor: " + std::string(sqlite3_errmsg(db)) + " in " + sql);
        return SqliteStatement(st);
    }

    static void exec(sqlite3* db, const std::string& sql)
    {
        check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK,
              "floor: " + std::string(sqlite3_errmsg(db)) + " in " + sql);
    }

    PgDatabase& server_;
    SqliteDatabase file_;
    std::vector<std::pair<std::string, std::string>> prepared_;  // statement text, prepared name
};

class DownloadBenchmark {
public:
    explicit DownloadBenchmark(int goods) : goods_(goods), floor_(f_.dm.conServer(), f_.dir.file("floor.mdb"))
    {
        f_.state.StoreId = kStoreId;
        // The back office's other master tables stay as a new account set has them.
        fillServerGoods(f_.office.accountSet(), goods);
        // A cashier searched offline before: the goods' text index watches the local goods.
        std::vector<std::int64_t> ids;
        std::size_t from = 0;
        local().statements<PricingStatements>().goodsText.find(local(), "商品1", from, kGoodsMatchPage, ids);
    }

    void measure(Report& report)
    {
        Measure withGoods{"-", "download with goods", goods_, {}, {}};
        Measure withoutGoods{"-", "download without goods", goods_, {}, {}};
        run(withGoods, goodsRuns(goods_), true);
        checkCopies();
        run(withoutGoods, kRunsWithoutGoods, false);
        checkCopies();
        report.add(withGoods);
        report.add(withoutGoods);

        // Operators' passwords are stored as slow hashes, made again only for an operator
        // whose back-office row changed since the last download.
        f_.office.accountSet().execute(
            "insert into PosOperator(OperatorId,Code,Name,Password) "
            "select i, lpad(i::text,3,'0'), '收银员'||i, 'pw'||i from generate_series(1,$1::integer) i",
            {kOperators});
        Measure operatorsChanged{"-", "download without goods, " + std::to_string(kOperators) + " operators changed",
                               goods_, {}, {}};
        run(operatorsChanged, kRunsOperatorsChanged, false,
            [this] { f_.office.accountSet().execute("update PosOperator set Name=Name"); });
        Measure operatorsUnchanged{"-", "download without goods, " + std::to_string(kOperators) + " operators unchanged", goods_,
                      {}, {}};
        run(operatorsUnchanged, kRunsWithoutGoods, false);
        check(local().query("select count(*) as n from PosOperator where Password like 'pbkdf2-sha256$%'")
                      .first("n").toInt() == kOperators,
              "the operators did not arrive with hashed passwords");
        report.add(operatorsChanged);
        report.add(operatorsUnchanged);
    }

private:
    Database& local() { return f_.dm.conClient(); }
    DownloadStatements& server() { return f_.dm.conServer().statements<DownloadStatements>(); }

    // The terminal and the floor by turns, after one run of each that is not counted.
    void run(Measure& m, int runs, bool withGoods, const std::function<void()>& beforeEach = [] {})
    {
        for (int i = 0; i <= runs; ++i) {
            beforeEach();
            auto start = std::chrono::steady_clock::now();
            downloadMasterData(server(), local(), f_.person, f_.state.StoreId, withGoods);
            const double terminal = msSince(start);
            start = std::chrono::steady_clock::now();
            floor_.download(server(), withGoods);
            const double floor = msSince(start);
            if (i > 0) {
                m.ms.push_back(terminal);
                m.floorMs.push_back(floor);
            }
        }
    }

    // Both copies hold every goods with its fields and the lookup indexes.
    void checkCopies()
    {
        for (Database* copy : {&local(), static_cast<Database*>(&floor_.file())}) {
            check(copy->query("select count(*) as n from B_Goods").first("n").toInt() == goods_,
                  "the local goods are not the catalogue");
            RowSet last = copy->query("select Name, SPrice1 from B_Goods where BarCode=$1", {barCode(goods_)});
            check(last.size() == 1 && last.first("Name").toString() == "商品" + std::to_string(goods_)
                      && last.first("SPrice1").toDouble() == 1 + goods_ % 100,
                  "the last goods did not arrive whole");
            check(copy->query("select count(*) as n from sqlite_master where type='index' and tbl_name='B_Goods'")
                          .first("n").toInt() >= 4,
                  "the goods' lookup indexes are missing");
        }
        std::vector<std::int64_t> ids;
        std::size_t from = 0;
        check(local().statements<PricingStatements>().goodsText.find(local(), "商品" + std::to_string(goods_), from, 1,
                                                                     ids)
                  && !ids.empty() && ids.front() == goods_,
              "the text search does not find the downloaded goods");
    }

    int goods_;
    test::TerminalFixture f_;
    DownloadFloor floor_;
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    return pos::bench::runBenchmark(argc, argv, [](int goods, pos::bench::Report& report) {
        pos::bench::DownloadBenchmark benchmark(goods);
        benchmark.measure(report);
    });
}
