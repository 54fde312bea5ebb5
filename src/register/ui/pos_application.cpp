#include "register/ui/pos_application.h"

#include "widgets/window_errors.h"

#include <clocale>

namespace pos {

PosApplication::PosApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Qt adopts the user's locale; amounts from the databases and POS.ini are always
    // written with a decimal point, whatever that locale says.
    std::setlocale(LC_NUMERIC, "C");
}

bool PosApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportWindowError("处理窗口事件", error);
    }
    return false;
}

}  // namespace pos
