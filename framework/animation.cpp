#include "framework/animation.h"

#include <cmath>

#include "framework/channels.h"
#include "framework/helpers.h"
#include "framework/timing.h"

namespace fw {

namespace {

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * M_PI / 180.0)); }

}  // namespace

// --- TAnimation ------------------------------------------------------------------

plat::Ref<TAnimation> TAnimation::Create(int lengthMs, int leaveActive, int reverse, int cycle,
                                         int pingPong) {
    auto anim = plat::New<TAnimation>();
    anim->Init(lengthMs, leaveActive, reverse, cycle, pingPong);
    return anim;
}

void TAnimation::Init(int lengthMs, int leaveActive, int reverse, int cycle, int pingPong) {
    Length[0] = TicksFromMs(static_cast<float>(lengthMs));
    CurrentPhase = 0;
    Finished = 0;
    TotalPhases = 1;
    Cycle = cycle;
    Direction = 1;
    LeaveActive = leaveActive;
    PingPong = pingPong;
    Reverse = OriginalReverse = reverse;
    LoopCount = 0;
}

int TAnimation::AddPhase(int lengthMs) {
    if (TotalPhases >= MAX_PHASES) return 0;
    Length[static_cast<std::size_t>(TotalPhases)] = TicksFromMs(static_cast<float>(lengthMs));
    ++TotalPhases;
    return 1;
}

int TAnimation::InsertPhase(int lengthMs, int index) {
    if (TotalPhases >= MAX_PHASES || index < 0 || index > TotalPhases) return 0;
    for (int i = TotalPhases; i > index; --i)
        Length[static_cast<std::size_t>(i)] = Length[static_cast<std::size_t>(i - 1)];
    Length[static_cast<std::size_t>(index)] = TicksFromMs(static_cast<float>(lengthMs));
    ++TotalPhases;
    return 1;
}

void TAnimation::Clear() {
    const auto lengths = Length;
    const TAnimation fresh;
    Active = fresh.Active;
    LoopTotal = fresh.LoopTotal;
    Counter = fresh.Counter;
    CurrentPhase = fresh.CurrentPhase;
    Finished = fresh.Finished;
    TotalPhases = fresh.TotalPhases;
    Cycle = fresh.Cycle;
    Direction = fresh.Direction;
    Length = lengths;
    LeaveActive = fresh.LeaveActive;
    PingPong = fresh.PingPong;
    Reverse = fresh.Reverse;
    OriginalReverse = fresh.OriginalReverse;
    LoopCount = fresh.LoopCount;
}

float TAnimation::PhaseLength(int phase) const {
    if (phase < 0 || phase >= MAX_PHASES) return 0;
    return Length[static_cast<std::size_t>(phase)];
}

void TAnimation::Start() {
    if (PingPong) Reverse = OriginalReverse;
    if (Reverse == 1) Counter = 0;
    else if (!(Counter > 0)) Counter = PhaseLength(CurrentPhase);
    Active = 1;
    CurrentPhase = 0;
    Finished = 0;
    Direction = 1;
    LoopCount = 0;
}

void TAnimation::Reset() {
    Counter = 0;
    Start();
}

int TAnimation::Manage() {
    if (!Active) return 0;
    if (Reverse == 1) {
        Counter += Delta;
        if (Counter > PhaseLength(CurrentPhase)) {
            EndAnim();
            return 1;
        }
    } else {
        Counter -= Delta;
        if (!(Counter > 0)) {
            EndAnim();
            return 1;
        }
    }
    return 0;
}

void TAnimation::StartPhase() { Counter = Reverse == 0 ? PhaseLength(CurrentPhase) : 0; }

int TAnimation::EndAnim() {
    CurrentPhase += Direction == 1 ? 1 : -1;
    const bool passEnded = (Direction == 1 && CurrentPhase >= TotalPhases) ||
                           (Direction != 1 && CurrentPhase <= -1);
    if (!passEnded) {
        StartPhase();
        return 0;
    }
    ++LoopCount;
    const bool goOn = Cycle != 0 && !(LoopTotal > 0 && LoopCount == LoopTotal);
    if (goOn && PingPong) {
        // Turn round: the phases run the other way with the counter running
        // the other way too, keeping its overshoot mirrored about the end
        // it reached (0 for a falling counter, the phase length for a rising
        // one).
        const bool upward = Direction == 1;
        CurrentPhase = upward ? TotalPhases - 1 : 0;
        Direction = upward ? 0 : 1;
        if (Reverse == 0) {
            Counter = -Counter;
            Reverse = 1;
        } else {
            const float end = PhaseLength(CurrentPhase);
            Counter = end - (Counter - end);
            Reverse = 0;
        }
        return 0;
    }
    if (goOn) {
        CurrentPhase = 0;
        StartPhase();
        return 0;
    }
    Finished = 1;
    if (LeaveActive) {
        CurrentPhase = TotalPhases - 1;
        Counter = Reverse == 0 ? 0 : PhaseLength(CurrentPhase);
    } else {
        Counter = 0;
        CurrentPhase = 0;
        Active = 0;
    }
    return 1;
}

void TAnimation::Stop() {
    CurrentPhase = Direction == 1 ? TotalPhases - 1 : 0;
    EndAnim();
}

float TAnimation::GetRatio() const {
    const float length = PhaseLength(CurrentPhase);
    return length > 0 ? Counter / length : 0.0f;
}

float TAnimation::GetRatioInv() const { return 1.0f - GetRatio(); }

float TAnimation::GetRatioSine() const { return SinDegrees(90.0f * GetRatio()); }

float TAnimation::GetRatioInvSine() const { return SinDegrees(90.0f * (1.0f - GetRatio())); }

float TAnimation::GetRatioSine180() const { return static_cast<float>(SigmoidCurve(GetRatio())); }

float TAnimation::GetRatioInvSine180() const { return static_cast<float>(SigmoidCurve(GetRatioInv())); }

int TAnimation::GetAnimFrame(int frames) const {
    return LerpIndex(Counter, std::floor(PhaseLength(CurrentPhase)), frames, Reverse);
}

int TAnimation::GetAnimFrameProper(int frames) const {
    const int n = GetAnimFrame(frames);
    return Reverse == 1 ? frames - 1 - n : n;
}

// --- TCounter --------------------------------------------------------------------

plat::Ref<TCounter> TCounter::Create(int lengthMs, int activate) {
    auto c = plat::New<TCounter>();
    c->CounterLength = static_cast<int>(TicksFromMs(static_cast<float>(lengthMs)));
    if (activate) c->Activate();
    return c;
}

void TCounter::Activate() {
    Counter = static_cast<float>(CounterLength);
    Active = 1;
}

int TCounter::Manage() {
    if (!(Counter > 0)) return 0;
    Counter -= Delta;
    if (Counter > 0) return 0;
    Stop(1);
    return 1;
}

void TCounter::Stop(int clear) {
    if (clear) Counter = 0;
    Active = 0;
}

float TCounter::GetRatio() const {
    return CounterLength > 0 ? Counter / static_cast<float>(CounterLength) : 0.0f;
}

plat::Ref<TCounter> TCounterList::AddNew(int lengthMs) {
    auto c = TCounter::Create(lengthMs, 1);
    AddLast(c);
    return c;
}

void TCounterList::Manage(int remove) {
    for (auto it = begin(); it != end(); ++it)
        if ((*it)->Manage() == 1 && remove) it.link()->Remove();
}

// --- TSineCounter ------------------------------------------------------------------

plat::Ref<TSineCounter> TSineCounter::Create(float start, float end, float speed, int runOnce) {
    auto s = plat::New<TSineCounter>();
    s->Init(start, end, speed, runOnce);
    return s;
}

void TSineCounter::Init(float start, float end, float speed, int runOnce) {
    StartPoint = start;
    EndPoint = end;
    Speed = speed;
    RunOnce = runOnce;
    Counter = start;
    ratio = 0;
}

int TSineCounter::Manage() {
    if (!Active) return 0;
    Counter += Speed * Delta;
    if (Counter >= EndPoint) {
        if (RunOnce) {
            Counter = EndPoint;
            Active = 0;
        } else {
            Counter -= EndPoint - StartPoint;
        }
    } else if (Counter < StartPoint) {
        if (RunOnce) {
            Counter = StartPoint;
            Active = 0;
        } else {
            Counter += EndPoint - StartPoint;
        }
    }
    ratio = SinDegrees(Counter);
    return 1;
}

void TSineCounter::SetCounter(float angle) {
    Counter = angle;
    ratio = SinDegrees(angle);
}

// --- TFlasher ------------------------------------------------------------------------

plat::Ref<TFlasher> TFlasher::Create(int totalMs, int onMs, int offMs, int delayMs) {
    auto f = plat::New<TFlasher>();
    f->AnimCounter = TicksFromMs(static_cast<float>(totalMs));
    f->OnLength = static_cast<int>(TicksFromMs(static_cast<float>(onMs)));
    f->OffLength = static_cast<int>(TicksFromMs(static_cast<float>(offMs)));
    f->FlashCounter = static_cast<float>(f->OnLength);
    f->DelayEnd = static_cast<int>(f->AnimCounter - TicksFromMs(static_cast<float>(delayMs)));
    return f;
}

int TFlasher::Manage() {
    if (!(AnimCounter > 0)) return 1;
    AnimCounter -= Delta;
    if (!(AnimCounter > 0)) {
        AnimCounter = 0;
        return 1;
    }
    if (AnimCounter > static_cast<float>(DelayEnd)) return 0;
    FlashCounter -= Delta;
    if (FlashCounter < 0) {
        if (FlashState == 1) {
            FlashState = 0;
            FlashCounter = static_cast<float>(OffLength);
        } else {
            FlashState = 1;
            FlashCounter = static_cast<float>(OnLength);
            PlayFlashSound();
        }
    }
    return 0;
}

void TFlasher::PlayFlashSound() { PlayPoolSound(FlashSound); }

void TFlasher::SetToOff() {
    FlashCounter = static_cast<float>(OffLength);
    FlashState = 0;
}

}  // namespace fw
