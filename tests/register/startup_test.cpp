#include "access/login.h"
#include "config/enrollment.h"
#include "register/start_up.h"
#include "support/member_cards.h"
#include "support/operator_data.h"
#include "support/proxied_server.h"
#include "support/server_clock_span.h"
#include "support/sign_on.h"
#include "support/terminal_fixture.h"
#include "support/waiting_bill.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace pos {
namespace {

using test::TerminalFixture;

constexpr const char* kOfflineQuestion =
    "无法连接到服务器！现在只能进入『断网销售』模式。 \r\n您想进入『断网销售』模式吗？";
constexpr const char* kGoodsQuestion = "是否从服务器下载货品资料到本地？";
constexpr const char* kDateWarning = "该收银机的日期与服务器的日期不相同！，请校对时间。";

// The start-up's dialogs, scripted: each records that it was opened and does what the
// test set (by default: cancelled).
struct ScriptedWindows : StartupWindows {
    std::vector<std::string> opened;
    std::function<bool()> onConnect = [] { return false; };
    std::function<bool()> onEnrol = [] { return false; };
    std::function<bool()> onSignOn = [] { return false; };

    bool connectToServer() override { return record("connect", onConnect); }
    bool enrolMachine() override { return record("enrol", onEnrol); }
    bool signOn() override { return record("signOn", onSignOn); }

private:
    bool record(const char* name, const std::function<bool()>& action)
    {
        opened.push_back(name);
        return action();
    }
};

// Master data a terminal needs to start: a store to sell from, terminal "07", an
// operator and a shift.
void arrangeMasterData(Database& db)
{
    db.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(3,'S03','三号店',1),(4,'S04','四号店',0)");
    db.execute("insert into PosMachine(MachineId,MachineCode,MachineName,IsRegister) values(5,'07','七号机',0)");
    test::addOperator(db, {1, "01", "张三", "pw"});
    test::addShift(db, 2, "A", "早班");
}

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest()
    {
        windows_.onSignOn = [this] { return test::signOnAt(fx_, "01", "pw", "早班") == SignOnResult::SignedOn; };
        windows_.onEnrol = [this] {
            return enrolMachine(fx_.settings, fx_.dm.conServer(), "07") == EnrolResult::Enrolled;
        };
    }

    bool start()
    {
        const bool started = StartUp(fx_.terminal, windows_, reg_);
        if (serverClock_)
            serverClock_->end();
        return started;
    }

    // Online with everything in place and the terminal's clock on the server's day.
    void arrangeOnline()
    {
        arrangeMasterData(fx_.office.accountSet());
        fx_.office.accountSet().execute(
            "insert into B_Goods(GoodsId,Code,BarCode,Name,Unit1,SPrice1) values(9,'G9','690009','牙刷','支',3.5)");
        serverClock_.emplace(fx_.office.accountSet());
        fx_.clock.set(serverClock_->before());
    }

    // The messages of the start-up. A midnight between arrangeOnline() and the start-up's
    // end may leave the clock rightly a day behind the server: that date warning is left out.
    std::vector<test::ScriptedPerson::Shown> messages() const
    {
        std::vector<test::ScriptedPerson::Shown> shown = fx_.person.messages;
        if (serverClock_ && serverClock_->crossedMidnight() && fx_.clock.now().date() == serverClock_->before().date())
            std::erase_if(shown, [](const auto& m) { return m.text == kDateWarning; });
        return shown;
    }

    // A terminal enrolled as MachineId 5 whose server cannot be reached, with its local
    // copy of the master data.
    void arrangeOffline(const std::string& seleStore)
    {
        fx_.settings.writeServerLogin({"127.0.0.1:1", "postgres", ""});
        fx_.settings.setOption("MachineId", "5");
        fx_.settings.setOption("SeleStore", seleStore);
        ASSERT_TRUE(fx_.dm.openLocalDatabase());
        arrangeMasterData(fx_.dm.conClient());
    }

    void arrangeWaitingBill()
    {
        ASSERT_TRUE(fx_.dm.openLocalDatabase());
        test::addWaitingBill(fx_.dm.conClient());
    }
    // Rows of the waiting bill in the local file and on the server: bills and lines each.
    std::int64_t waitingBillRows(Database& db)
    {
        return db.query("select (select count(*) from PosBill where BillNo=$1)"
                        " + (select count(*) from PosDetail where BillNo=$1) as n", {test::kWaitingBillNo})
            .first("n").toInt();
    }

    TerminalFixture fx_{TerminalFixture::BeforeStartUp{}};
    std::optional<test::ServerClockSpan> serverClock_;  // from arrangeOnline() to the start-up's end
    ScriptedWindows windows_;
    RegisterState reg_;
};

TEST_F(StartUpTest, MissingServerCredentialsOpenTheConnectionDialogFirst)
{
    const ServerLogin complete = fx_.office.login();
    const ServerLogin incomplete[] = {{"", complete.loginName, ""}, {complete.serverName, "", ""}, {}};
    for (const ServerLogin& login : incomplete) {
        fx_.settings.writeServerLogin(login);
        windows_.opened.clear();
        EXPECT_FALSE(start());
        EXPECT_EQ(windows_.opened, std::vector<std::string>{"connect"});
        EXPECT_FALSE(fx_.dm.conClient().isOpen()) << "nothing may happen before the dialog";
    }
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_TRUE(fx_.person.questions.empty());
}

TEST_F(StartUpTest, ConfirmedConnectionDialogIsReadAgainAndUsed)
{
    arrangeOnline();
    fx_.settings.writeServerLogin({});
    windows_.onConnect = [this] {
        fx_.settings.writeServerLogin(fx_.office.login());
        return true;
    };
    fx_.person.answers = {false};
    EXPECT_TRUE(start());
    EXPECT_EQ(windows_.opened, (std::vector<std::string>{"connect", "enrol", "signOn"}));
    EXPECT_EQ(fx_.state.NetMode, Online);
}

TEST_F(StartUpTest, ServerDownAsksForOfflineModeAndNoEnds)
{
    arrangeOffline("0");
    fx_.person.answers = {false};
    EXPECT_FALSE(start());
    EXPECT_EQ(fx_.person.questions, std::vector<std::string>{kOfflineQuestion});
    EXPECT_TRUE(fx_.person.messages.empty());
    EXPECT_TRUE(windows_.opened.empty());
    EXPECT_EQ(fx_.state.NetMode, Offline);
}

TEST_F(StartUpTest, EnrollmentOnlineOpensTheDialogAndOfflineEnds)
{
    struct Case {
        const char* machineId;
        bool online;
        bool dialog;
        const char* message;
    };
    const Case cases[] = {
        {"", true, true, nullptr},
        {"5x", true, true, nullptr},  // names no row: enrolling gives a proper one
        {"99", true, true, nullptr},  // the row was removed in the back office
        {"", false, false, "无法连接到服务器,注册POS机失败！"},
        {"5x", false, false, "无法连接到服务器,注册POS机失败！"},
    };
    arrangeMasterData(fx_.office.accountSet());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.machineId) + (c.online ? " online" : " offline"));
        fx_.settings.writeServerLogin(c.online ? fx_.office.login() : ServerLogin{"127.0.0.1:1", "postgres", ""});
        fx_.settings.setOption("MachineId", c.machineId);
        windows_.opened.clear();
        windows_.onEnrol = [] { return false; };
        fx_.person.messages.clear();

        EXPECT_FALSE(start());
        EXPECT_EQ(windows_.opened, c.dialog ? std::vector<std::string>{"enrol"} : std::vector<std::string>{});
        if (c.message) {
            ASSERT_EQ(fx_.person.messages.size(), 1u);
            EXPECT_EQ(fx_.person.messages[0].text, c.message);
            EXPECT_EQ(fx_.person.messages[0].title, "错误");
            EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(fx_.person.messages.empty());
        }
    }
    EXPECT_TRUE(fx_.person.questions.empty()) << "the offline question comes after the enrollment";
}

TEST_F(StartUpTest, OfflineWithoutSeleStoreEndsAfterTheLogin)
{
    arrangeOffline("");
    fx_.person.answers = {true};
    EXPECT_FALSE(start());
    EXPECT_EQ(windows_.opened, std::vector<std::string>{"signOn"});
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text,
              "无法进入『断网销售』模式，因为有些基本料还未下载到本地。\r\n"
              "请进入『连网销售』模式，系统会自动从服务器上下载基本资料并配置该POS机。");
    EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Error);
}

TEST_F(StartUpTest, UnreadableSeleStoreEndsTheStartUp)
{
    arrangeOffline("maybe");
    fx_.person.answers = {true};
    fx_.log.expected = 1;
    EXPECT_FALSE(start());
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, "启动收银系统（确定销售仓库）时发生错误。\n读取设置：SeleStore 的值 'maybe' 不是是否值");
    EXPECT_EQ(fx_.person.messages[0].title, "错误");
    ASSERT_EQ(fx_.log.entries.size(), 1u);
    EXPECT_EQ(fx_.log.entries[0].operation, "启动收银系统（确定销售仓库）");
    EXPECT_FALSE(reg_.sale.bill.hasMaster());
}

TEST_F(StartUpTest, AServerErrorDuringTheDownloadNamesTheStepAndGivesTheServersText)
{
    arrangeOnline();
    windows_.onSignOn = [this] {
        // The back office loses a table between the sign-on and the download.
        fx_.office.accountSet().execute("drop table B_GoodsTicket");
        return test::signOnAt(fx_, "01", "pw", "早班") == SignOnResult::SignedOn;
    };
    fx_.log.expected = 1;
    EXPECT_FALSE(start());
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    const std::string& text = shown[0].text;
    EXPECT_EQ(text.rfind("启动收银系统（下载基本资料）时发生错误。\n", 0), 0u) << text;
    EXPECT_NE(text.find("b_goodsticket"), std::string::npos) << "the server's own text follows: " << text;
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fx_.log.entries[0].operation, "启动收银系统（下载基本资料）");
}

TEST_F(StartUpTest, OfflineStartWorksFromTheLocalCopy)
{
    arrangeOffline("0");
    fx_.settings.setOption("Digit", "2.5");
    fx_.settings.setOption("PointRate", "");
    fx_.settings.setOption("NotPointLP", "是");
    fx_.person.answers = {true};

    ASSERT_TRUE(start());
    EXPECT_TRUE(fx_.person.messages.empty()) << "no date check offline";
    const TPosState& s = fx_.state;
    EXPECT_EQ(s.NetMode, Offline);
    EXPECT_EQ(s.IniFileName, fx_.settings.path());
    EXPECT_EQ(s.StoreId, 3);
    EXPECT_EQ(s.StoreName, "三号店");
    EXPECT_EQ(s.MachineId, 5);
    EXPECT_EQ(s.MachineCode, "07");
    EXPECT_EQ(s.Digit, 2);
    EXPECT_EQ(s.PointRate, 1);
    EXPECT_FALSE(s.NotPointSP);
    EXPECT_TRUE(s.NotPointLP);
    EXPECT_EQ(reg_.sale.bill.billNo().toString(), "07202403150001");
    EXPECT_EQ(reg_.sale.bill.billDate().toString(), fx_.clock.now().text());
}

TEST_F(StartUpTest, OnlineStartFillsTheStateAndStartsTheFirstBill)
{
    arrangeOnline();
    fx_.person.answers = {true};  // download the goods too

    ASSERT_TRUE(start());
    EXPECT_EQ(windows_.opened, (std::vector<std::string>{"enrol", "signOn"}));
    EXPECT_EQ(fx_.person.questions, std::vector<std::string>{kGoodsQuestion});
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(fx_.settings.option("SeleStore"), "0");

    const TPosState& s = fx_.state;
    EXPECT_EQ(s.NetMode, Online);
    EXPECT_EQ(s.OperatorCode, "01");
    EXPECT_EQ(s.ClassName, "早班");
    EXPECT_EQ(s.StoreId, 3);
    EXPECT_EQ(s.StoreCode, "S03");
    EXPECT_EQ(s.MachineId, 5);
    EXPECT_EQ(s.MachineName, "七号机");

    const Bill& bill = reg_.sale.bill;
    const std::string today = fx_.clock.now().text().substr(0, 10);
    std::string dayDigits = today;
    std::erase(dayDigits, '-');
    EXPECT_EQ(bill.billNo().toString(), "07" + dayDigits + "0001");
    EXPECT_TRUE(serverClock_->holds(bill.billDate().toString())) << "the server's time, online";
    EXPECT_EQ(bill.storeId().toInt(), 3);
    EXPECT_EQ(bill.operatorId().toInt(), 1);
    EXPECT_EQ(bill.classId().toInt(), 2);
    EXPECT_EQ(bill.machineId().toInt(), 5);
    EXPECT_TRUE(bill.detail.empty());

    Database& local = fx_.dm.conClient();
    EXPECT_EQ(local.query("select count(*) as n from B_Store").first("n").toInt(), 2);
    EXPECT_EQ(local.query("select Name from B_Goods where GoodsId=9").first("Name").toString(), "牙刷");
    EXPECT_EQ(fx_.person.waits, (std::vector<std::string>{"正在与服务器建立连接，请稍后...", "正在下载货品资料,请稍候..."}));
}

TEST_F(StartUpTest, GoodsAreDownloadedOnlyOnYes)
{
    arrangeOnline();
    fx_.settings.setOption("MachineId", "5");
    fx_.office.accountSet().execute("update PosMachine set IsRegister=1");
    fx_.person.answers = {false};
    ASSERT_TRUE(start());
    Database& local = fx_.dm.conClient();
    EXPECT_EQ(local.query("select count(*) as n from B_Goods").first("n").toInt(), 0);
    EXPECT_EQ(local.query("select count(*) as n from PosOperator").first("n").toInt(), 1);
}

// Bills sold offline before this start go to the server once the master data are in.
TEST_F(StartUpTest, WaitingBillsAreUploadedAfterTheDownload)
{
    arrangeOnline();
    arrangeWaitingBill();
    Database& local = fx_.dm.conClient();
    fx_.person.answers = {false};

    ASSERT_TRUE(start());
    EXPECT_TRUE(messages().empty());
    ASSERT_FALSE(fx_.person.waits.empty());
    EXPECT_EQ(fx_.person.waits.back(), "正在上传数据,请稍候...");
    EXPECT_TRUE(local.query("select * from PosBill").empty());
    EXPECT_EQ(fx_.office.accountSet().query("select * from PosDetail where BillNo=$1", {test::kWaitingBillNo}).size(),
              1u);
}

// The back office's point rate and no-point flags are read before the upload, so a
// waiting bill earns what the upload command would give it: 10.00 of goods at one
// point per 10, the promotion line earning none under NotPointSP.
TEST_F(StartUpTest, WaitingBillUploadedAtStartUpEarnsTheBackOfficesPoints)
{
    arrangeOnline();
    arrangeWaitingBill();
    Database& local = fx_.dm.conClient();
    local.execute("update PosBill set InsiderCode='V1',Amount=30,RealAmount=30,CashAmount=30");
    local.execute("insert into PosDetail(BillNo,OrderId,GoodsId,Quantity,Price,Amount,Memo) "
                  "values($1,2,101,2,10,20,'促销')", {test::kWaitingBillNo});
    test::addMemberCard(fx_.office.accountSet(), {.cardNo = "V1", .cardType = "普通卡"});
    fx_.office.accountSet().execute(
        "insert into PosOptions(OptionName,OptionValue) values('PointRate','10'),('NotPointSP','是')");
    fx_.person.answers = {false};

    ASSERT_TRUE(start());
    ASSERT_TRUE(local.query("select * from PosBill").empty());
    EXPECT_DOUBLE_EQ(
        fx_.office.accountSet().query("select UsedCount from B_VIPCards where CardNo='V1'").first("UsedCount").toDouble(),
        1);
}

TEST_F(StartUpTest, ChosenStoreComesFromFixStoreIdWhenTheBackOfficeAllowsChoosing)
{
    struct Case {
        const char* fixStoreId;
        int storeId;
        const char* storeName;
    };
    const Case cases[] = {{"4", 4, "四号店"}, {"", 0, ""}, {"abc", 0, ""}};
    arrangeOnline();
    fx_.office.accountSet().execute("update S_AccountInfo set SeleStore=1");
    fx_.office.accountSet().execute("delete from B_Store where IsPos=1");  // not needed when choosing
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixStoreId);
        fx_.state = {};  // each case is a fresh program start
        fx_.settings.setOption("FixStoreId", c.fixStoreId);
        fx_.person.answers = {false};
        windows_.onEnrol = [] { return true; };
        fx_.settings.setOption("MachineId", "5");
        ASSERT_TRUE(start());
        EXPECT_EQ(fx_.settings.option("SeleStore"), "-1");
        EXPECT_EQ(fx_.state.StoreId, c.storeId);
        EXPECT_EQ(fx_.state.StoreName, c.storeName);
        EXPECT_EQ(reg_.sale.bill.storeId().toInt(), c.storeId);
    }
}

TEST_F(StartUpTest, OnlineWithoutPosStoreEndsBeforeTheEnrollment)
{
    arrangeOnline();
    fx_.office.accountSet().execute("update B_Store set IsPos=0");
    EXPECT_FALSE(start());
    EXPECT_TRUE(windows_.opened.empty());
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, "没有设置POS机销售仓库！请在后台仓库资料中设置。");
    EXPECT_EQ(fx_.settings.option("SeleStore"), "0") << "the flag is written before the store is looked for";
}

TEST_F(StartUpTest, DifferentDateOnServerWarnsAndGoesOn)
{
    arrangeOnline();
    fx_.clock.set(serverClock_->before().addDays(-1));
    fx_.person.answers = {false};
    ASSERT_TRUE(start());
    ASSERT_EQ(fx_.person.messages.size(), 1u);
    EXPECT_EQ(fx_.person.messages[0].text, kDateWarning);
    EXPECT_EQ(fx_.person.messages[0].title, "");
    EXPECT_EQ(fx_.person.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(windows_.opened.back(), "signOn") << "the warning comes before the login";
}

TEST_F(StartUpTest, ServerOptionsFillEmptyReceiptKeysAndAlwaysReplaceAmountKeys)
{
    arrangeOnline();
    fx_.office.accountSet().execute(
        "insert into PosOptions(OptionName,OptionValue) values"
        "('Header1','服务器抬头'),('Footer1','服务器页脚'),('Digit','3'),('PointRate','10'),"
        "('NotPointSP','是'),('WindowTitle','服务器标题')");
    fx_.settings.setOption("Header1", "本机抬头");
    fx_.settings.setOption("Digit", "4");
    fx_.person.answers = {false};

    ASSERT_TRUE(start());
    EXPECT_EQ(fx_.settings.option("Header1"), "本机抬头");
    EXPECT_EQ(fx_.settings.option("Footer1"), "服务器页脚");
    EXPECT_EQ(fx_.settings.option("Digit"), "3");
    EXPECT_EQ(fx_.settings.option("WindowTitle"), "") << "not an option the back office sets";
    EXPECT_EQ(fx_.state.Digit, 3) << "read after the copy";
    EXPECT_EQ(fx_.state.PointRate, 10);
    EXPECT_TRUE(fx_.state.NotPointSP);
}

// A header typed over two lines in the back office must not stop every terminal.
TEST_F(StartUpTest, ServerOptionsWithLineBreaksAreStoredOnOneLine)
{
    arrangeOnline();
    fx_.office.accountSet().execute("insert into PosOptions(OptionName,OptionValue) values"
                                    "('Header1',E'欢迎光临\\r\\n本店'),('Footer2',E'谢谢\\n\\n惠顾\\r\\n'),"
                                    "('FooterNum','3')");
    fx_.person.answers = {false};

    ASSERT_TRUE(start());
    EXPECT_TRUE(messages().empty()) << messages()[0].text;
    EXPECT_EQ(fx_.settings.option("Header1"), "欢迎光临 本店");
    EXPECT_EQ(fx_.settings.option("Footer2"), "谢谢 惠顾");
    EXPECT_EQ(fx_.settings.footerNum(), 3);
}

// The server refuses the waiting bill: the cashier hears of the failed save and of the
// bill's number, the start-up goes on online, and the bill waits in the local file.
TEST_F(StartUpTest, WaitingBillTheServerRefusesStaysLocalAndTheStartUpGoesOnOnline)
{
    arrangeOnline();
    arrangeWaitingBill();
    fx_.office.accountSet().execute("create function refuse_bill() returns trigger language plpgsql as $$ "
                                    "begin raise exception 'refused'; end $$");
    fx_.office.accountSet().execute("create trigger refuse_bill before insert on PosDetail for each row "
                                    "execute function refuse_bill()");
    fx_.person.answers = {false};

    ASSERT_TRUE(start());

    EXPECT_EQ(fx_.person.messageTexts(), (std::vector<std::string>{"单据保存失败！可能已存在相同的单号。请删除该单后，重新输入。",
                                                                   std::string("上传数据到服务器失败！单号为：") + test::kWaitingBillNo}));
    EXPECT_EQ(fx_.state.NetMode, Online);
    EXPECT_NE(reg_.sale.bill.billNo().toString(), test::kWaitingBillNo);
    EXPECT_EQ(waitingBillRows(fx_.dm.conClient()), 2);
    EXPECT_EQ(waitingBillRows(fx_.office.accountSet()), 0);
}

struct UploadCutCase {
    const char* name;
    test::TcpProxy::Moment moment;  // of the cut, at the waiting bill's save
    bool serverAnswersAgain;        // within the start-up
};

void PrintTo(const UploadCutCase& c, std::ostream* os) { *os << c.name; }

class StartUpUploadCutTest : public StartUpTest, public ::testing::WithParamInterface<UploadCutCase> {};

// The connection breaks while the waiting bill is being saved on the server. A server
// that answers again gets the bill once and the start-up goes on online; one that is
// gone ends the start-up with the step named and the bill kept locally, and the next
// start-up leaves it on the server exactly once, booked once.
TEST_P(StartUpUploadCutTest, WaitingBillIsNeitherLostNorDoubled)
{
    const UploadCutCase& c = GetParam();
    arrangeOnline();
    arrangeWaitingBill();
    test::ProxiedServer network(fx_);
    int session = 0;
    windows_.onSignOn = [&] {
        // Armed after the statements were prepared: only the bill's own values carry its date.
        network.proxy.failOn(test::kWaitingBillDate, test::TcpProxy::Fault::Cut, c.moment);
        if (!c.serverAnswersAgain)
            network.proxy.refuseNewConnections();
        session = fx_.dm.conServer().backendPid();
        return test::signOnAt(fx_, "01", "pw", "早班") == SignOnResult::SignedOn;
    };
    fx_.person.answers = {false};
    if (!c.serverAnswersAgain)
        fx_.log.expected = 2;  // the engine's text by the upload, the start-up's end

    EXPECT_EQ(start(), c.serverAnswersAgain);

    EXPECT_TRUE(network.proxy.fired());
    EXPECT_EQ(fx_.person.openWaits, 0);
    if (c.serverAnswersAgain) {
        EXPECT_TRUE(fx_.person.messages.empty());
        EXPECT_EQ(fx_.state.NetMode, Online);
    } else {
        ASSERT_EQ(fx_.person.messages.size(), 1u);
        const std::string& text = fx_.person.messages[0].text;
        EXPECT_EQ(text, "启动收银系统（上传单据）时发生错误。\n"
                        "与服务器的连接中断，上传没有完成！未上传的单据仍保存在本机，下次上传时由服务器核对。");
        EXPECT_EQ(fx_.log.entries.at(0).operation, "上传单据");
        EXPECT_EQ(fx_.log.entries.at(1).operation, "启动收银系统（上传单据）");
        EXPECT_EQ(waitingBillRows(fx_.dm.conClient()), 2) << "the bill waits for the next upload";

        network.proxy.acceptNewConnections();
        network.awaitSessionEnd(session);
        fx_.person.messages.clear();
        fx_.person.answers = {false};
        windows_.onSignOn = [this] { return test::signOnAt(fx_, "01", "pw", "早班") == SignOnResult::SignedOn; };
        ASSERT_TRUE(start());
        EXPECT_TRUE(fx_.person.messages.empty());
    }
    EXPECT_EQ(waitingBillRows(fx_.dm.conClient()), 0);
    EXPECT_EQ(waitingBillRows(fx_.office.accountSet()), 2);
    EXPECT_DOUBLE_EQ(fx_.office.accountSet()
                         .query("select Quantity from D_Stock where StoreId=2 and GoodsId=101")
                         .first("Quantity")
                         .toDouble(),
                     -1);
}

const UploadCutCase kUploadCuts[] = {
    {"SaveLostServerBack", test::TcpProxy::Moment::BeforeForwarding, true},
    {"AnswerLostServerBack", test::TcpProxy::Moment::AfterForwarding, true},
    {"SaveLostServerGone", test::TcpProxy::Moment::BeforeForwarding, false},
    {"AnswerLostServerGone", test::TcpProxy::Moment::AfterForwarding, false},
};

INSTANTIATE_TEST_SUITE_P(Cuts, StartUpUploadCutTest, ::testing::ValuesIn(kUploadCuts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pos
