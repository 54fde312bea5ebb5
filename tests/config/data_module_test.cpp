#include "config/data_module.h"
#include "config/working_mode_clock.h"
#include "support/back_office.h"
#include "support/fixed_clock.h"
#include "support/scripted_person.h"
#include "support/server_clock_span.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace pos {
namespace {

const char* const kConnectingText = "正在与服务器建立连接，请稍后...";

void expectShown(const test::ScriptedPerson::Shown& shown, const std::string& text, const char* title,
                 MessageIcon icon)
{
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.title, title);
    EXPECT_EQ(shown.icon, icon);
}

// The local file needs no server.
class LocalFileTest : public ::testing::Test {
protected:
    std::unique_ptr<TDM> newModule() { return std::make_unique<TDM>(settings_, person_, clock_, dir_.file("POS.mdb")); }

    test::TempDir dir_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    test::FixedClock clock_;
};

TEST_F(LocalFileTest, NewFileGetsItsTablesAndKeyMapAndReopenKeepsThem)
{
    std::int64_t keyRows = 0;
    {
        auto dm = newModule();
        ASSERT_TRUE(dm->openLocalDatabase());
        for (const char* table : {"B_Goods", "B_Store", "PosMachine", "PosBill", "PosDetail", "hPosBill",
                                  "hPosDetail", "MaxBillNo", "PosHelp"})
            EXPECT_NO_THROW(dm->conClient().tableColumns(table)) << table;
        keyRows = dm->conClient().query("select count(*) as n from PosHelp").first("n").toInt();
        EXPECT_GT(keyRows, 0);
        dm->conClient().execute("insert into PosBill(BillNo) values($1)", {"0001-001"});
        dm->conClient().execute("update PosHelp set FirClientKey=$1 where SysKey=$2", {"F12", "+"});
    }
    auto dm = newModule();
    ASSERT_TRUE(dm->openLocalDatabase());
    Database& local = dm->conClient();
    EXPECT_EQ(local.query("select count(*) as n from PosHelp").first("n").toInt(), keyRows);
    EXPECT_EQ(local.query("select FirClientKey from PosHelp where SysKey='+'").first("FirClientKey").toString(), "F12");
    EXPECT_EQ(local.query("select BillNo from PosBill").first("BillNo").toString(), "0001-001");
}

TEST_F(LocalFileTest, FileIsEncryptedWithFourKilobytePages)
{
    {
        auto dm = newModule();
        ASSERT_TRUE(dm->openLocalDatabase());
        EXPECT_EQ(dm->conClient().query("pragma cipher_page_size").row(0).at(0).toInt(), 4096);
    }
    const std::string bytes = test::readFile(dir_.file("POS.mdb"));
    ASSERT_GE(bytes.size(), 4096u);
    EXPECT_EQ(bytes.size() % 4096, 0u);
    EXPECT_NE(bytes.substr(0, 16), std::string("SQLite format 3\0", 16));

    for (const char* otherKey : {"000000", "", "123456"}) {
        SqliteDatabase other;
        EXPECT_FALSE(other.open(dir_.file("POS.mdb"), otherKey)) << otherKey;
    }
}

TEST_F(LocalFileTest, FileMadeWithAnotherKeyIsRefused)
{
    {
        SqliteDatabase foreign;
        ASSERT_TRUE(foreign.open(dir_.file("POS.mdb"), "111111"));
        foreign.execute("create table Foreign1(x)");
    }
    auto dm = newModule();
    EXPECT_FALSE(dm->openLocalDatabase());
    EXPECT_FALSE(dm->conClient().isOpen());
}

class DataModuleTest : public ::testing::Test {
protected:
    bool connectToRegistry() { return dm_.connectToServer(office_.login(), office_.registryName()); }
    ServerLogin deadServer() const { return {"127.0.0.1:1", office_.login().loginName, ""}; }

    test::TempDir dir_;
    test::BackOffice office_;
    Settings settings_{IniFile(dir_.file("POS.ini"))};
    test::ScriptedPerson person_;
    test::FixedClock clock_{DateTime{2001, 2, 3, 4, 5, 6}};
    TDM dm_{settings_, person_, clock_, dir_.file("POS.mdb"), office_.registryName()};
};

// Logins the server turns away, each with the database it is tried on.
std::vector<std::pair<ServerLogin, std::string>> refusedLogins(const ServerLogin& good, const std::string& db)
{
    return {{{"127.0.0.1:1", good.loginName, ""}, db},
            {{good.serverName, "no_such_role", "pw"}, db},
            {good, "no_such_database"}};
}

TEST_F(DataModuleTest, ConnectToServerShowsThePleaseWaitWindowWhileConnecting)
{
    ASSERT_TRUE(connectToRegistry());
    EXPECT_TRUE(dm_.conServer().isOpen());
    EXPECT_EQ(dm_.conServer().databaseName(), office_.registryName());
    EXPECT_EQ(person_.waits, std::vector<std::string>{kConnectingText});
    EXPECT_EQ(person_.openWaits, 0);
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(DataModuleTest, ConnectToServerReportsFailureWithoutRaisingOrMessage)
{
    for (const auto& [login, db] : refusedLogins(office_.login(), office_.registryName())) {
        SCOPED_TRACE(login.serverName + " " + login.loginName + " " + db);
        person_.waits.clear();
        bool ok = true;
        EXPECT_NO_THROW(ok = dm_.connectToServer(login, db));
        EXPECT_FALSE(ok);
        EXPECT_FALSE(dm_.conServer().isOpen());
        EXPECT_EQ(person_.waits, std::vector<std::string>{kConnectingText});
        EXPECT_EQ(person_.openWaits, 0);
    }
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(DataModuleTest, TestServerConnectionReachesTheRegistryDatabase)
{
    const std::string registry = office_.registryName();
    EXPECT_TRUE(TDM::testServerConnection(office_.login(), registry));
    EXPECT_FALSE(TDM::testServerConnection(office_.login(), registry + "_missing")) << "a server without the registry";
    EXPECT_FALSE(TDM::testServerConnection(deadServer(), registry));
    EXPECT_FALSE(TDM::testServerConnection({office_.login().serverName, "no_such_role", ""}, registry));
    EXPECT_TRUE(person_.waits.empty());
    EXPECT_FALSE(dm_.conServer().isOpen()) << "the test uses a connection of its own";
}

TEST_F(DataModuleTest, SelectAccountSetMovesToItsDatabaseAndReadsTheStoreChoice)
{
    for (int seleStore : {0, 1}) {
        office_.accountSet().execute("update S_AccountInfo set SeleStore=$1", {seleStore});
        ASSERT_TRUE(connectToRegistry());
        auto choice = dm_.selectAccountSet();
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->dbName, office_.accountSetName());
        EXPECT_EQ(choice->seleStore, seleStore == 1);
        EXPECT_EQ(dm_.conServer().databaseName(), office_.accountSetName());
        EXPECT_NO_THROW(dm_.conServer().query("select * from PosMachine"));
    }
    EXPECT_TRUE(person_.messages.empty());
}

// One way the back office can lack its account set, and the message it gives.
struct AccountSetFault {
    const char* name;
    const char* message;
    std::function<void(test::BackOffice&)> arrange;
};

const AccountSetFault kAccountSetFaults[] = {
    {"NoPosRow", "没有找到POS帐套！请在服务器设置POS帐套。",
     [](test::BackOffice& o) { o.registry().execute("update AccountSet set IsPos=0"); }},
    {"MissingDatabase", "无法连接到POS帐套！",
     [](test::BackOffice& o) { o.registry().execute("update AccountSet set DBName='pos_no_such_db'"); }},
    {"NoAccountInfoTable", "打开S_AccountInfo表失败！",
     [](test::BackOffice& o) { o.accountSet().execute("drop table S_AccountInfo"); }},
    {"NoAccountInfoRow", "没有找到POS帐套参数！",
     [](test::BackOffice& o) { o.accountSet().execute("delete from S_AccountInfo"); }},
};

class AccountSetFaultTest : public DataModuleTest, public ::testing::WithParamInterface<AccountSetFault> {};

TEST_P(AccountSetFaultTest, SelectAccountSetShowsItsErrorMessage)
{
    GetParam().arrange(office_);
    ASSERT_TRUE(connectToRegistry());
    EXPECT_FALSE(dm_.selectAccountSet());
    ASSERT_EQ(person_.messages.size(), 1u);
    expectShown(person_.messages[0], GetParam().message, "错误", MessageIcon::Error);
}

TEST_F(DataModuleTest, AFailedAccountSetQueryIsNotTakenForAMissingAccountSet)
{
    ASSERT_TRUE(connectToRegistry());
    office_.registry().execute("drop table AccountSet");
    EXPECT_FALSE(dm_.selectAccountSet());
    ASSERT_EQ(person_.messages.size(), 1u);
    const std::string& text = person_.messages[0].text;
    EXPECT_EQ(text.rfind("读取POS帐套失败！\n", 0), 0u) << text;
    EXPECT_NE(text.find("accountset"), std::string::npos) << "the server's own text follows: " << text;
    EXPECT_EQ(person_.messages[0].title, "错误");
    EXPECT_EQ(person_.messages[0].icon, MessageIcon::Error);
}

TEST_P(AccountSetFaultTest, GoingOnlineNamesTheAccountSetAfterItsMessage)
{
    GetParam().arrange(office_);
    settings_.writeServerLogin(office_.login());
    TPosState state;
    EXPECT_FALSE(dm_.switchWorkingMode(state));
    EXPECT_EQ(state.NetMode, Offline);
    ASSERT_EQ(person_.messages.size(), 2u);
    expectShown(person_.messages[0], GetParam().message, "错误", MessageIcon::Error);
    expectShown(person_.messages[1], "无法取得帐套信息！ 切换到『连网销售』模式失败。", "提示", MessageIcon::Information);
}

INSTANTIATE_TEST_SUITE_P(Faults, AccountSetFaultTest, ::testing::ValuesIn(kAccountSetFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataModuleTest, GoingOfflineOnlySetsTheMode)
{
    ASSERT_TRUE(connectToRegistry());
    TPosState state;
    state.NetMode = Online;
    EXPECT_TRUE(dm_.switchWorkingMode(state));
    EXPECT_EQ(state.NetMode, Offline);
    EXPECT_TRUE(dm_.conServer().isOpen());
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(DataModuleTest, GoingOnlineConnectsWithTheLoginOfTheSettingsFile)
{
    settings_.writeServerLogin(office_.login());
    TPosState state;
    ASSERT_TRUE(dm_.switchWorkingMode(state));
    EXPECT_EQ(state.NetMode, Online);
    EXPECT_EQ(dm_.conServer().databaseName(), office_.accountSetName());
    EXPECT_EQ(person_.waits, std::vector<std::string>{kConnectingText});
    EXPECT_TRUE(person_.messages.empty());
    EXPECT_EQ(settings_.option("SeleStore"), "") << "going online leaves the store choice alone";
}

TEST_F(DataModuleTest, GoingOnlineToADeadServerFailsWithOneMessage)
{
    settings_.writeServerLogin(deadServer());
    TPosState state;
    EXPECT_FALSE(dm_.switchWorkingMode(state));
    EXPECT_EQ(state.NetMode, Offline);
    ASSERT_EQ(person_.messages.size(), 1u);
    expectShown(person_.messages[0], "无法与服务器建立连接！ 切换到『连网销售』模式失败。", "提示",
                MessageIcon::Information);
    EXPECT_EQ(person_.waits, std::vector<std::string>{kConnectingText});
    EXPECT_EQ(person_.openWaits, 0);
}

TEST_F(DataModuleTest, ServerTimeIsTheClockOfTheWorkingMode)
{
    EXPECT_EQ(dm_.serverTime(Offline), clock_.now());

    settings_.writeServerLogin(office_.login());
    TPosState state;
    ASSERT_TRUE(dm_.switchWorkingMode(state));
    test::ServerClockSpan span(office_.accountSet());
    const DateTime t = dm_.serverTime(Online);
    span.end();
    EXPECT_TRUE(span.holds(t));
    EXPECT_NE(t.year, clock_.now().year);
}

TEST_F(DataModuleTest, TheWorkingModeClockFollowsTheModeItIsGiven)
{
    settings_.writeServerLogin(office_.login());
    TPosState state;
    ASSERT_TRUE(dm_.switchWorkingMode(state));
    const WorkingModeClock clock(dm_, state);

    test::ServerClockSpan span(office_.accountSet());
    const DateTime online = clock.now();
    span.end();
    EXPECT_TRUE(span.holds(online));

    state.NetMode = Offline;
    EXPECT_EQ(clock.now(), clock_.now()) << "the terminal's own time, the server still connected";
}

TEST_F(DataModuleTest, ServerTimeOnlineRaisesWhenTheServerIsGone)
{
    settings_.writeServerLogin(office_.login());
    TPosState state;
    ASSERT_TRUE(dm_.switchWorkingMode(state));
    office_.dropClientConnections();
    try {
        dm_.serverTime(Online);
        ADD_FAILURE() << "no error raised";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isNetworkFailure()) << e.what();
    }
}

}  // namespace
}  // namespace pos
