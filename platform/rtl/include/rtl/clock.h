// The program's one source of "today" and "now", replaceable in tests.
#pragma once

#include "rtl/types.h"

namespace rtl {

// The current local date and time (or the test clock when one is set).
TDateTime now();

// The date part of now(): midnight of the current day.
TDateTime today();

// The current year of the clock (used by the two-digit year window).
int currentYear();

// From now on now() returns `value` and today() its date, until resetClock().
void setClockForTesting(TDateTime value);

// Back to the system clock.
void resetClock();

// Sets the test clock for the lifetime of the object, restoring the previous
// state (system clock or an earlier test clock) on destruction.
class ScopedTestClock {
public:
    explicit ScopedTestClock(TDateTime value);
    ~ScopedTestClock();
    ScopedTestClock(const ScopedTestClock&) = delete;
    ScopedTestClock& operator=(const ScopedTestClock&) = delete;

private:
    bool hadClock_;
    TDateTime previous_;
};

}  // namespace rtl
