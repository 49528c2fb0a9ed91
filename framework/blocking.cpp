#include "framework/blocking.h"

#include <utility>

#include "framework/game.h"
#include "framework/input.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"

namespace fw {

namespace {

std::function<void(int)>& FrameHook() {
    static std::function<void(int)> hook;
    return hook;
}

}  // namespace

void SetBlockingLoopFrameHook(std::function<void(int)> hook) { FrameHook() = std::move(hook); }

TBlockingLoop::TBlockingLoop(bool flushFirst) : savedMode_(InputMode) {
    if (flushFirst) FlushInput();
    // The polled tables are emptied when the mode changes; in the polled
    // mode already, only a flush empties them.
    UseFrameworkInput();
    if (flushFirst && savedMode_ == 1) FlushInput();
    for (int key = 0; key < 256; ++key) held_[static_cast<std::size_t>(key)] = plat::KeyDown(key);
}

TBlockingLoop::~TBlockingLoop() {
    // Still in the polled mode: this empties the polled tables.
    FlushInput();
    // Whatever the window system still holds is read here rather than
    // discarded, so a close request made at the last moment is kept too.
    plat::PollSystem();
    TakeEvents();
    InputMode = savedMode_;
    if (Game) {
        if (closeRequested_) Game->TerminatedEvent = 1;
        if (suspended_ >= 0) Game->SuspendedEvent = suspended_;
    }
}

void TBlockingLoop::TakeEvents() {
    while (plat::PollEvent()) {
        switch (plat::EventID()) {
            case plat::EVENT_APPTERMINATE: closeRequested_ = true; break;
            case plat::EVENT_APPSUSPEND: suspended_ = 1; break;
            case plat::EVENT_APPRESUME: suspended_ = 0; break;
            default: break;
        }
    }
}

bool TBlockingLoop::Interrupted() {
    TakeEvents();
    bool hit = false;
    for (int key = 0; key < 256; ++key) {
        const bool pressed = plat::KeyHit(key) > 0;
        bool& held = held_[static_cast<std::size_t>(key)];
        // A key held since before the loop only repeats: its hits count
        // from the first poll after it was let go.
        if (held) {
            if (!plat::KeyDown(key)) held = false;
            continue;
        }
        if (pressed) hit = true;
    }
    if (AnyMouseHit()) hit = true;
    return hit || closeRequested_;
}

void TBlockingLoop::FrameDone() {
    if (FrameHook()) FrameHook()(frame_);
    ++frame_;
}

}  // namespace fw
