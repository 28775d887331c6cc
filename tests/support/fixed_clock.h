#pragma once

#include "link/clock.h"

// A clock that always reads the same local time; tests set it as they need.
class FixedClock final : public Clock {
public:
    FixedClock() = default;
    explicit FixedClock(const LocalDateTime& time) : time_(time) {}

    LocalDateTime Now() const override { return time_; }
    void Set(const LocalDateTime& time) { time_ = time; }

private:
    LocalDateTime time_{2024, 3, 5, 14, 7, 9};
};
