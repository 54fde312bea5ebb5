#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace pos::test {

// Shows the window and makes it the active one, as the keyboard rules of the windows
// only apply to the active window. False when it did not become active.
bool showActive(QWidget& window);

// Keys as the keyboard delivers them: to the control of the window that has the focus.
void press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(QWidget& window, const QString& text);

}  // namespace pos::test
