#pragma once

#include "base/clock.h"

namespace pos::test {

class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime t = {2024, 3, 15, 10, 30, 0}) : t_(t) {}
    DateTime now() const override { return t_; }
    void set(DateTime t) { t_ = t; }

private:
    DateTime t_;
};

}  // namespace pos::test
