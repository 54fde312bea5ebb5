#include "widgets/window_errors.h"

#include <cstdio>
#include <utility>

namespace pos {
namespace {

WindowErrorHandler& currentHandler()
{
    static WindowErrorHandler handler;
    return handler;
}

}  // namespace

WindowErrorHandler setWindowErrorHandler(WindowErrorHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

void reportWindowError(const std::string& operation, const std::exception& error)
{
    if (currentHandler())
        currentHandler()(operation, error);
    else
        std::fprintf(stderr, "%s: %s\n", operation.c_str(), error.what());
}

}  // namespace pos
