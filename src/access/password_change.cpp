#include "access/password_change.h"

#include "access/access_statements.h"
#include "db/password_hash.h"

namespace pos {

void ChangePassword(TDM& dm, WorkingMode netMode, Person& person, const std::string& code,
                    const std::string& newPassword)
{
    if (netMode != Online) {
        person.message("修改密码需要在『连网销售』模式下进行！请切换到『连网销售』模式再修改密码。", "提示",
                       MessageIcon::Information);
        return;
    }
    // Hashed first: nothing is written when the hash cannot be made.
    const std::string localForm = hashPassword(newPassword);
    dm.conServer().statements<AccessStatements>().setPassword.execute({newPassword, code});
    dm.conClient().statements<AccessStatements>().setPassword.execute({localForm, code});
    person.message("修改密码成功！", "提示", MessageIcon::Information);
}

}  // namespace pos
