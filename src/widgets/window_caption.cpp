#include "widgets/window_caption.h"

#include <QWidget>

namespace pos {

void setWindowCaption(QWidget& window, const QString& caption)
{
    window.setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
}

}  // namespace pos
