#include "widgets/frm_wait_show.h"

#include "widgets/window_caption.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace pos {

TfrmWaitShow::TfrmWaitShow(QWidget* parent) : TfrmBase(parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowCaption(*this, QString());
    setFixedSize(313, 53);
    auto* indicator = new QProgressBar(this);
    indicator->setObjectName(QStringLiteral("aniSearch"));
    indicator->setRange(0, 0);  // no end: the style animates it as work in progress
    indicator->setTextVisible(false);
    indicator->setFixedWidth(60);
    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(indicator);
    layout->addWidget(lblMessage_, 1);
}

void TfrmWaitShow::showMessage(const QString& text)
{
    lblMessage_->setText(text);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
}

}  // namespace pos
