// Times the start-up of the terminal to the register window ready for input, with the
// server answering and the goods not downloaded, as the program runs it (offscreen),
// against the floor of the same statements issued straight through libpq and SQLCipher.
//
//     bench_startup [--csv FILE] [goods]      (default 1000000; the test cluster as for the tests)
//
// Below 10,000 goods it is a quick check that the start-up works (one run).

#include "catalogue.h"
#include "report.h"

#include "access/login.h"
#include "base/clock.h"
#include "config/enrollment.h"
#include "db/sqlite_database.h"
#include "engine_floor.h"
#include "register/start_up.h"
#include "storage/download_statements.h"
#include "register/ui/frm_main.h"
#include "register/ui/pos_application.h"
#include "support/operator_data.h"
#include "support/strict_error_log.h"
#include "support/terminal_fixture.h"

#include <QApplication>
#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>
#include <QLineEdit>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>
#include <memory>
#include <stdexcept>
#include <string>

namespace pos::bench {
namespace {

constexpr int kRuns = 10;
constexpr int kOperators = 20;  // the back office's cashiers, each hashed into the local file by the download

void checkPg(PGconn* conn, PGresult* result, const std::string& sql)
{
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const std::string message = PQerrorMessage(conn);
        PQclear(result);
        throw std::runtime_error("floor statement failed: " + message + " in " + sql);
    }
}

// A connection straight through libpq, as the terminal opens its own (same login, time-outs
// and session options), each text prepared once.
class PgSession {
public:
    PgSession(const ServerLogin& login, const std::string& database)
    {
        std::string host = login.serverName, port = "5432";
        if (auto colon = host.rfind(':'); colon != std::string::npos) {
            port = host.substr(colon + 1);
            host.erase(colon);
        }
        const char* keys[] = {"host", "port", "user", "password", "dbname", "options", "client_encoding",
                              "application_name", nullptr};
        const char* values[] = {host.c_str(), port.c_str(), login.loginName.c_str(), login.password.c_str(),
                                database.c_str(), "-c statement_timeout=40000", "UTF8", "pos", nullptr};
        conn_ = PQconnectdbParams(keys, values, 0);
        check(PQstatus(conn_) == CONNECTION_OK, std::string("floor: cannot connect: ") + PQerrorMessage(conn_));
    }
    ~PgSession() { PQfinish(conn_); }
    PgSession(const PgSession&) = delete;
    PgSession& operator=(const PgSession&) = delete;

    // The rows as text; null values as null pointers.
    std::vector<std::vector<std::optional<std::string>>> query(const std::string& sql,
                                                               const std::vector<std::string>& params = {},
                                                               std::vector<std::string>* columns = nullptr)
    {
        auto it = names_.find(sql);
        if (it == names_.end()) {
            const std::string name = "startup_floor_" + std::to_string(names_.size());
            PGresult* prepared = PQprepare(conn_, name.c_str(), sql.c_str(), 0, nullptr);
            checkPg(conn_, prepared, sql);
            PQclear(prepared);
            it = names_.emplace(sql, name).first;
        }
        std::vector<const char*> values;
        for (const std::string& p : params)
            values.push_back(p.c_str());
        PGresult* result = PQexecPrepared(conn_, it->second.c_str(), static_cast<int>(values.size()),
                                          values.empty() ? nullptr : values.data(), nullptr, nullptr, 0);
        checkPg(conn_, result, sql);
        std::vector<std::vector<std::optional<std::string>>> rows(static_cast<std::size_t>(PQntuples(result)));
        for (int r = 0; r < PQntuples(result); ++r)
            for (int c = 0; c < PQnfields(result); ++c)
                rows[static_cast<std::size_t>(r)].push_back(
                    PQgetisnull(result, r, c) ? std::nullopt : std::optional<std::string>(PQgetvalue(result, r, c)));
        if (columns)
            for (int c = 0; c < PQnfields(result); ++c)
                columns->push_back(PQfname(result, c));
        PQclear(result);
        return rows;
    }

private:
    PGconn* conn_ = nullptr;
    std::map<std::string, std::string> names_;
};

// The local file straight through SQLCipher: opened with its key and settings, each
// text prepared once.
class LocalFile {
public:
    explicit LocalFile(const std::string& path)
    {
        check(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK, "floor: open");
        check(sqlite3_key(db_, kLocalKey, 6) == SQLITE_OK, "floor: key");
        for (const char* setUp : {"pragma cipher_page_size = 4096", "select count(*) from sqlite_master",
                                  "pragma journal_mode = wal", "pragma cache_size = -65536",
                                  "pragma synchronous = full", "pragma foreign_keys = off", "pragma user_version"})
            run(setUp);
    }
    ~LocalFile()
    {
        for (const auto& [sql, statement] : statements_)
            sqlite3_finalize(statement);
        sqlite3_close_v2(db_);
    }
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    // Every column of every row read; the first two columns of each row kept.
    std::vector<std::pair<std::string, std::string>> run(const std::string& sql, const std::vector<std::optional<std::string>>& params = {})
    {
        sqlite3_stmt* st = prepared(sql);
        for (std::size_t i = 0; i < params.size(); ++i) {
            if (params[i])
                sqlite3_bind_text(st, static_cast<int>(i + 1), params[i]->c_str(), -1, SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(st, static_cast<int>(i + 1));
        }
        std::vector<std::pair<std::string, std::string>> kept;
        const auto text = [st](int c) {
            const unsigned char* t = c < sqlite3_column_count(st) ? sqlite3_column_text(st, c) : nullptr;
            return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sqlite3_column_text(st, c);
            kept.emplace_back(text(0), text(1));
        }
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        check(rc == SQLITE_DONE, std::string("floor statement failed: ") + sqlite3_errmsg(db_) + " in " + sql);
        return kept;
    }

private:
    sqlite3_stmt* prepared(const std::string& sql)
    {
        auto it = statements_.find(sql);
        if (it != statements_.end())
            return it->second;
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) == SQLITE_OK,
              std::string("floor: cannot prepare: ") + sqlite3_errmsg(db_) + " in " + sql);
        return statements_.emplace(sql, st).first->second;
    }

    static constexpr const char* kLocalKey = "730418";
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_;
};

// The start-up's dialogs as a cashier completes them: the server login is in POS.ini,
// the first start enrols the terminal as "07", and operator 01 signs on for the early
// shift after the login window has listed the shifts.
class CashierAtStartUp : public StartupWindows {
public:
    explicit CashierAtStartUp(Terminal& t) : t_(t) {}

    bool connectToServer() override { return false; }
    bool enrolMachine() override { return pos::enrolMachine(t_.settings, t_.dm.conServer(), "07") == EnrolResult::Enrolled; }
    bool signOn() override
    {
        AccessStatements& sql = t_.db().statements<AccessStatements>();
        check(!shiftNames(sql).empty(), "no shift listed");
        return pos::signOn(sql, t_.state, "01", "pw", "早班") == SignOnResult::SignedOn;
    }

private:
    Terminal& t_;
};

// Everything main() builds, on the benchmark's terminal directory.
struct Program {
    explicit Program(test::TerminalFixture& f)
        : settings(IniFile(f.dir.file("POS.ini"))),
          dm(settings, person, clock, f.dir.file("POS.mdb"), f.office.registryName()),
          terminal{settings, dm, state, person, clock, log},
          frmMain(terminal, reg),
          windows(terminal)
    {
        person.answers = {false};  // no goods download
    }

    Settings settings;
    test::ScriptedPerson person;
    SystemClock clock;
    test::StrictErrorLog log;
    TDM dm;
    TPosState state;
    CurrentMember member;
    BillTotals totals;
    Terminal terminal;
    RegisterState reg;
    TfrmMain frmMain;
    CashierAtStartUp windows;
};

class Benchmark {
public:
    explicit Benchmark(int goods) : goods_(goods)
    {
        PgDatabase& server = f_.office.accountSet();
        server.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(3,'S03','三号店',1)");
        server.execute("insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values(5,'07','七号机',0)");
        for (int i = 1; i <= kOperators; ++i) {
            char code[8];
            std::snprintf(code, sizeof code, "%02d", i);
            test::addOperator(server, {i, code, "收银员" + std::to_string(i), i == 1 ? "pw" : "pw" + std::to_string(i)});
        }
        test::addShift(server, 2, "A", "早班");
        fillServerGoods(server, goods);
    }

    // The first start enrols the terminal and fills the local file; the goods are then
    // in it as a download with goods leaves them.
    void firstStart()
    {
        startOnce();
        Program p(f_);
        check(p.dm.openLocalDatabase(), "local file");
        fillLocalGoods(p.dm.conClient(), goods_);
        for (const DownloadStatements::Table& table : basicTables())
            localColumns_[table.name] = p.dm.conClient().tableColumns(table.name).names();
    }

    Measure startUps()
    {
        Measure m{"Online", "start-up to the register ready", goods_, {}, {}};
        const int runs = goods_ < 10000 ? 1 : kRuns;
        for (int i = 0; i < runs; ++i)
            m.ms.push_back(startOnce());
        for (int i = 0; i < runs; ++i)
            m.floorMs.push_back(floor());
        return m;
    }

    // The floor: what the start-up asks of the engines, straight through them, each text
    // prepared once: the local file opened with its key and settings and its schema
    // version read; a connection to the registry and its account set, one to the account
    // set itself and its settings row; the terminal's store, machine row and the server's
    // time; the shift list and the sign-on's operator and shift; the back office's
    // options; the basic tables read and each copied into the local file in a transaction
    // of its own (indexes dropped and made again, the operators' last hashes read, as the
    // download does, but no password hashed); the bill's empty records, the waiting bills, the machine row, the server's
    // time and the bill counter. Nothing of any other statement set is prepared.
    double floor()
    {
        const ServerLogin login = f_.office.login();
        const auto start = std::chrono::steady_clock::now();
        LocalFile local(f_.dir.file("POS.mdb"));
        std::string accountSet;
        {
            PgSession registry(login, f_.office.registryName());
            const auto sets = registry.query("select AccSetID,DBName,SeleStore from AccountSet where IsPos=1");
            check(sets.size() == 1, "floor: account set");
            accountSet = *sets[0][1];
        }
        PgSession server(login, accountSet);
        server.query("select SeleStore from S_AccountInfo where AccountId=$1", {"1"});
        const char* store = "select * from B_Store where IsPos=1 order by StoreId limit 1";
        server.query(store);
        server.query("select * from PosMachine where MachineId=$1", {"5"});
        server.query("select localtimestamp(0) as ServerTime");
        server.query("select * from PosClassNo");
        check(server.query("select OperatorId,Name,Password,SysManager from PosOperator where Code=$1 and Password=$2",
                           {"01", "pw"})
                      .size() == 1,
              "floor: sign-on");
        server.query("select * from PosClassNo where ClassName=$1", {"早班"});
        server.query(store);
        server.query("select * from PosOptions");
        for (const DownloadStatements::Table& basic : basicTables()) {
            const std::string table = basic.name;
            std::vector<std::string> columns;
            const auto rows = server.query(basic.rows.sql(), {}, &columns);
            local.run("begin immediate");
            if (sameName(table, "PosOperator"))  // the hashes the last download made
                local.run("select OperatorId, Password, ServerRowVersion from PosOperator");
            const auto indexes = local.run(
                "select name, sql from sqlite_master where type='index' and tbl_name=?1 collate nocase and sql is not null",
                {table});
            for (const auto& [name, definition] : indexes)
                local.run("drop index \"" + name + "\"");
            local.run("delete from " + table);
            const std::vector<std::size_t> kept = localColumns(table, columns);
            std::vector<std::string> names;
            for (std::size_t c : kept)
                names.push_back(columns[c]);
            for (const auto& row : rows) {
                std::vector<std::optional<std::string>> values;
                for (std::size_t c : kept)
                    values.push_back(row[c]);
                local.run(insertText(table, names), values);
            }
            for (const auto& [name, definition] : indexes)
                local.run(definition);
            local.run("commit");
        }
        local.run("select * from PosBill where 1=2");
        local.run("select * from PosDetail where 1=2");
        local.run("select BillNo from PosBill order by BillNo");
        server.query("select * from PosMachine where MachineId=$1", {"5"});
        server.query("select localtimestamp(0) as ServerTime");
        local.run("select * from MaxBillNo");
        return msSince(start);
    }

private:
    // The insert of a basic table's rows as the download's row copy makes it: every
    // column of the server's answer, those the local table lacks left out.
    static std::string insertText(const std::string& table, const std::vector<std::string>& columns)
    {
        std::string names, values;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            names += (c ? ",\"" : "\"") + columns[c] + "\"";
            values += (c ? ",?" : "?") + std::to_string(c + 1);
        }
        return "insert into " + table + "(" + names + ") values(" + values + ")";
    }

    // The basic tables the start-up downloads, in order, with the terminal's statements.
    std::array<DownloadStatements::Table, 9>& basicTables()
    {
        return f_.office.accountSet().statements<DownloadStatements>().others;
    }

    // The server's columns the local table has, by position.
    std::vector<std::size_t> localColumns(const std::string& table, const std::vector<std::string>& columns)
    {
        std::vector<std::size_t> kept;
        for (std::size_t c = 0; c < columns.size(); ++c)
            for (const std::string& local : localColumns_[table])
                if (sameName(local, columns[c]))
                    kept.push_back(c);
        return kept;
    }

    // One start of the program until its register window is shown and takes input.
    double startOnce()
    {
        const auto start = std::chrono::steady_clock::now();
        Program p(f_);
        check(StartUp(p.terminal, p.windows, p.reg), "the start-up failed: " + messages(p.person));
        p.frmMain.showMaximized();
        QApplication::processEvents();
        const double took = msSince(start);

        auto* input = p.frmMain.findChild<QLineEdit*>(QStringLiteral("edtInput"));
        check(p.frmMain.isVisible() && input && input->isEnabled(), "the register window is not ready");
        check(p.state.NetMode == Online && p.state.OperatorId == 1 && p.state.MachineId == 5 && p.state.StoreId == 3,
              "the start-up did not sign on online at the terminal's store");
        check(!p.reg.sale.bill.billNo().toString().empty(), "no first bill");
        check(p.person.questions.size() == 1 && p.person.answers.empty(), "the goods question was not asked");
        check(p.person.messages.empty(), "the start-up showed a message: " + messages(p.person));
        check(p.dm.conClient().query("select count(*) as n from PosOperator").first("n").toInt() == kOperators,
              "the operators were not downloaded");
        return took;
    }

    static std::string messages(const test::ScriptedPerson& person)
    {
        std::string all;
        for (const std::string& text : person.messageTexts())
            all += text + "; ";
        return all;
    }

    int goods_;
    std::map<std::string, std::vector<std::string>> localColumns_;  // of each basic table
    test::TerminalFixture f_{test::TerminalFixture::BeforeStartUp{}};
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    pos::PosApplication app(qtArgc, argv);
    return pos::bench::runBenchmark(argc, argv, [](int goods, pos::bench::Report& report) {
        pos::bench::Benchmark benchmark(goods);
        benchmark.firstStart();
        report.add(benchmark.startUps());
    });
}
