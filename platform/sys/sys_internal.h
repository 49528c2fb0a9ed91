#pragma once
// Shared by the event pump and the input tables of the layer only.

#include <SDL.h>

namespace plat::sys {

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
