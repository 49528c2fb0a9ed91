#include "platform/core/clock.h"

#include <time.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace plat {

namespace {

std::int64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Taken when the program starts, so the clock counts from the start.
const std::int64_t g_start = MonotonicMs();

std::function<std::int64_t()>& Source() {
    static std::function<std::int64_t()> source;
    return source;
}

ManualClock* g_manual = nullptr;

}  // namespace

std::int64_t MilliSecs64() {
    const auto& source = Source();
    if (source) return source();
    return MonotonicMs() - g_start;
}

int MilliSecs() {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(MilliSecs64())));
}

void SetClockSource(std::function<std::int64_t()> source) { Source() = std::move(source); }

ManualClock::ManualClock(std::int64_t start) : now_(start) {
    g_manual = this;
    SetClockSource([this] { return now_; });
}

ManualClock::~ManualClock() {
    if (g_manual == this) {
        g_manual = nullptr;
        SetClockSource(nullptr);
    }
}

bool ClockIsManual() { return g_manual != nullptr; }

void AdvanceManualClock(std::int64_t ms) {
    if (g_manual) g_manual->Advance(ms);
}

void SleepMs(int ms) {
    if (ms <= 0) return;
    if (g_manual) {
        g_manual->Advance(ms);
        return;
    }
    timespec req{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    timespec rem{};
    while (nanosleep(&req, &rem) == -1 && errno == EINTR) req = rem;
}

namespace {

bool LocalNow(std::tm& out) {
    time_t now = time(nullptr);
    return localtime_r(&now, &out) != nullptr;
}

}  // namespace

std::string CurrentDate() {
    // English month names whatever the locale: the text goes into logs.
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm t{};
    if (!LocalNow(t)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", t.tm_mday, kMonths[t.tm_mon % 12], t.tm_year + 1900);
    return buf;
}

std::string CurrentTime() {
    std::tm t{};
    if (!LocalNow(t)) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

}  // namespace plat
