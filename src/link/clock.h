#pragma once

// A local wall-clock reading, fractions of a second dropped.
struct LocalDateTime {
    int year = 2000;  // full year, e.g. 2024
    int month = 1;    // 1-12
    int day = 1;      // 1-31
    int hour = 0;     // 0-23
    int minute = 0;   // 0-59
    int second = 0;   // 0-59 (60 on a leap second)
};

// Source of the local time; tests pass a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

// The user's local time as the operating system reports it.
class SystemClock final : public Clock {
public:
    LocalDateTime Now() const override;
};
