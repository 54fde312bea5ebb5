#include "register/ui/pos_application.h"

namespace pos {

bool PosApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (handler_)
            handler_(error);
    }
    return false;
}

}  // namespace pos
