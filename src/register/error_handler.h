#pragma once

#include <exception>

namespace pos {

struct Terminal;

enum class ErrorOutcome {
    Ignored,      // not a lost server: nothing shown, work goes on
    Reconnected,  // the server connection was lost and opened again: nothing shown
    WentOffline,  // the server is gone: the terminal now works offline; lblNetMode must follow
};

// The end of every error that no operation handled while the register runs. A lost
// server connection in online mode is opened again; when that fails the person is told
// once and the terminal drops to offline mode. Every other error is dropped silently.
ErrorOutcome handleRegisterError(Terminal& t, const std::exception& error);

}  // namespace pos
