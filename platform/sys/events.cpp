// The event queue, hooks, timers and the pump that drives them.

#include "platform/sys/events.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "platform/core/clock.h"
#include "platform/sys/sys_internal.h"

namespace plat {
namespace {

// Events nobody takes are dropped past this many, so a program that never
// polls does not grow without bound.
constexpr std::size_t kQueueLimit = 4096;

struct Hook {
    int handle;
    int priority;
    EventHook fn;
};

struct EventState {
    std::deque<TEvent> queue;
    TEvent current;
    std::vector<Hook> hooks;
    int nextHandle = 1;
    std::vector<std::weak_ptr<TTimer>> timers;
    std::int64_t nextDeadline = std::numeric_limits<std::int64_t>::max();
    bool pumping = false;
    bool sdlUp = false;
    bool sdlFailed = false;
};

EventState& E() {
    static EventState* e = new EventState;
    return *e;
}

bool HookLive(int handle) {
    for (const Hook& h : E().hooks)
        if (h.handle == handle) return true;
    return false;
}

std::int64_t MilliHertz(double hz) {
    if (!(hz > 0) || !std::isfinite(hz)) return 0;
    return static_cast<std::int64_t>(std::llround(hz * 1000.0));
}

// Sleeps toward `until` for at most one timer period, or moves a manual
// clock straight on to it.
void WaitStep(std::int64_t now, std::int64_t until) {
    std::int64_t step = std::max<std::int64_t>(1, until - now);
    if (ClockIsManual()) {
        AdvanceManualClock(step);
    } else {
        // Short naps keep window events flowing during long waits.
        SleepMs(static_cast<int>(std::min<std::int64_t>(step, 10)));
    }
}

}  // namespace

namespace sys {

bool EnsureEvents() {
    EventState& e = E();
    if (e.sdlUp) return true;
    if (e.sdlFailed) return false;
    AllowUnfocusedJoysticksWhenHeadless();
    if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0 &&
        SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        e.sdlFailed = true;
        return false;
    }
    e.sdlUp = true;
    return true;
}

}  // namespace sys

// --- queue ------------------------------------------------------------------
bool PollEvent() {
    PumpEvents();
    EventState& e = E();
    if (e.queue.empty()) {
        e.current = TEvent{};
        return false;
    }
    e.current = std::move(e.queue.front());
    e.queue.pop_front();
    return true;
}

const TEvent& CurrentEvent() { return E().current; }
int EventID() { return E().current.id; }
int EventData() { return E().current.data; }
int EventX() { return E().current.x; }
int EventY() { return E().current.y; }
Ref<Object> EventSource() { return E().current.source; }

void PostEvent(const TEvent& event) {
    EventState& e = E();
    if (e.queue.size() < kQueueLimit) e.queue.push_back(event);
    EmitEvent(event);
}

void EmitEvent(const TEvent& event) {
    // A hook may add or remove hooks: work from a copy and skip the removed.
    const std::vector<Hook> hooks = E().hooks;
    for (const Hook& h : hooks)
        if (HookLive(h.handle)) h.fn(event);
}

void FlushEvent() {
    PumpEvents();
    E().queue.clear();
    sys::ClearPolledTables();
}

void PollSystem() { PumpEvents(); }

void PumpEvents() {
    EventState& e = E();
    if (e.pumping) return;  // a hook asking for input while the pump runs
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(e.pumping);
    if (sys::EnsureEvents()) {
        sys::BeginPumpRun();
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) sys::HandleSystemEvent(ev);
    }
    CheckTimers(MilliSecs64());
}

void Delay(int ms) {
    PumpEvents();
    if (ms <= 0) return;
    const std::int64_t end = MilliSecs64() + ms;
    for (;;) {
        const std::int64_t now = MilliSecs64();
        if (now >= end) break;
        WaitStep(now, std::min(end, E().nextDeadline));
        PumpEvents();
    }
}

// --- hooks --------------------------------------------------------------------
int AddHook(EventHook hook, int priority) {
    EventState& e = E();
    const int handle = e.nextHandle++;
    // Higher priorities first; equal ones in the order they were added.
    auto at = std::find_if(e.hooks.begin(), e.hooks.end(),
                           [&](const Hook& h) { return h.priority < priority; });
    e.hooks.insert(at, Hook{handle, priority, std::move(hook)});
    return handle;
}

void RemoveHook(int handle) {
    auto& hooks = E().hooks;
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [&](const Hook& h) { return h.handle == handle; }),
                hooks.end());
}

// --- timers ---------------------------------------------------------------------
TTimer::TTimer(double hz, std::int64_t start) : hz_(hz), start_(start) {}

Ref<TTimer> CreateTimer(double hz) {
    auto t = New<TTimer>(hz, MilliSecs64());
    E().timers.push_back(t);
    CheckTimers(MilliSecs64());
    return t;
}

int TimerTicks(const Ref<TTimer>& timer) {
    if (!timer) return 0;
    PumpEvents();
    return timer->Ticks();
}

int WaitTimer(const Ref<TTimer>& timer) {
    if (!timer) return 0;
    for (;;) {
        PumpEvents();
        if (timer->stopped_) return 0;
        if (timer->ticks_ > timer->waited_) {
            const auto n = timer->ticks_ - timer->waited_;
            timer->waited_ = timer->ticks_;
            return static_cast<int>(n);
        }
        if (MilliHertz(timer->hz_) <= 0) return 0;  // would never tick
        WaitStep(MilliSecs64(), E().nextDeadline);
    }
}

void StopTimer(const Ref<TTimer>& timer) {
    if (!timer) return;
    timer->stopped_ = true;
    auto& ts = E().timers;
    ts.erase(std::remove_if(ts.begin(), ts.end(),
                            [&](const std::weak_ptr<TTimer>& w) {
                                auto t = w.lock();
                                return !t || t == timer;
                            }),
             ts.end());
}

void CheckTimers(std::int64_t now) {
    EventState& e = E();
    // Hooks may create or stop timers: work from the live ones of now.
    std::vector<Ref<TTimer>> live;
    live.reserve(e.timers.size());
    e.timers.erase(std::remove_if(e.timers.begin(), e.timers.end(),
                                  [&](const std::weak_ptr<TTimer>& w) {
                                      auto t = w.lock();
                                      if (!t || t->stopped_) return true;
                                      live.push_back(std::move(t));
                                      return false;
                                  }),
                   e.timers.end());
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (const Ref<TTimer>& t : live) {
        if (t->stopped_) continue;
        const std::int64_t mhz = MilliHertz(t->hz_);
        if (mhz <= 0) continue;
        const std::int64_t elapsed = now - t->start_;
        const std::int64_t due = elapsed > 0 ? elapsed * mhz / 1000000 : 0;
        if (due > t->ticks_) {
            t->ticks_ = due;
            TEvent ev;
            ev.id = EVENT_TIMERTICK;
            ev.data = static_cast<int>(due);
            ev.source = t;
            EmitEvent(ev);
        }
        // The first moment the tick count passes the present one.
        const std::int64_t after = ((t->ticks_ + 1) * 1000000 + mhz - 1) / mhz;
        next = std::min(next, t->start_ + after);
    }
    e.nextDeadline = next;
}

}  // namespace plat
