#include "support/ui/dialog_poller.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

namespace pos::test {
namespace {

constexpr int kPollMs = 10;

void closeWindow(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window))
        dialog->reject();
    else
        window.close();
}

}  // namespace

DialogPoller::DialogPoller(Act act, std::chrono::milliseconds bound, std::source_location where)
    : act_(std::move(act)), bound_(bound), where_(where), alreadyOpen_(QApplication::activeModalWidget())
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    since_.start();
    timer_.start(kPollMs);
}

DialogPoller::~DialogPoller()
{
    timer_.stop();
    if (!acted_ && !failed_)
        fail("no dialog opened");
}

void DialogPoller::poll()
{
    if (acted_)
        watchDialog();
    else
        waitForDialog();
}

void DialogPoller::waitForDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    const bool opened = modal && modal != alreadyOpen_;
    if (opened && modal->isActiveWindow()) {
        timer_.stop();
        acted_ = true;
        dialog_ = modal;
        act_(*modal);
        since_.restart();
        if (dialog_ && dialog_->isVisible())
            timer_.start(kPollMs);
        return;
    }
    if (since_.elapsed() < bound_.count())
        return;
    timer_.stop();
    fail(opened ? "the dialog opened but did not become active within the bound"
                : "no dialog opened within the bound");
    if (opened)
        closeWindow(*modal);
}

void DialogPoller::watchDialog()
{
    if (!dialog_ || !dialog_->isVisible()) {
        timer_.stop();
        return;
    }
    if (since_.elapsed() < bound_.count())
        return;
    timer_.stop();
    fail("the dialog stayed open after the action");
    closeWindow(*dialog_);
}

void DialogPoller::fail(const char* what)
{
    failed_ = true;
    ADD_FAILURE_AT(where_.file_name(), static_cast<int>(where_.line())) << what;
}

}  // namespace pos::test
