#pragma once

#include <exception>
#include <functional>
#include <string>

namespace pos {

// Where windows hand the errors their logic raises: the register's error handler, set
// once by the program before the first window opens. No exception may cross Qt's event
// dispatch, so every window catches at the place it calls the logic.
using WindowErrorHandler = std::function<void(const std::string& operation, const std::exception& error)>;

// Sets the handler; returns the one it replaces.
WindowErrorHandler setWindowErrorHandler(WindowErrorHandler handler);
// Hands the error to the handler; with none set, writes it to the standard error.
void reportWindowError(const std::string& operation, const std::exception& error);

// Runs an action of a window, named as the person would name it. An error it raises is
// reported and goes no further. True when the action completed.
template <class Action>
bool guarded(const char* operation, Action&& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        reportWindowError(operation, error);
    }
    return false;
}

}  // namespace pos
