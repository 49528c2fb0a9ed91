#pragma once
// Loops that hold the program outside the shell's tick (a splash picture
// fading, a loading screen waiting for a click).  No logic tick runs while
// they loop, so the shell's own key tables stay empty: a TBlockingLoop
// switches to the platform's polled input for the loop's length and reads
// the platform's events itself, to tell presses from the repeats of a key
// held since before, and to keep a request to close the window for the
// shell instead of losing it.
//
//     TBlockingLoop loop(true);
//     while (!done) {
//         if (loop.Interrupted()) return -1;
//         ... draw and present a frame ...
//         loop.FrameDone();
//     }

#include <array>
#include <functional>

namespace fw {

class TBlockingLoop {
public:
    // Switches to the polled input.  With flushFirst, input waiting from
    // before the loop is dropped (a close request is kept).  Keys already
    // held do not count as hits until they have been let go.
    explicit TBlockingLoop(bool flushFirst);
    // Back to the caller's input mode; window-close, focus-loss and
    // focus-return requests made during the loop are passed to the shell,
    // all other input of the loop is dropped.
    ~TBlockingLoop();
    TBlockingLoop(const TBlockingLoop&) = delete;
    TBlockingLoop& operator=(const TBlockingLoop&) = delete;

    // True once a key was hit, a mouse button clicked or the window asked
    // to close.
    bool Interrupted();
    // After each frame the loop presented: runs the frame hook.
    void FrameDone();
    // True when the window asked to close during the loop.
    bool CloseRequested() const { return closeRequested_; }

private:
    void TakeEvents();

    int savedMode_ = 0;
    int frame_ = 0;
    bool closeRequested_ = false;
    bool hit_ = false;
    int suspended_ = -1;  // last focus event: 1 lost, 0 back, -1 none
    std::array<bool, 256> held_{};
};

// Called after each frame a blocking loop presents, with the frame number
// from 0 (tests drive the clock and press keys with it).  An empty
// function removes it.
void SetBlockingLoopFrameHook(std::function<void(int frame)> hook);

}  // namespace fw
