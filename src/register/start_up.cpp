#include "register/start_up.h"
#include "register/statement_preparation.h"

#include "config/enrollment.h"
#include "base/number_format.h"
#include "register/error_handler.h"
#include "register/new_bill.h"
#include "register/register_statements.h"
#include "register/server_options.h"
#include "register/store_lookup.h"
#include "config/terminal.h"
#include "storage/master_data_download.h"
#include "storage/offline_bill_upload.h"

#include <cstdint>
#include <optional>

namespace pos {
namespace {

constexpr const char* kNoPosStore = "没有设置POS机销售仓库！请在后台仓库资料中设置。";

// An integer setting that names a row; nullopt when it is empty or not an int.
std::optional<int> idOption(const Settings& settings, const std::string& key)
{
    long long id = 0;
    if (!parseInt(settings.option(key), id) || id < INT32_MIN || id > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(id);
}

class StartUpSequence {
public:
    StartUpSequence(Terminal& t, StartupWindows& windows, RegisterState& reg)
        : t_(t), s_(t.state), windows_(windows), reg_(reg)
    {
    }

    // An error no step expects (an unreadable SeleStore, a server lost during the
    // download) is shown and logged with the step it broke, and ends the start-up: a
    // half-done start-up has no working mode to fall back on.
    bool run();

private:
    struct Step {
        const char* name;  // as the cashier reads it when the step fails
        bool (StartUpSequence::*run)();
    };
    static const Step kSteps[];

    bool fail(const std::string& text)
    {
        t_.person.message(text, "错误", MessageIcon::Error);
        return false;
    }

    bool haveServerLogin()
    {
        const ServerLogin login = t_.settings.serverLogin();
        if (!login.serverName.empty() && !login.loginName.empty())
            return true;
        return windows_.connectToServer();
    }

    bool openLocal()
    {
        if (!t_.dm.openLocalDatabase())
            return fail("不能与本地数据连接！");
        prepareLocalStatements(t_.dm.conClient());
        return true;
    }

    // A server that does not answer leaves the terminal offline; the person decides later.
    bool connectServer()
    {
        if (!t_.dm.connectToServer(t_.settings.serverLogin(), t_.dm.registryDatabase()))
            return true;
        const auto accountSet = t_.dm.selectAccountSet();
        if (!accountSet)
            return fail("无法取得帐套信息！");
        s_.NetMode = t_.dm.switchDatabase(accountSet->dbName) ? Online : Offline;
        if (s_.NetMode == Online)
            prepareServerStatements(t_.dm.conServer());
        s_.StoreId = 0;
        t_.settings.setSeleStore(accountSet->seleStore);
        return accountSet->seleStore || takePosStore() || fail(kNoPosStore);
    }

    // A MachineId that is not a number names no PosMachine row: such a terminal is not
    // enrolled, and enrolling writes a proper one.
    bool enrolled()
    {
        if (idOption(t_.settings, "MachineId") && isEnrolled(t_.settings, t_.dm, s_.NetMode))
            return true;
        if (s_.NetMode == Online)
            return windows_.enrolMachine();
        return fail("无法连接到服务器,注册POS机失败！");
    }

    bool acceptOffline()
    {
        return s_.NetMode == Online
            || t_.person.ask("无法连接到服务器！现在只能进入『断网销售』模式。 \r\n您想进入『断网销售』模式吗？", "提示");
    }

    bool openBill()
    {
        reg_.sale.bill = Bill::open(t_.dm.conClient());
        return true;
    }

    // Only a warning: the cashier may go on with a wrong clock.
    bool checkDate()
    {
        if (s_.NetMode == Online && t_.dm.serverTime(Online).dateText() != t_.clock.now().dateText())
            t_.person.message("该收银机的日期与服务器的日期不相同！，请校对时间。", "", MessageIcon::Information);
        return true;
    }

    bool fixStore()
    {
        const std::optional<bool> seleStore = t_.settings.seleStore();
        if (!seleStore)
            return fail("无法进入『断网销售』模式，因为有些基本料还未下载到本地。\r\n"
                        "请进入『连网销售』模式，系统会自动从服务器上下载基本资料并配置该POS机。");
        if (!*seleStore)
            return takePosStore() || fail(kNoPosStore);
        if (const auto fixed = idOption(t_.settings, "FixStoreId")) {
            const Store store = GetStoreById(t_.db().statements<RegisterStatements>(), *fixed).value_or(Store{});
            s_.StoreId = *fixed;
            s_.StoreCode = store.code;
            s_.StoreName = store.name;
        }
        return true;
    }

    bool takePosStore()
    {
        const std::optional<Store> store = GetPosStore(t_.db().statements<RegisterStatements>());
        if (store)
            sellFrom(s_, *store);
        return store.has_value();
    }

    bool signOn() { return windows_.signOn(); }

    bool loadServerOptions()
    {
        if (s_.NetMode == Online)
            LoadServerOptions(t_);
        return true;
    }

    bool downloadFromServer()
    {
        if (s_.NetMode != Online)
            return true;
        auto& server = t_.dm.conServer().statements<DownloadStatements>();
        downloadMasterData(server, t_.dm.conClient(), t_.person, s_.StoreId, false);
        if (t_.person.ask("是否从服务器下载货品资料到本地？", "提示", MessageIcon::Information))
            downloadMasterData(server, t_.dm.conClient(), t_.person, s_.StoreId, true);
        return true;
    }

    bool uploadWaitingBills()
    {
        if (s_.NetMode == Online)
            UploadOfflineBills(t_.dm, s_, t_.person, t_.clock, t_.log);
        return true;
    }

    bool readMachine()
    {
        s_.MachineId = idOption(t_.settings, "MachineId").value_or(0);
        const Machine machine = GetMachine(t_.db().statements<RegisterStatements>(), s_.MachineId);
        s_.MachineCode = machine.code;
        s_.MachineName = machine.name;
        return true;
    }

    bool readAmountSettings()
    {
        s_.Digit = t_.settings.optionInt("Digit", 2);
        s_.PointRate = t_.settings.optionInt("PointRate", 1);
        s_.NotPointSP = t_.settings.optionYes("NotPointSP");
        s_.NotPointLP = t_.settings.optionYes("NotPointLP");
        s_.NotPointIP = t_.settings.optionYes("NotPointIP");
        return true;
    }

    bool startFirstBill()
    {
        startNewBill(t_, reg_.sale);
        return true;
    }

    Terminal& t_;
    TPosState& s_;
    StartupWindows& windows_;
    RegisterState& reg_;
};

const StartUpSequence::Step StartUpSequence::kSteps[] = {
    {"读取服务器连接设置", &StartUpSequence::haveServerLogin},
    {"打开本地数据库", &StartUpSequence::openLocal},
    {"连接服务器", &StartUpSequence::connectServer},
    {"检查POS机注册", &StartUpSequence::enrolled},
    {"选择工作模式", &StartUpSequence::acceptOffline},
    {"打开单据", &StartUpSequence::openBill},
    {"核对服务器日期", &StartUpSequence::checkDate},
    {"登录", &StartUpSequence::signOn},
    {"确定销售仓库", &StartUpSequence::fixStore},
    {"读取后台选项", &StartUpSequence::loadServerOptions},
    {"下载基本资料", &StartUpSequence::downloadFromServer},
    // The waiting bills earn their points by the rate and no-point flags just copied.
    {"读取金额设置", &StartUpSequence::readAmountSettings},
    {"上传单据", &StartUpSequence::uploadWaitingBills},
    {"读取收银机资料", &StartUpSequence::readMachine},
    {"开始第一张单据", &StartUpSequence::startFirstBill},
};

bool StartUpSequence::run()
{
    s_.NetMode = Offline;
    s_.IniFileName = t_.settings.path();
    for (const Step& step : kSteps) {
        try {
            if (!(this->*step.run)())
                return false;
        } catch (const std::exception& e) {
            reportError(t_, std::string("启动收银系统（") + step.name + "）", e);
            return false;
        }
    }
    return true;
}

}  // namespace

bool StartUp(Terminal& t, StartupWindows& windows, RegisterState& reg)
{
    return StartUpSequence(t, windows, reg).run();
}

}  // namespace pos
