#include "storage/master_data_download.h"

#include "db/password_hash.h"
#include "pricing/pricing_statements.h"

#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace pos {
namespace {

// The copied tables in download order, with rows on the server and an older row in the
// local file. serverKeys are what the local table holds after a copy.
struct CopiedTable {
    const char* name;
    const char* key;
    const char* serverRows;
    const char* oldRow;
    const char* serverKeys;
    const char* oldKeys;
};

const CopiedTable kTables[] = {
    {"B_Goods", "GoodsId",
     "insert into B_Goods(GoodsId,Code,BarCode,Name,SPrice1,SPBeginDate,WarehouseNote) values"
     "(301,'A1','6901','矿泉水',12.5,'2024-03-01 08:00:00','shelf 4'),(302,'A2','6902','面包',3,null,null),"
     "(401,'B1','6903','other store',1,null,null)",
     "insert into B_Goods(GoodsId,Name) values(90,'old')", "301,302", "90"},
    {"B_BarCode", "BarCode", "insert into B_BarCode(BarCode,GoodsId) values('S1',301),('S2',302)",
     "insert into B_BarCode(BarCode,GoodsId) values('OLD',90)", "S1,S2", "OLD"},
    {"B_Store", "StoreId", "insert into B_Store(StoreId,Code,Name,IsPos) values(1,'01','一店',0),(3,'03','三店',1)",
     "insert into B_Store(StoreId,Code) values(90,'old')", "1,3", "90"},
    {"PosOperator", "OperatorId",
     "insert into PosOperator(OperatorId,Code,Name,Password) values(1,'001','张三','1'),(2,'002','李四','2')",
     "insert into PosOperator(OperatorId,Code) values(90,'old')", "1,2", "90"},
    {"B_Employ", "EmployId",
     "insert into B_Employ(EmployId,Code,Name,IsExeMan) values(1,'E1','王五',1),(2,'E2','赵六',0),(3,'E3','钱七',1)",
     "insert into B_Employ(EmployId,Code,IsExeMan) values(90,'old',1)", "1,3", "90"},
    {"PosClassNo", "ClassId", "insert into PosClassNo(ClassId,ClassCode,ClassName) values(1,'A','早班'),(2,'B','晚班')",
     "insert into PosClassNo(ClassId) values(90)", "1,2", "90"},
    {"PosMachine", "MachineId",
     "insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values(1,'07','一号机',1),(2,'08','二号机',0)",
     "insert into PosMachine(MachineId,MachineCode) values(90,'old')", "1,2", "90"},
    {"PosOperatorRight", "RightId", "insert into PosOperatorRight(OperatorId,RightId) values(1,5),(1,6)",
     "insert into PosOperatorRight(OperatorId,RightId) values(90,90)", "5,6", "90"},
    {"B_VIPCards", "CardNo", "insert into B_VIPCards(CardNo,HolderName,Amount) values('S1','孙八',100),('S2','周九',0)",
     "insert into B_VIPCards(CardNo) values('OLD')", "S1,S2", "OLD"},
    {"B_AutoDiscount", "DownAmount",
     "insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(0,1000,98),(1000,5000,95)",
     "insert into B_AutoDiscount(DownAmount,UpAmount,Discount) values(90,91,50)", "0,1000", "90"},
    {"B_GoodsTicket", "TicketNo", "insert into B_GoodsTicket(TicketNo,Amount,IsEnd) values('S1',50,0),('S2',20,1)",
     "insert into B_GoodsTicket(TicketNo,Amount) values('OLD',1)", "S1,S2", "OLD"},
};
constexpr std::size_t kGoodsTables = 2;  // B_Goods and B_BarCode, copied only with goods

const char* const kUntouchedTables[] = {"PosBill", "PosDetail", "hPosBill", "hPosDetail", "MaxBillNo", "PosHelp"};

class DownloadFixture : public ::testing::Test, public test::TerminalFixture {
protected:
    void SetUp() override
    {
        state.StoreId = 3;

        PgDatabase& server = office.accountSet();
        // A server column the local file lacks, and goods that depend on the store.
        server.execute("alter table B_Goods add column WarehouseNote text");
        server.executeScript("create or replace function PosGoods(p_storeid integer) returns setof B_Goods "
                             "language sql stable as $$ select * from B_Goods where GoodsId/100 = p_storeid $$");
        for (const CopiedTable& t : kTables) {
            server.execute(t.serverRows);
            local().execute(t.oldRow);
        }
        local().execute("insert into PosBill(BillNo,StoreId) values('07202403150001',3)");
        local().execute("insert into PosDetail(BillNo,OrderId,GoodsId) values('07202403150001',1,90)");
        local().execute("insert into hPosBill(BillNo,StoreId) values('0001',3)");
        local().execute("insert into hPosDetail(BillNo,OrderId,GoodsId) values('0001',1,90)");
        local().execute("insert into MaxBillNo(BillDate,MaxNo) values('2024-03-15 00:00:00',2)");
        untouchedBefore = untouchedRows();
    }

    Database& local() { return dm.conClient(); }

    std::string keys(const CopiedTable& t)
    {
        RowSet rows = local().query(std::string("select ") + t.key + " as K from " + t.name + " order by " + t.key);
        std::string joined;
        for (std::size_t r = 0; r < rows.size(); ++r)
            joined += (r ? "," : "") + rows.at(r, "K").toString();
        return joined;
    }

    // Replaced tables hold the server's rows; the others still hold their old row.
    void expectReplaced(const std::function<bool(std::size_t step)>& replaced)
    {
        for (std::size_t i = 0; i < std::size(kTables); ++i) {
            const CopiedTable& t = kTables[i];
            EXPECT_EQ(keys(t), replaced(i) ? t.serverKeys : t.oldKeys) << t.name;
        }
    }

    std::string untouchedRows()
    {
        std::string counts;
        for (const char* table : kUntouchedTables)
            counts += std::string(table) + "=" + local().query(std::string("select count(*) as n from ") + table)
                          .first("n").toString() + " ";
        return counts;
    }

    void download(bool withGoods)
    {
        downloadMasterData(dm.conServer().statements<DownloadStatements>(), dm.conClient(), person, state.StoreId,
                           withGoods);
    }

    std::string untouchedBefore;
};

using MasterDataDownloadTest = DownloadFixture;

TEST_F(MasterDataDownloadTest, WithoutGoodsKeepsGoodsAndBarCodesAndReplacesTheRest)
{
    download(false);

    expectReplaced([](std::size_t step) { return step >= kGoodsTables; });
    EXPECT_TRUE(person.waits.empty());
    EXPECT_EQ(untouchedRows(), untouchedBefore);
}

TEST_F(MasterDataDownloadTest, WithGoodsReplacesEverythingBehindThePleaseWaitWindow)
{
    download(true);

    expectReplaced([](std::size_t) { return true; });
    EXPECT_EQ(person.waits, std::vector<std::string>{"正在下载货品资料,请稍候..."});
    EXPECT_EQ(person.openWaits, 0);
    EXPECT_EQ(untouchedRows(), untouchedBefore);

    RowSet goods = local().query("select Name, SPrice1, SPBeginDate, UnitRate from B_Goods where GoodsId=301");
    ASSERT_EQ(goods.size(), 1u);
    EXPECT_EQ(goods.first("Name").toString(), "矿泉水");
    EXPECT_DOUBLE_EQ(goods.first("SPrice1").toDouble(), 12.5);
    EXPECT_EQ(goods.first("SPBeginDate").toString(), "2024-03-01 08:00:00");
    EXPECT_DOUBLE_EQ(goods.first("UnitRate").toDouble(), 1.0);  // the server's default travels too
}

// The lookup indexes are rebuilt after the rows are in, and used by the lookups again.
TEST_F(MasterDataDownloadTest, GoodsKeepTheirLookupIndexes)
{
    auto indexes = [this] {
        return local().query("select sql from sqlite_master where type='index' and tbl_name='B_Goods' and sql is not null "
                             "order by name");
    };
    RowSet before = indexes();
    ASSERT_FALSE(before.empty());
    download(true);
    RowSet after = indexes();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after.at(i, "sql"), before.at(i, "sql"));
    RowSet plan = local().query("explain query plan select * from B_Goods where BarCode=$1", {"6901"});
    EXPECT_NE(plan.at(0, "detail").toString().find("INDEX"), std::string::npos) << plan.at(0, "detail").toString();
}

// The offline substring search scans the goods' text in memory: each download of goods
// replaces it, so it finds what the local file holds after the second download too.
TEST_F(MasterDataDownloadTest, SubstringSearchFindsTheGoodsOfTheLatestDownload)
{
    GoodsTextIndex& text = local().statements<PricingStatements>().goodsText;
    auto found = [&](const char* typed) {
        std::vector<std::int64_t> ids;
        std::size_t from = 0;
        EXPECT_TRUE(text.find(local(), typed, from, 100, ids)) << typed;
        return ids;
    };
    using Ids = std::vector<std::int64_t>;
    EXPECT_EQ(found("old"), Ids{90});

    download(true);
    // The copy ran with nothing watching the goods: no trigger fired on each of its rows.
    EXPECT_EQ(local().query("select count(*) as n from sqlite_temp_master where type='trigger'").first("n").toInt(), 0);
    EXPECT_EQ(found("old"), Ids{});
    EXPECT_EQ(found("A"), (Ids{301, 302}));
    EXPECT_EQ(found("面包"), Ids{302});

    PgDatabase& server = office.accountSet();
    server.execute("update B_Goods set Name='全麦面包' where GoodsId=301");
    server.execute("delete from B_Goods where GoodsId=302");
    download(false);
    EXPECT_EQ(found("面包"), Ids{302});  // without goods the local goods stay as they were
    download(true);
    EXPECT_EQ(found("面包"), Ids{301});
    EXPECT_EQ(found("A2"), Ids{});
}

// The server's limit on one statement counts the time the terminal takes over the rows;
// a copy that outlasts it while its rows keep coming completes, and the limit holds
// again afterwards.
TEST_F(MasterDataDownloadTest, GoodsStreamOutlastingTheStatementLimitCompletes)
{
    office.accountSet().executeScript(R"(
        create function SlowGoods(p_goodsid integer) returns integer language plpgsql as $$
        begin
            perform pg_sleep(0.3);
            return p_goodsid;
        end $$;
        create or replace function PosGoods(p_storeid integer) returns setof B_Goods language sql stable as $$
            select * from B_Goods where GoodsId/100 = p_storeid and SlowGoods(GoodsId) = GoodsId $$;
        insert into B_Goods(GoodsId,Name) values(303,'c'),(304,'d');
        -- Rows larger than the server's send buffer leave it one by one, as a large catalogue's do.
        update B_Goods set WarehouseNote = repeat('x', 20000);)");
    PgDatabase& server = dm.conServer();
    server.setTimeouts({std::chrono::seconds(5), std::chrono::milliseconds(800)});
    ASSERT_TRUE(server.reopen()) << server.lastError();

    download(true);
    EXPECT_EQ(keys(kTables[0]), "301,302,303,304");
    EXPECT_THROW(server.execute("select pg_sleep(1.5)"), DbError) << "the connection's limit is back";
}

TEST_F(MasterDataDownloadTest, GoodsFollowTheSellingStore)
{
    state.StoreId = 4;
    download(true);
    EXPECT_EQ(keys(kTables[0]), "401");

    state.StoreId = 0;
    download(true);
    EXPECT_EQ(keys(kTables[0]), "");
}

// The back office keeps its passwords as typed; the local copy only their hashes, and
// an operator code the back office repeats still comes down.
TEST_F(MasterDataDownloadTest, OperatorsArriveWithHashedPasswordsAndRepeatedCodes)
{
    PgDatabase& server = office.accountSet();
    server.execute("alter table PosOperator drop constraint posoperator_code_key");
    server.execute("insert into PosOperator(OperatorId,Code,Name,Password) values(3,'001','同号','3'),(4,'004','无密码',null)");
    download(false);

    RowSet ops = local().query("select OperatorId, Code, Password from PosOperator order by OperatorId");
    ASSERT_EQ(ops.size(), 4u);
    const char* const typed[] = {"1", "2", "3"};
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_TRUE(passwordMatches(ops.at(r, "Password").toString(), typed[r])) << ops.at(r, "Password").toString();
        EXPECT_FALSE(passwordMatches(ops.at(r, "Password").toString(), typed[(r + 1) % 3]));
    }
    EXPECT_TRUE(ops.at(3, "Password").isNull());
    EXPECT_EQ(server.query("select Password from PosOperator where OperatorId=1").first("Password").toString(), "1")
        << "the back office's table is not changed";
}

// Hashing is the slow part of a download: an operator whose back-office row has not
// changed since the last download keeps its hash; any change of the row (a new
// password, a new name) and a new operator are hashed from the back office's password.
TEST_F(MasterDataDownloadTest, OnlyOperatorsWhoseRowChangedAreHashedAgain)
{
    PgDatabase& server = office.accountSet();
    server.execute("insert into PosOperator(OperatorId,Code,Name,Password) values(6,'006','不变','6')");
    download(false);
    const auto hashOf = [this](int operatorId) {
        return local().query("select Password from PosOperator where OperatorId=$1", {operatorId}).first("Password")
            .toString();
    };
    const std::string before[] = {hashOf(1), hashOf(2), hashOf(6)};

    server.execute("update PosOperator set Name='张三丰' where OperatorId=1");
    server.execute("update PosOperator set Password='22' where OperatorId=2");
    server.execute("insert into PosOperator(OperatorId,Code,Name,Password) values(5,'005','新人','5')");
    download(false);

    EXPECT_EQ(hashOf(6), before[2]) << "an unchanged row keeps its hash";
    EXPECT_NE(hashOf(1), before[0]);
    EXPECT_TRUE(passwordMatches(hashOf(1), "1"));
    EXPECT_NE(hashOf(2), before[1]);
    EXPECT_TRUE(passwordMatches(hashOf(2), "22"));
    EXPECT_FALSE(passwordMatches(hashOf(2), "2"));
    EXPECT_TRUE(passwordMatches(hashOf(5), "5"));
    EXPECT_TRUE(passwordMatches(hashOf(6), "6"));

    // A local copy without the row's version (an older file, a row written by hand) is
    // hashed again.
    local().execute("update PosOperator set ServerRowVersion=null where OperatorId=6");
    download(false);
    EXPECT_NE(hashOf(6), before[2]);
    EXPECT_TRUE(passwordMatches(hashOf(6), "6"));
}

// The local file's key is in every copy of the program: a card's password read back from
// it is a salted hash, never the password. A card whose back-office row has not changed
// keeps its hash, as an operator does.
TEST_F(MasterDataDownloadTest, MemberCardsArriveWithHashedPasswords)
{
    PgDatabase& server = office.accountSet();
    server.execute("update B_VIPCards set Password='123' where CardNo='S1'");
    server.execute("update B_VIPCards set Password='' where CardNo='S2'");
    server.execute("insert into B_VIPCards(CardNo,Password) values('S3',null)");
    download(false);
    const auto passwordOf = [this](const char* cardNo) {
        return local().query("select Password from B_VIPCards where CardNo=$1", {cardNo}).first("Password");
    };
    const std::string s1 = passwordOf("S1").toString(), s2 = passwordOf("S2").toString();
    EXPECT_TRUE(passwordMatches(s1, "123")) << s1;
    EXPECT_FALSE(passwordMatches(s1, ""));
    EXPECT_TRUE(passwordMatches(s2, "")) << s2;
    EXPECT_TRUE(passwordOf("S3").isNull());

    server.execute("update B_VIPCards set Amount=Amount-1 where CardNo='S2'");
    download(false);
    EXPECT_EQ(passwordOf("S1").toString(), s1) << "an unchanged row keeps its hash";
    EXPECT_NE(passwordOf("S2").toString(), s2);
    EXPECT_TRUE(passwordMatches(passwordOf("S2").toString(), ""));
}

TEST_F(MasterDataDownloadTest, ServerTableWithoutRowsEmptiesTheLocalOne)
{
    office.accountSet().execute("delete from B_VIPCards");
    download(false);
    EXPECT_EQ(local().query("select count(*) as n from B_VIPCards").first("n").toInt(), 0);
}

struct FailureCase {
    const char* name;
    bool withGoods;
    std::size_t failingStep;  // index into kTables
    bool networkFailure;
    std::function<void(PgDatabase& server)> breakServer;
};

// Ends the session reading PosOperator once its rows are on their way, as a cable
// pulled in the middle of the table would. The view shows the rows' versions as the
// table does.
void breakConnectionWhileReadingOperators(PgDatabase& server)
{
    server.executeScript(R"(
        alter table PosOperator rename to PosOperatorRows;
        create function BreakConnection() returns setof PosOperatorRows language plpgsql as $$
        begin
            perform pg_terminate_backend(pg_backend_pid());
            perform pg_sleep(5);
        end $$;
        create view PosOperator as
            select r.*, r.xmin, r.ctid from PosOperatorRows r
            union all select b.*, '0'::xid, '(0,0)'::tid from BreakConnection() b;)");
}

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailures[] = {
    {"ServerQueryFailsOnSalespeople", false, 4, false,
     [](PgDatabase& server) { server.execute("drop table B_Employ cascade"); }},
    {"ConnectionBreaksInsideOperators", false, 3, true, breakConnectionWhileReadingOperators},
    {"BarCodesFailAfterGoods", true, 1, false,
     [](PgDatabase& server) { server.execute("drop table B_BarCode cascade"); }},
};

class MasterDataDownloadFailure : public DownloadFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MasterDataDownloadFailure, KeepsTheFailingTableAndPassesTheErrorOn)
{
    const FailureCase& c = GetParam();
    c.breakServer(office.accountSet());

    try {
        download(c.withGoods);
        ADD_FAILURE() << "the download reported no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.isNetworkFailure(), c.networkFailure) << e.what();
    }

    expectReplaced([&](std::size_t step) {
        return step < c.failingStep && (c.withGoods || step >= kGoodsTables);
    });
    EXPECT_EQ(person.openWaits, 0);
    EXPECT_EQ(untouchedRows(), untouchedBefore);
}

INSTANTIATE_TEST_SUITE_P(Steps, MasterDataDownloadFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
