#include "register/ui/qt_startup_windows.h"

#include "access/ui/frm_login.h"
#include "config/ui/frm_connect_to_server.h"
#include "config/ui/frm_reg_machine.h"
#include "config/terminal.h"

namespace pos {

bool QtStartupWindows::connectToServer()
{
    TfrmConnectToServer dialog(t_.settings, t_.dm.registryDatabase());
    dialog.setPerson(&t_.person);
    return dialog.exec() == QDialog::Accepted;
}

bool QtStartupWindows::enrolMachine()
{
    TfrmRegMachine dialog(t_.settings, t_.dm.conServer(), t_.person);
    dialog.exec();
    return dialog.enrolled();
}

bool QtStartupWindows::signOn()
{
    TfrmLogin dialog(t_.dm, t_.state, t_.person);
    dialog.exec();
    return dialog.succeeded();
}

}  // namespace pos
