#pragma once

#include "base/clock.h"

#include <gtest/gtest.h>
#include <string>

namespace pos {
class Database;
}

namespace pos::test {

// The back office's clock read before and after a step of a test. What the step took
// for the server's "now" lies between the two reads, even when a midnight falls in
// between; a test that compares a server date read at one moment with one read at
// another holds only on a span within one day.
class ServerClockSpan {
public:
    explicit ServerClockSpan(Database& server);  // the read before

    void end();  // the read after
    const DateTime& before() const { return before_; }
    const DateTime& after() const { return after_; }
    bool crossedMidnight() const { return before_.date() != after_.date(); }

    // Success when t (a time or its text, as a bill keeps it) lies between the two reads.
    ::testing::AssertionResult holds(const DateTime& t) const;
    ::testing::AssertionResult holds(const std::string& text) const;

private:
    DateTime read();

    Database& server_;
    DateTime before_;
    DateTime after_;
};

}  // namespace pos::test
