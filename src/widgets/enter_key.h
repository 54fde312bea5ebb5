#pragma once

#include <QKeyEvent>

namespace pos {

// Enter on the main keyboard or on the keypad: cashiers and scanners use either.
inline bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace pos
