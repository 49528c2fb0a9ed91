#pragma once
// The player's keyboard or joystick turned into Direction, LastDirection and
// FireButtons once per tick, and the fire and grenade buttons acted on.

namespace game {

// Writes Direction, LastDirection and FireButtons from the device chosen by
// ControlMode (0 keyboard, 1 joystick; any other value reads neither).
void ReadPlayerInput();
// Fires the hero's bullet or grenade for FireButtons (level play).
void HandleFireButtons();

}  // namespace game
