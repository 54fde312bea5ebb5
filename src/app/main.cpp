#include "base/clock.h"
#include "base/file_error_log.h"
#include "config/data_module.h"
#include "config/settings.h"
#include "config/terminal_dir.h"
#include "base/pos_state.h"
#include "base/register_state.h"
#include "register/start_up.h"
#include "config/terminal.h"
#include "register/ui/frm_main.h"
#include "register/ui/pos_application.h"
#include "register/ui/qt_person.h"
#include "register/ui/qt_startup_windows.h"
#include "widgets/window_errors.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    pos::PosApplication app(argc, argv);
    const std::string dir = pos::terminalDirectory();
    pos::Settings settings{pos::IniFile(dir + "POS.ini")};
    pos::QtPerson person;
    pos::SystemClock clock;
    pos::FileErrorLog log(dir + "pos.log");
    pos::TDM dm(settings, person, clock, dir + "POS.mdb");
    pos::TPosState state;
    pos::Terminal terminal{settings, dm, state, person, clock, log};
    pos::RegisterState reg;

    pos::TfrmMain frmMain(terminal, reg);
    // Set before the start-up opens its dialogs: their errors end here as well.
    pos::setWindowErrorHandler([&frmMain](const std::string& operation, const std::exception& error) {
        frmMain.handleError(operation, error);
    });

    pos::QtStartupWindows windows(terminal);
    if (!pos::StartUp(terminal, windows, reg))
        return EXIT_FAILURE;
    frmMain.showMaximized();
    return app.exec();
}
