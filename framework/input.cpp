#include "framework/input.h"

#include <algorithm>
#include <cstdint>

#include "framework/game.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"

namespace fw {

int InputMode = 0;
std::array<int, 256> KeyHitCounts{};
std::array<int, 256> KeyDownFlags{};
std::array<int, 256> CharRing{};
int CharRingWrite = 0;
int CharRingRead = 0;
int MousePointerFlag = 0;

namespace {

bool ValidKey(int key) { return key >= 0 && key <= 255; }

}  // namespace

// --- tables ----------------------------------------------------------------------

void KeyTableDown(int key) {
    if (!ValidKey(key)) return;
    KeyDownFlags[static_cast<std::size_t>(key)] = 1;
    int& count = KeyHitCounts[static_cast<std::size_t>(key)];
    if (count < 2147483647) ++count;
}

void KeyTableUp(int key) {
    if (!ValidKey(key)) return;
    KeyDownFlags[static_cast<std::size_t>(key)] = 0;
}

void KeyTableChar(int code) {
    // The counts only ever differ by at most 256, so their difference is
    // exact even after they wrap.
    if (static_cast<unsigned>(CharRingWrite) - static_cast<unsigned>(CharRingRead) >= 256u) return;
    CharRing[static_cast<std::size_t>(CharRingWrite & 255)] = code;
    CharRingWrite = static_cast<int>(static_cast<unsigned>(CharRingWrite) + 1u);
}

// --- keyboard ----------------------------------------------------------------------

int KeyHitCode(int key) {
    if (!ValidKey(key)) return 0;
    if (InputMode == 1) return plat::KeyHit(key) > 0 ? 1 : 0;
    int& count = KeyHitCounts[static_cast<std::size_t>(key)];
    if (count == 0) return 0;
    count = 0;
    return 1;
}

int KeyDownCode(int key) {
    if (!ValidKey(key)) return 0;
    if (InputMode == 1) return plat::KeyDown(key) ? 1 : 0;
    return KeyDownFlags[static_cast<std::size_t>(key)];
}

int GetCharQueued() {
    if (InputMode == 1) return plat::GetChar();
    if (CharRingRead == CharRingWrite) return 0;
    const int c = CharRing[static_cast<std::size_t>(CharRingRead & 255)];
    CharRingRead = static_cast<int>(static_cast<unsigned>(CharRingRead) + 1u);
    return c;
}

int AnyKeyHit() {
    for (int key = 0; key <= 255; ++key)
        if (KeyHitCode(key)) return 1;
    return 0;
}

int AnyKeyHitPending() { return FirstSingleKeyHit() >= 0 ? 1 : 0; }

int FirstSingleKeyHit() {
    for (int key = 0; key <= 255; ++key)
        if (KeyHitCounts[static_cast<std::size_t>(key)] == 1) return key;
    return -1;
}

void FlushKeyTables() {
    if (InputMode == 1) {
        plat::FlushKeys();
        return;
    }
    KeyHitCounts.fill(0);
    KeyDownFlags.fill(0);
    CharRingWrite = 0;
    CharRingRead = 0;
}

void ClearKeyState(int key) {
    if (!ValidKey(key)) return;
    KeyHitCounts[static_cast<std::size_t>(key)] = 0;
    KeyDownFlags[static_cast<std::size_t>(key)] = 0;
}

int ControlKeyDown() { return KeyDownCode(plat::KEY_LCONTROL) || KeyDownCode(plat::KEY_RCONTROL) ? 1 : 0; }

int ShiftKeyDown() { return KeyDownCode(plat::KEY_LSHIFT) || KeyDownCode(plat::KEY_RSHIFT) ? 1 : 0; }

// --- mouse and input as a whole ----------------------------------------------------

int AnyMouseHit() {
    int hit = 0;
    for (int b = 1; b <= 3; ++b)
        if (plat::MouseHit(b) > 0) hit = 1;  // every button's hit is taken
    return hit;
}

int AnyMouseHitCount() { return plat::MouseHit(1) + plat::MouseHit(2) + plat::MouseHit(3); }

int AnyMouseDown() { return MouseButtonsDown() > 0 ? 1 : 0; }

int MouseButtonsDown() {
    return (plat::MouseDown(1) ? 1 : 0) + (plat::MouseDown(2) ? 1 : 0) + (plat::MouseDown(3) ? 1 : 0);
}

int AnyInputHit() { return AnyKeyHit() ? 1 : AnyMouseHit(); }

void FlushMouseState() {
    if (InputMode == 1) {
        plat::FlushMouse();
        return;
    }
    if (Game && Game->Mouse) Game->Mouse->ClearButtons();
}

void FlushInput() {
    FlushKeyTables();
    FlushMouseState();
}

void UseFrameworkInput() {
    // The polled tables fill all the time; what they hold from before the
    // switch is not input for whoever reads them now.
    if (InputMode != 1) {
        plat::FlushKeys();
        plat::FlushMouse();
    }
    InputMode = 1;
}

void FlushAllInput() {
    InputMode = 0;
    plat::PollSystem();
    plat::FlushEvent();
}

void PollMouseWindowEvent() {
    if (!plat::PollEvent()) return;
    const int id = plat::EventID();
    if (id == plat::EVENT_MOUSELEAVE) {
        plat::ShowMouse();
        MousePointerFlag = 1;
    } else if (id == plat::EVENT_MOUSEENTER) {
        plat::HideMouse();
        MousePointerFlag = 0;
    }
}

namespace {

// Waits on the polled input (own tables only fill through the shell's tick),
// then returns to the mode the caller had.
int WaitForInputUntil(std::int64_t deadline) {
    const int saved = InputMode;
    UseFrameworkInput();
    FlushInput();
    int result = 0;
    for (;;) {
        if (AnyKeyHit() || AnyMouseHit()) {
            result = -1;
            break;
        }
        if (deadline >= 0 && plat::MilliSecs64() >= deadline) break;
        plat::Delay(1);
    }
    FlushInput();
    if (saved == 1) UseFrameworkInput();
    else FlushAllInput();
    return result;
}

}  // namespace

void WaitForAnyInput() { WaitForInputUntil(-1); }

int WaitMillisOrInput(int ms) { return WaitForInputUntil(plat::MilliSecs64() + std::max(ms, 0)); }

}  // namespace fw
