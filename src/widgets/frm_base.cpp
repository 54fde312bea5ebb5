#include "widgets/frm_base.h"

#include <QAbstractItemView>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace pos {

TfrmBase::TfrmBase(QWidget* parent) : QDialog(parent)
{
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    setFont(f);
    // Key preview: the window sees keys before the focused control.
    qApp->installEventFilter(this);
}

bool TfrmBase::eventFilter(QObject* watched, QEvent* event)
{
    // Keys reach only the window holding the keyboard: being this window's control is
    // enough, also where no window manager makes the window active.
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && baseKeyDown(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmBase::baseKeyDown(QKeyEvent* event)
{
    QWidget* focus = focusWidget();
    const bool inList = qobject_cast<QComboBox*>(focus) || qobject_cast<QAbstractItemView*>(focus);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (qobject_cast<QAbstractButton*>(focus))
            return false;  // a focused button is pressed by Enter
        focusNextChild();
        return true;
    case Qt::Key_Up:
        if (inList)
            return false;
        focusPreviousChild();
        return true;
    case Qt::Key_Down:
        if (inList)
            return false;
        focusNextChild();
        return true;
    default:
        return false;
    }
}

void TfrmBase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pos
