#include "support/ui/window_keys.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace pos::test {
namespace {

QWidget* keyTarget(QWidget& window)
{
    QWidget* focus = window.focusWidget();
    return focus ? focus : &window;
}

}  // namespace

bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(keyTarget(window), key, modifiers);
}

void type(QWidget& window, const QString& text)
{
    QTest::keyClicks(keyTarget(window), text);
}

}  // namespace pos::test
