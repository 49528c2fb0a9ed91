#pragma once
// The event queue, the pump, hooks and timers.
//
// Everything runs on the main thread.  The pump (PumpEvents) turns window
// system events into queue events, updates the polled input tables of
// input.h, and checks the timers: a timer whose tick is due emits a
// EVENT_TIMERTICK event to the hooks.  The pump runs inside PollEvent,
// FlushEvent, PollSystem, Delay, WaitTimer, Flip and the polled input
// queries, so timer hooks (the music refill) keep running during waits.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/object.h"

namespace plat {

enum EventId : int {
    EVENT_NONE = 0,
    EVENT_APPSUSPEND = 0x101,     // 257 the window lost the focus
    EVENT_APPRESUME = 0x102,      // 258 the window got it back
    EVENT_APPTERMINATE = 0x103,   // 259 close requested
    EVENT_KEYDOWN = 0x201,        // 513 data = virtual-key code; auto-repeat sends more
    EVENT_KEYUP = 0x202,          // 514
    EVENT_KEYCHAR = 0x203,        // 515 data = character code
    EVENT_MOUSEDOWN = 0x401,      // 1025 data = 1 left, 2 right, 3 middle
    EVENT_MOUSEUP = 0x402,        // 1026
    EVENT_MOUSEMOVE = 0x403,      // 1027 x, y in window pixels
    EVENT_MOUSEWHEEL = 0x404,     // 1028 data = notches
    EVENT_MOUSELEAVE = 0x405,     // 1029 the pointer left the window
    EVENT_MOUSEENTER = 0x406,     // 1030 the pointer entered the window
    EVENT_WINDOWMOVE = 0x2002,
    EVENT_WINDOWSIZE = 0x2003,
    EVENT_TIMERTICK = 0x801,      // 2049 source = the timer
};

struct TEvent {
    int id = EVENT_NONE;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    Ref<Object> source;
};

// Takes the next event from the queue (pumping first); false when empty.
bool PollEvent();
const TEvent& CurrentEvent();
int EventID();
int EventData();
int EventX();
int EventY();
Ref<Object> EventSource();

// Puts an event on the queue (and through the hooks), as the pump does.
void PostEvent(const TEvent& event);
// Sends an event to the hooks only.
void EmitEvent(const TEvent& event);
// Discards pending events (after pumping) and clears the polled tables.
void FlushEvent();
// Processes pending system events once.
void PollSystem();
// Runs the pump once: window events, polled tables, due timers.
void PumpEvents();
// Sleeps `ms` milliseconds while pumping (timers keep ticking).  With a
// manual clock it advances that clock instead.
void Delay(int ms);

// Hooks see every emitted event (queued and timer events alike).
using EventHook = std::function<void(const TEvent&)>;
int AddHook(EventHook hook, int priority = 0);  // returns a handle
void RemoveHook(int handle);

// --- timers ------------------------------------------------------------------
class TTimer : public Object {
public:
    TTimer(double hz, std::int64_t start);
    double Hz() const { return hz_; }
    int Ticks() const { return static_cast<int>(ticks_); }
    bool Stopped() const { return stopped_; }

private:
    friend void PumpEvents();
    friend int WaitTimer(const Ref<TTimer>&);
    friend void StopTimer(const Ref<TTimer>&);
    friend void CheckTimers(std::int64_t now);
    double hz_;
    std::int64_t start_;
    std::int64_t ticks_ = 0;   // ticks counted since creation
    std::int64_t waited_ = 0;  // ticks already returned by WaitTimer
    bool stopped_ = false;
};

// A timer that ticks hz times a second from now; ticks are emitted as
// EVENT_TIMERTICK (source = the timer) to the hooks when the pump runs.
// Ticks due = floor(elapsed * hz / 1000); one event per pump when any are due.
Ref<TTimer> CreateTimer(double hz);
int TimerTicks(const Ref<TTimer>& timer);
// Blocks (pumping) until the next tick; returns the ticks since the last
// wait.  Returns 0 at once for a stopped timer.
int WaitTimer(const Ref<TTimer>& timer);
void StopTimer(const Ref<TTimer>& timer);
// Used by the pump; exposed for tests that drive a manual clock.
void CheckTimers(std::int64_t now);

}  // namespace plat
