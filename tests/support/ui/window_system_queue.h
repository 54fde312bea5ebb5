#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace pos::test {

// A key press as the window system queues it for the window's focused control: it
// waits in the queue until an event loop takes user input again, as keys typed while
// the register is busy do.
void queueKeyPress(QWidget& window, Qt::Key key, const QString& text);

}  // namespace pos::test
