#pragma once
// Small timing classes that effects and widgets use to run something for a
// while and ask how far it has got: TAnimation (timed phases with looping,
// cycling and ping-pong), TCounter (one countdown) and its list,
// TSineCounter (an angle swept at a speed) and TFlasher (on/off blinking for
// a limited time, with a sound on each "on").  All count logic ticks and
// step by Delta; lengths in milliseconds become ticks through
// Game->CalcAnimLength.

#include <array>

#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TGameSound;

class TAnimation : public plat::Object {
public:
    static constexpr int MAX_PHASES = 50;

    int Active = 0;
    int LoopTotal = 0;  // passes to run when above 0; 0: no limit
    float Counter = 0;  // position in the current phase, in ticks
    int CurrentPhase = 0;
    int Finished = 0;
    int TotalPhases = 1;
    int Cycle = 0;       // 1: start again after the last phase
    int Direction = 1;   // 1: phases run upward; 0: downward
    std::array<float, MAX_PHASES> Length{};  // ticks of each phase
    int LeaveActive = 0; // 1: on finishing, rest on the last phase
    int PingPong = 0;    // 1: turn round at each end
    int Reverse = 0;     // 0: the counter falls from the length to 0; 1: it rises
    int OriginalReverse = 0;
    int LoopCount = 0;   // passes completed

    virtual ~TAnimation() = default;

    static plat::Ref<TAnimation> Create(int lengthMs, int leaveActive, int reverse, int cycle,
                                        int pingPong);
    virtual void Init(int lengthMs, int leaveActive, int reverse, int cycle, int pingPong);
    // 0 (and nothing changes) when all MAX_PHASES are in use.
    virtual int AddPhase(int lengthMs);
    // 0 (and nothing changes) when full or when index is outside 0..TotalPhases.
    virtual int InsertPhase(int lengthMs, int index);
    // Every field back to its new value except the phase lengths.
    virtual void Clear();
    virtual void Start();
    virtual void Reset();
    // Once per tick; 1 on the tick a phase (or the whole animation) ended.
    virtual int Manage();
    // A phase has ended; 1 when the whole animation has just finished.
    virtual int EndAnim();
    // Ends the current pass at once (looping rules apply).
    virtual void Stop();

    // Of the current phase; 0 for a phase of no length.
    virtual float GetRatio() const;
    virtual float GetRatioInv() const;
    virtual float GetRatioSine() const;
    virtual float GetRatioInvSine() const;
    virtual float GetRatioSine180() const;
    virtual float GetRatioInvSine180() const;
    // 0..frames-1, running forward whichever way the counter runs.
    virtual int GetAnimFrame(int frames) const;
    // The same, but counted from the other end while Reverse is 1.
    virtual int GetAnimFrameProper(int frames) const;

protected:
    float PhaseLength(int phase) const;
    void StartPhase();
};

class TCounter : public plat::Object {
public:
    int Active = 0;
    float Counter = 0;          // ticks left
    int CounterLength = 1000;   // ticks of a full count

    static plat::Ref<TCounter> Create(int lengthMs, int activate);
    void Activate();
    // 1 on the tick the count runs out; 0 while nothing is left to count.
    int Manage();
    void Stop(int clear);
    // 1 at the start, falling to 0; 0 for a count of no length.
    float GetRatio() const;
};

class TCounterList : public plat::TList<TCounter> {
public:
    plat::Ref<TCounter> AddNew(int lengthMs);
    // Manages every counter; with remove, those that ran out leave the list.
    void Manage(int remove);
};

class TSineCounter : public plat::Object {
public:
    int Active = 1;
    float Counter = 0;  // the angle, degrees
    float Speed = 1.0f; // degrees per tick
    float StartPoint = 0;
    float EndPoint = 360.0f;
    float ratio = 0;    // sine of the angle
    int RunOnce = 0;

    static plat::Ref<TSineCounter> Create(float start, float end, float speed, int runOnce);
    void Init(float start, float end, float speed, int runOnce);
    int Manage();
    void SetCounter(float angle);
};

class TFlasher : public plat::Object {
public:
    plat::Ref<TGameSound> FlashSound;  // played on each change to "on"
    int FlashState = 1;                // 1 on, 0 off
    float AnimCounter = 0;             // ticks of flashing left
    int DelayEnd = 0;                  // flashing starts when AnimCounter falls to this
    float FlashCounter = 0;            // ticks left in the current state
    int OnLength = 0, OffLength = 0;

    static plat::Ref<TFlasher> Create(int totalMs, int onMs, int offMs, int delayMs);
    // 1 once the flashing time is over.
    int Manage();
    void PlayFlashSound();
    void SetToOff();
};

}  // namespace fw
