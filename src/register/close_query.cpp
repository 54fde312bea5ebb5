#include "register/close_query.h"
#include "register/register_statements.h"

#include "config/terminal.h"
#include "register/error_handler.h"
#include "storage/offline_bill_upload.h"

namespace pos {

bool registerCloseQuery(Terminal& t)
{
    if (!t.person.ask("你真的要退出系统吗？", ""))
        return false;
    const auto waiting = countWaitingBills(t.dm.conClient().statements<RegisterStatements>());
    if (waiting > 0 && t.person.ask("本机有单据未上传，您要上传到服务器吗？", "")) {
        if (t.state.NetMode == Offline && !t.dm.switchWorkingMode(t.state)) {
            t.person.message("上传数据失败！", "提示", MessageIcon::Information);
            return true;
        }
        // The window closes all the same: the bills that did not go wait for the next start.
        try {
            UploadOfflineBills(t.dm, t.state, t.person, t.clock, t.log);
        } catch (const std::exception& error) {
            handleRegisterError(t, "上传单据", error);
        }
    }
    return true;
}

}  // namespace pos
