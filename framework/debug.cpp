#include "framework/debug.h"

#include "platform/core/clock.h"
#include "platform/gfx/draw.h"

namespace fw {

std::string PadNumber(int n, int width) {
    std::string s = std::to_string(n);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return s;
}

void TTrackingVar::Init() {
    Current = 0;
    maximum = 0;
    displayLimit = 999;
    displayLimitChars = static_cast<int>(std::to_string(displayLimit).size());
}

std::string TTrackingVar::GetDisplay() {
    return Label + PadNumber(Current, displayLimitChars) + "/" + PadNumber(maximum, displayLimitChars);
}

void TTrackingVar::Display(int x, int y) {
    plat::DrawText(GetDisplay(), static_cast<float>(x), static_cast<float>(y));
}

void TDebugVar::Start() { Current = plat::MilliSecs(); }

void TDebugVar::Calc() {
    Current = plat::MilliSecs() - Current;
    if (Current > maximum) maximum = Current;
    if (maximum > displayLimit) maximum = displayLimit;
}

void TFPSCounter::Init() {
    counter = 0;
    time = plat::MilliSecs();
    framerate = 0;
    minimum = 999;
    TTrackingVar::Init();
}

void TFPSCounter::Calc() {
    ++counter;
    int now = plat::MilliSecs();
    if (now > time + 1001) {
        framerate = counter;
        counter = 0;
        time = now;
        // The extremes only count whole seconds: a part-second must not
        // show up as a frame rate of 0.
        if (framerate > maximum) maximum = framerate;
        if (framerate < minimum) minimum = framerate;
    }
    Current = framerate;
}

std::string TFPSCounter::GetDisplay() {
    return Label + PadNumber(Current, displayLimitChars) + "/" + PadNumber(minimum, displayLimitChars);
}

}  // namespace fw
