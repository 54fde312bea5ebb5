#include "widgets/message_box.h"

#include "widgets/window_caption.h"

#include <QMessageBox>
#include <QPushButton>

namespace pos {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showMessageBox(QWidget* owner, const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), QString(), text, QMessageBox::Ok, owner);
    setWindowCaption(box, title);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool askYesNo(QWidget* owner, const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), QString(), text, QMessageBox::Yes | QMessageBox::No, owner);
    setWindowCaption(box, title);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    return box.exec() == QMessageBox::Yes;
}

}  // namespace pos
