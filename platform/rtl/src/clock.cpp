#include "rtl/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "rtl/datetime.h"

namespace rtl {

namespace {
// One thread runs the program; the test clock needs no locking.
bool g_hasTestClock = false;
TDateTime g_testClock = 0.0;

TDateTime systemNow() {
    using namespace std::chrono;
    const auto tp = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(tp);
    const auto ms = duration_cast<milliseconds>(tp.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&secs, &local);
    return encodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec > 59 ? 59 : local.tm_sec, static_cast<int>(ms < 0 ? 0 : ms));
}
}  // namespace

TDateTime now() { return g_hasTestClock ? g_testClock : systemNow(); }

TDateTime today() { return dateOf(now()); }

int currentYear() { return yearOf(now()); }

void setClockForTesting(TDateTime value) {
    g_hasTestClock = true;
    g_testClock = value;
}

void resetClock() { g_hasTestClock = false; }

ScopedTestClock::ScopedTestClock(TDateTime value) : hadClock_(g_hasTestClock), previous_(g_testClock) {
    setClockForTesting(value);
}

ScopedTestClock::~ScopedTestClock() {
    g_hasTestClock = hadClock_;
    g_testClock = previous_;
}

}  // namespace rtl
