#pragma once

#include <cstdlib>
#include <string>

namespace pos::test {

// PATH for the time of a test.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& path) : old_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", old_.c_str(), 1); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    std::string old_;
};

}  // namespace pos::test
