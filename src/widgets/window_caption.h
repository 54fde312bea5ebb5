#pragma once

#include <QString>

class QWidget;

namespace pos {

// Sets a window's title. An empty title is handed on as a blank: the window system would
// show the program's name in place of an empty one.
void setWindowCaption(QWidget& window, const QString& caption);

}  // namespace pos
