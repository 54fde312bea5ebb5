// Times what the cashier feels at the real register window (offscreen): from the first
// key of an input typed into the input box, as a scanner types it, with Enter, until the
// frame showing the answer is painted and flushed: the new line in the bill grid (with
// the totals), the "没有找到该商品！" box, or the pick list of goods (answered after that
// frame, outside the time). Both working modes, every lookup kind, on an empty bill,
// beside the floor of the lookup's own statements straight through libpq or SQLCipher.
//
//     bench_register_keys [--csv FILE] [goods]      (default 1000000; the test cluster as for the tests)
//
// Below 10,000 goods it runs each kind a few times and only checks that the window
// answered as it should: nothing there is a figure to read.

#include "catalogue.h"
#include "lookup_floor.h"
#include "report.h"

#include "register/new_bill.h"
#include "register/ui/frm_main.h"
#include "register/ui/qt_person.h"
#include "config/terminal.h"
#include "support/signed_on_terminal.h"
#include "support/terminal_fixture.h"
#include "support/ui/window_keys.h"
#include "widgets/window_errors.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pos::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 200;
constexpr int kWarmUp = 10;  // per kind and mode: the first statements parse and fill caches
// Below this catalogue the program checks the window's answers and times nothing.
constexpr int kTimedFrom = 10000;
constexpr int kCheckRuns = 3;
// Longest wait for a paint before the run counts as failed.
constexpr int kPaintWaitMs = 10000;

// What the window paints as its answer to an input.
enum class Answer {
    Line,      // the new line in the bill grid
    NotFound,  // the message box "没有找到该商品！"
    PickList,  // the pick list of goods; the cashier then takes its first row
};
// How the operation names begin, by answer.
constexpr const char* kAnswerNames[] = {"keys to line, ", "keys to message, ", "keys to pick list, "};

// Sees every event after it was handled. A paint the run waits for ends at the end of the
// event that painted it: the window system's update or expose of the whole window, which
// paints every widget changed and flushes the window. That moment is the frame shown.
class BenchApplication : public QApplication {
public:
    using QApplication::QApplication;

    // Whether this paint is the one waited for; called after the widget painted.
    std::function<bool(QObject* painted)> awaitedPaint;
    // Called once the frame holding that paint is complete.
    std::function<void()> frameShown;

    bool notify(QObject* receiver, QEvent* event) override
    {
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        if (event->type() == QEvent::Paint && frameAt_ < 0 && awaitedPaint && awaitedPaint(receiver))
            frameAt_ = depth_;
        // Back out of the event the awaited paint was part of (or it had none around it).
        if (frameAt_ >= 0 && (depth_ < frameAt_ || frameAt_ == 0)) {
            frameAt_ = -1;
            if (frameShown)
                frameShown();
        }
        return handled;
    }

private:
    int depth_ = 0;
    int frameAt_ = -1;  // the depth of the awaited paint until its frame is complete
};

QtMessageHandler qtMessages = nullptr;

// The offscreen platform warns of each window it cannot size by its hints: not a finding.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (qtMessages)
        qtMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

BenchApplication& app() { return *static_cast<BenchApplication*>(QCoreApplication::instance()); }

// The register window of a signed-on cashier, on the catalogue of the benchmark, with the
// person at the terminal reached through the real message boxes and pick list.
class RegisterKeys {
public:
    explicit RegisterKeys(int goods)
        : goods_(goods),
          t_{f_.settings, f_.dm, f_.state, person_, f_.clock, f_.log},
          errorsTo_(setWindowErrorHandler([this](const std::string& operation, const std::exception& error) {
              windowError_ = operation + ": " + error.what();
          }))
    {
        test::signOnAsCashier(f_.state);
        f_.state.OperatorCode = "1003";
    }
    ~RegisterKeys() { setWindowErrorHandler(std::move(errorsTo_)); }

    void fillCatalogues()
    {
        fillServerGoods(f_.office.accountSet(), goods_);
        fillLocalGoods(f_.dm.conClient(), goods_);
    }

    void open()
    {
        reg_.sale.bill = Bill::open(f_.dm.conClient());
        startNewBill(t_, reg_.sale);
        frm_.emplace(t_, reg_);
        check(test::showActive(*frm_), "the register window did not become active");
        grid_ = frm_->findChild<QTableView*>(QStringLiteral("DBGrid1"));
        input_ = frm_->findChild<QWidget*>(QStringLiteral("edtInput"));
        check(grid_ && input_, "the register window has no grid or no input box");
    }

    void measure(Report& report, WorkingMode mode, const char* modeName)
    {
        f_.state.NetMode = mode;
        // The inputs of bench_scan_and_save. The floor beside each figure holds the
        // statements the lookup issues for the same input: the keys tried in order up to
        // the one that finds, the pick list's first page, the pricing row of the goods
        // taken, each prepared once, straight through libpq or SQLCipher. Offline the scan
        // of the goods' text in memory is the terminal's own work, not in the floor; nor is
        // anything of the window: the keys, the painting, the modal windows.
        LookupFloor floor(t_.db().statements<PricingStatements>(), f_.state.StoreId);
        const bool timed = goods_ >= kTimedFrom;
        for (const LookupKind& kind : lookupKinds(goods_)) {
            const Answer answer = !kind.line ? Answer::NotFound : kind.offered > 0 ? Answer::PickList : Answer::Line;
            Measure m{modeName, std::string(kAnswerNames[static_cast<int>(answer)]) + kind.name, goods_, {}, {}};
            std::uniform_int_distribution<int> pick(kind.lowest, kind.highest);
            const int runs = timed ? kRuns : kCheckRuns;
            for (int i = 0; i < (timed ? kWarmUp : 0) + runs; ++i) {
                const int goods = pick(random_);
                const std::string input = kind.input(goods);
                const double ms = run(kind, answer, input, goods);
                const auto steps = floor.steps(kind, input, kind.line ? goods : 0);
                const auto start = Clock::now();
                floor.run(steps);
                const double floorMs = msSince(start);
                if (timed && i >= kWarmUp) {
                    m.ms.push_back(ms);
                    m.floorMs.push_back(floorMs);
                }
            }
            if (timed)
                report.add(m);
            else
                std::printf("%-8s %-48s %d runs answered as expected\n", modeName, m.operation.c_str(), runs);
        }
    }

private:
    // Types `input` and Enter into the input box on an empty bill; the milliseconds until
    // the frame holding the answer was shown. A modal answer is closed with Enter after
    // that frame, outside the time: the pick list takes its first row, the message box
    // its "确定".
    double run(const LookupKind& kind, Answer answer, const std::string& input, int goods)
    {
        clearBill();
        check(frm_->focusWidget() == input_, "the input box lost the focus");
        std::optional<Clock::time_point> shown;
        std::string wrong;         // what the answer painted showed amiss
        QWidget* modal = nullptr;  // the window of a modal answer
        QWidget* const viewport = grid_->viewport();
        QAbstractItemModel* const lines = grid_->model();
        app().awaitedPaint = [&](QObject* receiver) {
            if (answer == Answer::Line)
                return receiver == viewport && lines->rowCount() == 1;
            auto* widget = qobject_cast<QWidget*>(receiver);
            QWidget* window = widget ? widget->window() : nullptr;
            if (answer == Answer::NotFound) {
                if (!qobject_cast<QMessageBox*>(window) || widget->objectName() != "qt_msgbox_label")
                    return false;
                if (qobject_cast<QLabel*>(widget)->text() != QStringLiteral("没有找到该商品！"))
                    wrong = "the message box says " + qobject_cast<QLabel*>(widget)->text().toStdString();
            } else {
                auto* pickGrid = widget ? qobject_cast<QTableView*>(widget->parentWidget()) : nullptr;
                if (!window || !window->inherits("pos::TfrmGoodsList") || !pickGrid || pickGrid->viewport() != widget)
                    return false;
                if (pickGrid->model()->rowCount() != static_cast<int>(kind.offered)
                    || pickGrid->model()->canFetchMore({}) != kind.offeredMore)
                    wrong = "the pick list shows " + std::to_string(pickGrid->model()->rowCount()) + " rows"
                            + (pickGrid->model()->canFetchMore({}) ? " and more" : "");
            }
            modal = window;
            return true;
        };
        app().frameShown = [&] {
            shown = Clock::now();
            if (modal)
                QTimer::singleShot(0, modal, [window = modal] {
                    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Return);
                });
        };
        // Any other modal window would wait for ever: closed, and the run fails.
        QWidget* stray = nullptr;
        QTimer strayGuard;
        strayGuard.setSingleShot(true);
        QObject::connect(&strayGuard, &QTimer::timeout, [&stray] {
            stray = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(stray))
                dialog->reject();
        });
        strayGuard.start(kPaintWaitMs);

        const auto start = Clock::now();
        typeAsScanner(QString::fromStdString(input));
        QTest::keyClick(input_, Qt::Key_Return);
        while (!shown && strayGuard.isActive())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        app().awaitedPaint = nullptr;
        app().frameShown = nullptr;

        const std::string after = " after input " + input;
        check(!stray, "an unexpected window opened" + after + ": " + (stray ? stray->windowTitle().toStdString() : ""));
        check(windowError_.empty(), "the window met an error" + after + ": " + windowError_);
        check(shown.has_value(), "nothing was painted" + after);
        check(wrong.empty(), wrong + after);
        check((answer == Answer::Line) == (modal == nullptr), "no modal window answered" + after);
        // The line the answer leads to: the goods typed, or the first row of the pick list.
        const bool lineOfGoods = reg_.sale.bill.detail.size() == 1 && reg_.sale.bill.line(0).goodsId().toInt() == goods;
        const bool wantLine = answer != Answer::NotFound;
        check(wantLine ? lineOfGoods && lines->rowCount() == 1 : reg_.sale.bill.detail.empty(),
              "unexpected bill" + after);
        return std::chrono::duration<double, std::milli>(*shown - start).count();
    }

    // Each character as its own key press and release: ASCII as the key of the character,
    // anything else as a key the layout has no name for, carrying the character.
    void typeAsScanner(const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(input_, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, input_, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // The bill emptied as after a sale, painted before the next run starts.
    void clearBill()
    {
        reg_.sale.bill.detail.clear();
        reg_.sale.bill.currentLine = 0;
        reg_.sale.NextOrderId = 1;
        frm_->showLines();
        grid_->viewport()->repaint();
        QCoreApplication::processEvents();
    }

    int goods_;
    test::TerminalFixture f_;
    QtPerson person_;
    Terminal t_;
    WindowErrorHandler errorsTo_;
    std::string windowError_;
    RegisterState reg_;
    std::optional<TfrmMain> frm_;
    QTableView* grid_ = nullptr;
    QWidget* input_ = nullptr;
    std::mt19937 random_{20240315};
};

}  // namespace
}  // namespace pos::bench

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    pos::bench::qtMessages = qInstallMessageHandler(pos::bench::quietOffscreen);
    pos::bench::BenchApplication app(argc, argv);
    return pos::bench::runBenchmark(argc, argv, [](int goods, pos::bench::Report& report) {
        pos::bench::RegisterKeys bench(goods);
        bench.fillCatalogues();
        bench.open();
        bench.measure(report, pos::Online, "Online");
        bench.measure(report, pos::Offline, "Offline");
    });
}
