#pragma once

#include "widgets/window_errors.h"

#include <utility>

namespace pos::test {

// While alive, the windows hand their errors to this handler, as the program sets the
// register's; afterwards the handler of the test program (which fails the test) is back.
class WindowErrorsTo {
public:
    explicit WindowErrorsTo(WindowErrorHandler handler) : previous_(setWindowErrorHandler(std::move(handler))) {}
    ~WindowErrorsTo() { setWindowErrorHandler(std::move(previous_)); }
    WindowErrorsTo(const WindowErrorsTo&) = delete;
    WindowErrorsTo& operator=(const WindowErrorsTo&) = delete;

private:
    WindowErrorHandler previous_;
};

}  // namespace pos::test
