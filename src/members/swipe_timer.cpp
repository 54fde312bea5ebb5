#include "members/swipe_timer.h"

#include <algorithm>
#include <chrono>

namespace pos {

std::int64_t SteadyClock::milliseconds() const
{
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SwipeTimer::start()
{
    running_ = true;
    startedMs_ = clock_.milliseconds();
    stoppedTicks_ = 0;
}

void SwipeTimer::stop()
{
    if (running_)
        stoppedTicks_ = ticksUntil(clock_.milliseconds());
    running_ = false;
}

void SwipeTimer::reset()
{
    running_ = false;
    stoppedTicks_ = 0;
}

int SwipeTimer::ticks() const { return running_ ? ticksUntil(clock_.milliseconds()) : stoppedTicks_; }

int SwipeTimer::ticksUntil(std::int64_t ms) const
{
    const std::int64_t elapsed = std::max<std::int64_t>(0, ms - startedMs_);
    return static_cast<int>(std::min<std::int64_t>(elapsed / kTickMs, kMaxTicks));
}

}  // namespace pos
