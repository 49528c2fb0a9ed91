#pragma once
// Tracking values shown by the debug overlay: a value with its largest
// reading and a label, a millisecond stopwatch and a frames-per-second
// counter.

#include <string>

#include "platform/core/object.h"

namespace fw {

class TTrackingVar : public plat::Object {
public:
    int Current = 0;
    int maximum = 0;
    int displayLimit = 999;
    int displayLimitChars = 3;
    std::string Label;

    virtual void Init();
    virtual void Display(int x, int y);
    virtual std::string GetDisplay();
};

// A stopwatch: Start() takes the clock, Calc() turns it into the elapsed
// milliseconds and keeps the largest (capped at displayLimit).
class TDebugVar : public TTrackingVar {
public:
    virtual void Start();
    virtual void Calc();
};

// Frames per second over whole seconds, with the lowest rate seen.
class TFPSCounter : public TTrackingVar {
public:
    int counter = 0;
    int time = 0;
    int framerate = 0;
    int minimum = 999;

    void Init() override;
    std::string GetDisplay() override;
    virtual void Calc();
};

// The decimal text of n, padded on the left with "0" to at least `width`.
std::string PadNumber(int n, int width);

}  // namespace fw
