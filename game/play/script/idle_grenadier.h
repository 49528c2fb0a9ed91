#pragma once
// The idle grenadier: a player who stands still is sent a grenadier every
// three seconds, from the right edge at the top of the view when it is open,
// else from the left, else from lower down; never in the last 30 rows of an
// area.  It runs first in the level script of every tick.

namespace game {

void RunIdleGrenadier();

}  // namespace game
