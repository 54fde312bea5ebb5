#pragma once

#include <QString>
#include <QWidget>
#include <Qt>

#include <gtest/gtest.h>

namespace pos::test {

// Shows the window and makes it the active one, as the keyboard rules of the windows
// only apply to the active window. False when it did not become active.
bool showActive(QWidget& window);

// Keys as the keyboard delivers them: to the control of the window that has the focus.
void press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(QWidget& window, const QString& text);

// The control of the window with this object name; a failure of the test when there is none.
template <class W>
W* control(QWidget& window, const char* name)
{
    W* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace pos::test
