#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace pos {

// The application object: an error that leaves an event handler unhandled is given to
// the register's error handler instead of ending the program.
class PosApplication : public QApplication {
public:
    using ErrorHandler = std::function<void(const std::exception&)>;

    PosApplication(int& argc, char** argv);

    void setErrorHandler(ErrorHandler handler) { handler_ = std::move(handler); }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorHandler handler_;
};

}  // namespace pos
