#pragma once
// Time.  MilliSecs is the monotonic millisecond clock every timing decision
// reads; tests replace it with a clock of their own.

#include <cstdint>
#include <functional>
#include <string>

namespace plat {

// Milliseconds since the layer started, as a wrapping 32-bit Int.
int MilliSecs();
// The same clock without the wrap, for code that measures long spans.
std::int64_t MilliSecs64();

// Replaces the clock (tests); an empty function restores the real one.
// The function returns milliseconds as a 64-bit count.
void SetClockSource(std::function<std::int64_t()> source);

// A clock a test drives by hand: installed by the constructor, removed by
// the destructor.  Delay() and waits advance it instead of sleeping.
class ManualClock {
public:
    explicit ManualClock(std::int64_t start = 0);
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    void Advance(std::int64_t ms) { now_ += ms; }
    void Set(std::int64_t ms) { now_ = ms; }
    std::int64_t Now() const { return now_; }

private:
    std::int64_t now_;
};

// True while a ManualClock is installed (waits then advance it, not sleep).
bool ClockIsManual();
// Moves a ManualClock on by ms; no effect on the real clock.
void AdvanceManualClock(std::int64_t ms);

// Sleeps without pumping events (see Delay in sys/events.h for the pumping
// version the game uses).
void SleepMs(int ms);

// "23 Apr 2010" (two-digit day) and "14:05:09", local time.
std::string CurrentDate();
std::string CurrentTime();

}  // namespace plat
