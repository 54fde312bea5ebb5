#include "support/ui/window_system_queue.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

// Qt's window-system interface, as libQt6Gui exports it; its header belongs to Qt's
// platform plugins and is not installed. Only the one call the tests need is declared.
class Q_GUI_EXPORT QWindowSystemInterface {
public:
    struct AsynchronousDelivery;
    template <typename Delivery>
    static bool handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                               const QString& text, bool autorepeat, ushort count);
};

namespace pos::test {

void queueKeyPress(QWidget& window, Qt::Key key, const QString& text)
{
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window.windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, text, false, 1);
}

}  // namespace pos::test
