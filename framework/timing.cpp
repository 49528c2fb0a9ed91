#include "framework/timing.h"

#include "framework/game.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"

namespace fw {

float Delta = 1.0f;

float TicksFromMs(float ms) { return Game ? Game->CalcAnimLengthFromFloat(ms) : ms / 5.0f; }

void TFixedRateLogic::CalcMS() {
    int rate = static_cast<int>(Framerate);
    MS = rate > 0 ? 1000.0f / static_cast<float>(rate) : 1000.0f;
}

void TFixedRateLogic::Init() {
    CalcMS();
    LastTime = plat::MilliSecs();
    NumTicks = 0;
    LastNumTicks = 1.0;
    SetDelta(1.0f);
    TTrackingVar::Init();
    First = FirstMax;
}

void TFixedRateLogic::Create() {
    History.assign(static_cast<std::size_t>(HistorySizeMax > 0 ? HistorySizeMax : 1), 0);
}

void TFixedRateLogic::SetThreshold(int ms) { Threshold = ms; }

void TFixedRateLogic::SetDelta(float x) {
    Delta = x * DeltaMultiplier;
    FullDelta = x;
}

void TFixedRateLogic::SetDefaultFramerate(int rate) {
    FramerateDefault = rate;
    Framerate = static_cast<float>(rate);
}

void TFixedRateLogic::HistoryClear() {
    for (int i = 0; i < HistorySize && i < static_cast<int>(History.size()); ++i) History[i] = 0;
    HistorySize = 1;
    HistoryCounter = 0;
}

void TFixedRateLogic::Calc() {
    TGame* game = Game.get();
    if (game && game->Fast) {
        NumTicks = 1.0;
        Current = static_cast<int>(NumTicks);
        return;
    }
    if (game && plat::GraphicsOpen()) {
        // A moved window blocked the loop while it was dragged: that time
        // must not turn into a burst of ticks.
        int x = 0, y = 0, w = 0, h = 0;
        plat::GetWindowRect(x, y, w, h);
        if (x != game->WindowX || y != game->WindowY) {
            Init();
            game->SetWindowCoords();
            game->SetClientCoords();
        }
    }
    double now = plat::MilliSecs();
    if (now < LastTime) {
        NumTicks = LastNumTicks;
    } else {
        TmpMS = now - LastTime;
        if (TmpMS > Threshold) TmpMS = Threshold;
        double average;
        if (First > 0 || History.empty()) {
            if (First > 0) --First;
            average = TmpMS;
        } else {
            History[static_cast<std::size_t>(HistoryCounter)] = static_cast<int>(TmpMS);
            long sum = 0;
            for (int i = 0; i < HistorySize; ++i) sum += History[static_cast<std::size_t>(i)];
            average = static_cast<double>(sum) / HistorySize;
            ++HistoryCounter;
            if (HistorySize < HistorySizeMax && HistorySize < static_cast<int>(History.size()))
                ++HistorySize;
            if (HistoryCounter >= HistorySize) HistoryCounter = 0;
        }
        if (JitterCorrection) {
            if (IgnoreHistoryOnSpeedChange && game && game->VSync == 1 &&
                (TmpMS < average - 1 || TmpMS > average + 1))
                average = TmpMS;
            NumTicks = average / MS;
        } else {
            NumTicks = TmpMS / MS;
        }
    }
    LastTime = now;
    LastNumTicks = NumTicks;
    if (NumTicks > maximum) maximum = static_cast<int>(NumTicks);
    Current = static_cast<int>(NumTicks);
}

}  // namespace fw
