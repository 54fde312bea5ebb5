#include "register/ui/line_grid.h"

#include <QApplication>

namespace pos {

QWidget* LineGrid::openEditor() const
{
    QWidget* focus = QApplication::focusWidget();
    return state() == EditingState && focus && viewport()->isAncestorOf(focus) ? focus : nullptr;
}

void LineGrid::commitEditor()
{
    if (QWidget* editor = openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void LineGrid::cancelEditor()
{
    if (QWidget* editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool LineGrid::holds(const QWidget* widget) const { return widget && (widget == this || isAncestorOf(widget)); }

}  // namespace pos
