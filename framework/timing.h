#pragma once
// Fixed-rate logic timing: the milliseconds of each displayed frame become a
// number of 5 ms logic ticks (200 per second), smoothed over recent frames.

#include <vector>

#include "framework/debug.h"

namespace fw {

// The per-tick factor every movement, counter and fade advances by: 1.0 for
// a whole tick, the remainder for the last partial tick of a frame.
extern float Delta;

// Milliseconds as logic ticks at the shell's current rate and speed
// (Game->CalcAnimLengthFromFloat); 5 ms a tick without a shell.
float TicksFromMs(float ms);

class TFixedRateLogic : public TTrackingVar {
public:
    int FramerateDefault = 200;
    float Framerate = 200.0f;
    double LastTime = 0;
    double TmpMS = 0;
    double NumTicks = 0;
    double LastNumTicks = 0;
    float MS = 0;
    float DeltaMultiplier = 1.0f;
    float FullDelta = 0;
    int Threshold = 50;
    int JitterCorrection = 1;
    int HistorySize = 1;
    int HistorySizeMax = 50;
    std::vector<int> History;
    int HistoryCounter = 0;
    int First = 0;
    int FirstMax = 5;
    int IgnoreHistoryOnSpeedChange = 1;

    // Restarts the timing (after anything that blocked for a while); the
    // next FirstMax frames are taken raw.  The history is kept.
    void Init() override;
    // Allocates the history once; nothing is allocated per frame after it.
    void Create();
    void CalcMS();
    void SetThreshold(int ms);
    // Once per displayed frame: NumTicks for this frame.
    void Calc();
    void SetDelta(float x);
    void SetDefaultFramerate(int rate);
    void HistoryClear();
};

}  // namespace fw
