#pragma once
// Shared by the modules of the layer that start SDL (the event pump, the
// input tables, the display and the system services) only.

#include <SDL.h>

#include <cstring>

namespace plat::sys {

// The video drivers without a window manager, where the one window never
// gets the focus.
inline bool IsHeadlessVideoDriver(const char* name) {
    return name && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0);
}

// Before SDL starts: under a headless driver joystick events must flow
// without the focus.
inline void AllowUnfocusedJoysticksWhenHeadless() {
    if (IsHeadlessVideoDriver(SDL_getenv("SDL_VIDEODRIVER")))
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

// SDL's event, joystick and controller subsystems (idempotent); false when
// they cannot be started (the pump then only checks timers).
bool EnsureEvents();
// One window-system event into queue events and the polled tables.
void HandleSystemEvent(const SDL_Event& e);
// Called at the start of each pump run.
void BeginPumpRun();
void ClearPolledTables();
// The Windows virtual-key code for a key, 0 when it has none.
int VirtualKeyFromSDL(SDL_Scancode scancode, SDL_Keycode keycode);

}  // namespace plat::sys
