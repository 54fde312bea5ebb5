#pragma once

#include <exception>
#include <string>

namespace pos {

struct Terminal;

enum class ErrorOutcome {
    Shown,        // shown to the person as an error naming the operation
    Reconnected,  // the server connection was lost and opened again: nothing shown
    WentOffline,  // the server is gone: the terminal now works offline; lblNetMode must follow
};

// The end of every error that no operation handled while the register runs; operation
// names what the window was running when it failed. A lost server connection in online
// mode is opened again; when that fails the person is told once and the terminal drops
// to offline mode. Every other error is shown. Each one is written to the error log.
ErrorOutcome handleRegisterError(Terminal& t, const std::string& operation, const std::exception& error);

// Shows and logs an error without looking at the server: for the start-up, which ends
// on any error instead of carrying on offline.
void reportError(Terminal& t, const std::string& operation, const std::exception& error);

}  // namespace pos
