#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <source_location>

namespace pos::test {

// Acts on the next modal dialog once it is open and active, polling from the event loop
// that the code under test runs while its dialog is up. The poller belongs to the test's
// frame: declared after the locals its action uses, it stops with them, so the action
// never runs on a frame that is gone. It fails the test, attributed to where it was made,
// when no dialog opened by the time it goes out of scope, when none opened within the
// bound while an event loop ran (that dialog, if any, is closed so the test goes on), and
// when the dialog acted on stays open for the bound after the action.
class DialogPoller {
public:
    using Act = std::function<void(QWidget& dialog)>;
    static constexpr std::chrono::milliseconds kBound{5000};

    [[nodiscard]] explicit DialogPoller(Act act, std::chrono::milliseconds bound = kBound,
                                        std::source_location where = std::source_location::current());
    ~DialogPoller();
    DialogPoller(const DialogPoller&) = delete;
    DialogPoller& operator=(const DialogPoller&) = delete;

    bool acted() const { return acted_; }

private:
    void poll();
    void waitForDialog();
    void watchDialog();
    void fail(const char* what);

    Act act_;
    std::chrono::milliseconds bound_;
    std::source_location where_;
    QPointer<QWidget> alreadyOpen_;  // the modal window up when polling began is not the one awaited
    QPointer<QWidget> dialog_;       // the dialog acted on, until it closes
    QElapsedTimer since_;
    QTimer timer_;
    bool acted_ = false;
    bool failed_ = false;
};

}  // namespace pos::test
