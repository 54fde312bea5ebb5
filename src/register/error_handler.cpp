#include "register/error_handler.h"
#include "register/statement_preparation.h"

#include "config/terminal.h"

#include <fmt/format.h>

namespace pos {
namespace {

// Only the server can be lost, and only online work uses it.
bool isLostServer(Terminal& t, const std::exception& error)
{
    auto* dbError = dynamic_cast<const DbError*>(&error);
    return dbError && t.state.NetMode == Online && (dbError->isNetworkFailure() || !t.dm.conServer().isOpen());
}

// The technical detail, after the step that failed where the error can name it.
std::string detailOf(const std::exception& error)
{
    auto* posError = dynamic_cast<const PosError*>(&error);
    if (posError && !posError->operation().empty())
        return posError->operation() + "：" + error.what();
    return error.what();
}

void log(Terminal& t, const std::string& operation, const std::exception& error)
{
    t.log.write({t.clock.now().text(), t.state.OperatorCode, operation, detailOf(error)});
}

void show(Terminal& t, const std::string& operation, const std::exception& error)
{
    t.person.message(fmt::format("{}时发生错误。\n{}", operation, detailOf(error)), "错误", MessageIcon::Error);
}

// A reopened connection counts only once its statements are prepared on it again.
bool reopenServer(PgDatabase& server)
{
    try {
        if (!server.reopen())
            return false;
        prepareServerStatements(server);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

}  // namespace

void reportError(Terminal& t, const std::string& operation, const std::exception& error)
{
    log(t, operation, error);
    show(t, operation, error);
}

ErrorOutcome handleRegisterError(Terminal& t, const std::string& operation, const std::exception& error)
{
    if (!isLostServer(t, error)) {
        reportError(t, operation, error);
        return ErrorOutcome::Shown;
    }
    log(t, operation, error);
    if (reopenServer(t.dm.conServer()))
        return ErrorOutcome::Reconnected;
    t.person.message("网络故障！，系统自动切换到『断网销售』模式。", "提示", MessageIcon::Information);
    t.dm.switchWorkingMode(t.state);
    return ErrorOutcome::WentOffline;
}

}  // namespace pos
