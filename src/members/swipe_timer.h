#pragma once

#include <cstdint>

namespace pos {

// Milliseconds of a clock that never goes back; tests set it by hand.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t milliseconds() const = 0;
};

class SteadyClock : public MonotonicClock {
public:
    std::int64_t milliseconds() const override;
};

// How fast a card number arrives in swipe-only mode, in ticks of 10 ms from the first
// character to the Enter that ends the number. Counted from the clock rather than by
// a timer's ticks, so a busy terminal cannot make a hand-typed number look swiped.
class SwipeTimer {
public:
    static constexpr int kTickMs = 10;
    static constexpr int kMaxTicks = 10000;

    explicit SwipeTimer(const MonotonicClock& clock) : clock_(clock) {}

    // The first character of a number: the count starts at 0.
    void start();
    // The Enter that ends the number: the count stops where it is.
    void stop();
    // Not counting, at 0.
    void reset();
    int ticks() const;

private:
    int ticksUntil(std::int64_t ms) const;

    const MonotonicClock& clock_;
    bool running_ = false;
    std::int64_t startedMs_ = 0;
    int stoppedTicks_ = 0;
};

}  // namespace pos
