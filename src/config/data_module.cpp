#include "config/data_module.h"

#include "config/config_statements.h"
#include "db/local_schema.h"

#include <string_view>

namespace pos {

namespace {
// Every terminal opens its local file with the same key; it is never shown or stored.
constexpr const char* kLocalKey = "730418";
}  // namespace

TDM::TDM(const Settings& settings, Person& person, const Clock& clock, std::string localPath,
         std::string registryDatabase)
    : settings_(settings), person_(person), clock_(clock), localPath_(std::move(localPath)),
      registry_(std::move(registryDatabase))
{
}

bool TDM::openLocalDatabase()
{
    if (!client_.open(localPath_, kLocalKey))
        return false;
    try {
        migrateLocalSchema(client_);
    } catch (const DbError&) {
        client_.close();
        return false;
    }
    return true;
}

bool TDM::connectToServer(const ServerLogin& login, const std::string& database)
{
    auto wait = person_.pleaseWait("正在与服务器建立连接，请稍后...");
    return server_.open(login, database);
}

bool TDM::switchDatabase(const std::string& database)
{
    if (server_.isOpen() && server_.databaseName() == database)
        return true;
    return server_.useDatabase(database);
}

std::optional<AccountSetChoice> TDM::selectAccountSet()
{
    auto fail = [this](const char* text) -> std::optional<AccountSetChoice> {
        person_.message(text, "错误", MessageIcon::Error);
        return std::nullopt;
    };
    std::optional<PosAccountSet> set;
    try {
        set = readPosAccountSet(server_.statements<RegistryStatements>());
    } catch (const DbError& error) {
        // Not the same as a registry without a terminal account set: the server's text says why.
        person_.message(std::string("读取POS帐套失败！\n") + error.what(), "错误", MessageIcon::Error);
        return std::nullopt;
    }
    if (!set)
        return fail("没有找到POS帐套！请在服务器设置POS帐套。");
    AccountSetChoice choice;
    choice.dbName = set->dbName;
    if (!switchDatabase(choice.dbName))
        return fail("无法连接到POS帐套！");
    std::optional<bool> seleStore;
    try {
        seleStore = readSeleStore(server_.statements<ServerStatements>(), set->accountId);
    } catch (const DbError&) {
        return fail("打开S_AccountInfo表失败！");
    }
    if (!seleStore)
        return fail("没有找到POS帐套参数！");
    choice.seleStore = *seleStore;
    return choice;
}

bool TDM::switchWorkingMode(TPosState& state)
{
    if (state.NetMode == Online) {
        state.NetMode = Offline;
        return true;
    }
    server_.close();
    const char* error = nullptr;
    std::optional<AccountSetChoice> choice;
    if (!connectToServer(settings_.serverLogin(), registry_))
        error = "无法与服务器建立连接！";
    else if (!(choice = selectAccountSet()))
        error = "无法取得帐套信息！";
    else if (!switchDatabase(choice->dbName))
        error = "无法与数据库建立连接！";
    if (error) {
        person_.message(std::string(error) + " 切换到『连网销售』模式失败。", "提示", MessageIcon::Information);
        return false;
    }
    state.NetMode = Online;
    return true;
}

DateTime TDM::serverTime(WorkingMode netMode)
{
    if (netMode != Online)
        return clock_.now();
    if (auto t = readServerTime(server_.statements<ServerStatements>()))
        return *t;
    throw DbError("unreadable server time");
}

}  // namespace pos
