#include "register/error_handler.h"

#include "config/terminal.h"

namespace pos {
namespace {

// Only the server can be lost, and only online work uses it.
bool isLostServer(Terminal& t, const std::exception& error)
{
    auto* dbError = dynamic_cast<const DbError*>(&error);
    return dbError && t.state.NetMode == Online && (dbError->isNetworkFailure() || !t.dm.conServer().isOpen());
}

}  // namespace

ErrorOutcome handleRegisterError(Terminal& t, const std::exception& error)
{
    if (!isLostServer(t, error))
        return ErrorOutcome::Ignored;
    if (t.dm.conServer().reopen())
        return ErrorOutcome::Reconnected;
    t.person.message("网络故障！，系统自动切换到『断网销售』模式。", "提示", MessageIcon::Information);
    t.dm.switchWorkingMode(t.state);
    return ErrorOutcome::WentOffline;
}

}  // namespace pos
