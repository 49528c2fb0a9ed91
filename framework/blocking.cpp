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
    // What is held now may go on sending key-downs (auto-repeat); those are
    // not presses made to cut the loop short.
    for (int key = 0; key < 256; ++key) held_[static_cast<std::size_t>(key)] = plat::KeyDown(key);
    if (flushFirst) {
        FlushInput();
        TakeEvents();
        hit_ = false;
    }
    // The polled tables are emptied when the mode changes; in the polled
    // mode already, only a flush empties them.
    UseFrameworkInput();
    if (flushFirst && savedMode_ == 1) FlushInput();
}

TBlockingLoop::~TBlockingLoop() {
    // Whatever the window system still holds is read here rather than
    // discarded, so a close request made at the last moment is kept too.
    plat::PollSystem();
    TakeEvents();
    InputMode = savedMode_;
    // The caller's tables hold nothing of the loop's input, nor keys and
    // buttons whose release the loop took.
    FlushInput();
    if (Game) {
        if (closeRequested_) Game->TerminatedEvent = 1;
        if (suspended_ >= 0) Game->SuspendedEvent = suspended_;
    }
}

void TBlockingLoop::TakeEvents() {
    while (plat::PollEvent()) {
        const int data = plat::EventData();
        switch (plat::EventID()) {
            case plat::EVENT_KEYDOWN:
                if (data >= 0 && data < 256 && !held_[static_cast<std::size_t>(data)]) hit_ = true;
                break;
            case plat::EVENT_KEYUP:
                if (data >= 0 && data < 256) held_[static_cast<std::size_t>(data)] = false;
                break;
            case plat::EVENT_MOUSEDOWN: hit_ = true; break;
            case plat::EVENT_APPTERMINATE: closeRequested_ = true; break;
            case plat::EVENT_APPSUSPEND: suspended_ = 1; break;
            case plat::EVENT_APPRESUME: suspended_ = 0; break;
            default: break;
        }
    }
}

bool TBlockingLoop::Interrupted() {
    TakeEvents();
    return hit_ || closeRequested_;
}

void TBlockingLoop::FrameDone() {
    if (FrameHook()) FrameHook()(frame_);
    ++frame_;
}

}  // namespace fw
