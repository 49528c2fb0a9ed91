// The event queue, hooks and timers, driven by a manual clock.

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/clock.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"

using namespace plat;

namespace {

struct HookLog {
    std::vector<TEvent> events;
    int handle;
    explicit HookLog(int priority = 0)
        : handle(AddHook([this](const TEvent& e) { events.push_back(e); }, priority)) {}
    ~HookLog() { RemoveHook(handle); }
    int Count(int id) const {
        int n = 0;
        for (const auto& e : events) n += e.id == id;
        return n;
    }
};

}  // namespace

TEST(Timers, TicksFollowTheClockAndTheHookIsCalledOncePerPump) {
    ManualClock clock(1000);
    HookLog log;
    auto t = CreateTimer(120);
    EXPECT_EQ(TimerTicks(t), 0);
    clock.Advance(8);
    EXPECT_EQ(TimerTicks(t), 0) << "8 ms is short of 1/120 s";
    clock.Advance(1);
    EXPECT_EQ(TimerTicks(t), 1);
    clock.Advance(100);  // 109 ms: floor(109 * 120 / 1000) = 13
    PumpEvents();
    EXPECT_EQ(TimerTicks(t), 13);
    ASSERT_EQ(log.Count(EVENT_TIMERTICK), 2) << "ticks due together are one event";
    EXPECT_EQ(log.events.back().source, t);
    EXPECT_EQ(log.events.back().data, 13);
    StopTimer(t);
    clock.Advance(1000);
    PumpEvents();
    EXPECT_EQ(TimerTicks(t), 13);
    EXPECT_EQ(log.Count(EVENT_TIMERTICK), 2);
}

TEST(Timers, SlowRatesAndWaitTimer) {
    ManualClock clock(0);
    auto t = CreateTimer(0.5);  // one tick every 2 s
    EXPECT_EQ(WaitTimer(t), 1);
    EXPECT_EQ(clock.Now(), 2000) << "the wait moved the manual clock to the tick";
    clock.Advance(6500);
    EXPECT_EQ(WaitTimer(t), 3) << "ticks since the last wait";
    EXPECT_EQ(TimerTicks(t), 4);
    StopTimer(t);
    EXPECT_EQ(WaitTimer(t), 0) << "a stopped timer does not block";
    EXPECT_EQ(WaitTimer(nullptr), 0);
}

TEST(Timers, DelayKeepsTheMusicTimerRunning) {
    ManualClock clock(0);
    auto t = CreateTimer(120);
    HookLog log;
    Delay(1000);
    EXPECT_EQ(clock.Now(), 1000);
    EXPECT_EQ(TimerTicks(t), 120);
    // With the pump running at every tick the hook saw each of them.
    EXPECT_EQ(log.Count(EVENT_TIMERTICK), 120);
    // Waiting on one timer keeps the others ticking.
    auto slow = CreateTimer(2);
    log.events.clear();
    EXPECT_EQ(WaitTimer(slow), 1);
    EXPECT_EQ(log.Count(EVENT_TIMERTICK), 60 + 1);
    StopTimer(t);
    StopTimer(slow);
}

TEST(Timers, ADroppedTimerStopsTicking) {
    ManualClock clock(0);
    HookLog log;
    {
        auto t = CreateTimer(100);
    }
    clock.Advance(100);
    PumpEvents();
    EXPECT_EQ(log.Count(EVENT_TIMERTICK), 0);
}

TEST(Hooks, PriorityOrderAndRemovalDuringDispatch) {
    std::vector<int> order;
    int low = AddHook([&](const TEvent&) { order.push_back(0); }, 0);
    int high = 0;
    int mid = AddHook(
        [&](const TEvent&) {
            order.push_back(5);
            RemoveHook(low);  // removed hooks are not called, even in this pass
        },
        5);
    high = AddHook([&](const TEvent&) { order.push_back(10); }, 10);
    TEvent e;
    e.id = 0x1234;
    EmitEvent(e);
    EXPECT_EQ(order, (std::vector<int>{10, 5}));
    RemoveHook(mid);
    RemoveHook(high);
    order.clear();
    EmitEvent(e);
    EXPECT_TRUE(order.empty());
}

TEST(Events, QueueCarriesIdsDataAndPositions) {
    FlushEvent();
    HookLog log;
    SimulateKeyDown(KEY_A);
    SimulateKeyUp(KEY_A);
    SimulateChar('q');
    SimulateMouseMove(400, 300);
    SimulateMouseButton(2, true);
    SimulateAppEvent(EVENT_APPSUSPEND);
    const int want[][4] = {{EVENT_KEYDOWN, KEY_A, 0, 0},   {EVENT_KEYUP, KEY_A, 0, 0},
                           {EVENT_KEYCHAR, 'q', 0, 0},     {EVENT_MOUSEMOVE, 0, 400, 300},
                           {EVENT_MOUSEDOWN, 2, 400, 300}, {EVENT_APPSUSPEND, 0, 0, 0}};
    for (const auto& w : want) {
        ASSERT_TRUE(PollEvent());
        EXPECT_EQ(EventID(), w[0]);
        EXPECT_EQ(EventData(), w[1]);
        EXPECT_EQ(EventX(), w[2]);
        EXPECT_EQ(EventY(), w[3]);
    }
    EXPECT_FALSE(PollEvent());
    EXPECT_EQ(EventID(), EVENT_NONE);
    EXPECT_EQ(log.events.size(), 6u) << "the hooks saw every queued event";
    // The polled tables were fed on the same road.
    EXPECT_EQ(MouseX(), 400);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_TRUE(MouseDown(2));
    EXPECT_EQ(GetChar(), 'q');
    EXPECT_EQ(KeyHit(KEY_A), 1);
    EXPECT_EQ(KeyHit(KEY_A), 0) << "a hit is consumed";
    FlushEvent();
    EXPECT_FALSE(MouseDown(2));
}

TEST(Events, FlushEventDiscardsPendingEventsAndTables) {
    SimulateKeyDown(KEY_ESCAPE);
    SimulateMouseButton(1, true);
    FlushEvent();
    EXPECT_FALSE(PollEvent());
    EXPECT_EQ(KeyHit(KEY_ESCAPE), 0);
    EXPECT_FALSE(KeyDown(KEY_ESCAPE));
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_EQ(GetChar(), 0);
}
