#pragma once
// The level script: what enters play during an area, and when.  Once per
// logic tick, after the hero and the fire buttons, it sends the idle
// grenadier to a player who has stood still, runs the area's rule chain
// (while the view is below the top: each rule makes its actor while the
// view lies in its rows and no actor with its creation key lives) and, at
// the top, the gate wave: soldiers leave the gate until its counter runs out
// at -16, which lets the hero walk out.  Everything is keyed on ViewTop.

#include <vector>

namespace game {

void RunSpawnScript();

// The gate counter after the wave's last step: from here the exit is open.
inline constexpr int kGateWaveEnd = -16;

// The parts, in the order RunSpawnScript runs them.
void RunAreaChain();  // the chain of Level, every rule in table order
void RunGateWave();   // one step of the gate wave when it is due

// The rules of the current chain that fired since the last call (their
// indices in the chain), for the test runs that check that every rule of an
// area fires; nullptr switches the recording off.
void RecordFiredRules(std::vector<bool>* fired);

}  // namespace game
