#include "access/password_change.h"

#include "access/access_statements.h"
#include "access/operators.h"
#include "db/password_hash.h"

namespace pos {
namespace {

constexpr const char* kLocalNotWritten =
    "新密码没有保存：本机的密码写入失败，服务器上的密码没有修改，请继续使用原密码。";
constexpr const char* kServerRefused = "新密码没有保存：服务器没能提交修改，本机的密码已恢复，请继续使用原密码。";
constexpr const char* kServerUnknown =
    "提交新密码时与服务器的连接中断，不能确定服务器上是否已改为新密码；本机的密码已恢复为原密码。";
constexpr const char* kSidesDiffer =
    "服务器没能提交新密码，本机的密码也没能恢复：连网时请使用原密码，断网时请使用新密码。";

// The person reads what happened; the log keeps it with the engine's reason, never the
// password.
void tellFailure(const PasswordChangeContext& c, const char* what, const DbError& error, const std::string& password)
{
    c.person.message(what, "错误", MessageIcon::Error);
    c.log.write({c.clock.now().text(), c.state.OperatorCode, "修改密码",
                 std::string(what) + " " + masked(error.what(), password)});
}

// Puts the local hashes of the operators of the code back as they were; false when the
// local file refuses.
bool restoreLocalPasswords(Database& local, const std::vector<OperatorRecord>& before)
{
    try {
        Transaction transaction(local);
        for (const OperatorRecord& op : before)
            local.statements<AccessStatements>().restorePassword(op.id, op.password);
        transaction.commit();
        return true;
    } catch (const DbError&) {
        return false;
    }
}

}  // namespace

void ChangePassword(const PasswordChangeContext& c, const std::string& code, const std::string& newPassword)
{
    if (c.state.NetMode != Online) {
        c.person.message("修改密码需要在『连网销售』模式下进行！请切换到『连网销售』模式再修改密码。", "提示",
                         MessageIcon::Information);
        return;
    }
    // Hashed first: nothing is written when the hash cannot be made.
    const std::string localForm = hashPassword(newPassword);
    Database& local = c.dm.conClient();
    const std::vector<OperatorRecord> before = local.statements<AccessStatements>().operatorsWithCode(code);
    // The server's change stays uncommitted until the local copy holds the new password.
    Transaction serverChange(c.dm.conServer());
    c.dm.conServer().statements<AccessStatements>().setPassword(code, newPassword);
    try {
        local.statements<AccessStatements>().setPassword(code, localForm);
    } catch (const DbError& error) {
        tellFailure(c, kLocalNotWritten, error, newPassword);
        return;
    }
    try {
        serverChange.commit();
    } catch (const DbError& error) {
        const char* what = !restoreLocalPasswords(local, before) ? kSidesDiffer
                           : error.isNetworkFailure()            ? kServerUnknown
                                                                  : kServerRefused;
        tellFailure(c, what, error, newPassword);
        return;
    }
    c.person.message("修改密码成功！", "提示", MessageIcon::Information);
}

}  // namespace pos
