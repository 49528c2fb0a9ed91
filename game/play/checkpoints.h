#pragma once
// Checkpoints: after a lost life the view goes back to the area's last
// checkpoint below the place of death, the actors standing there are made
// again and the hero walks in at the bottom of the view.  And the bridge
// overlay: inside per-area windows the bridge grenadiers and motorbike riders
// are drawn over the map's front layer.  Both tables are area tables
// (script/area_tables.h).

#include <span>

#include "game/play/script/area_tables.h"

namespace game {

// The bands of an area 1..8 in table order (empty for other areas).
std::span<const CheckpointBand> CheckpointBands(int level);

// After a lost life with lives left: the view back to the checkpoint, its
// actors made again, the hero back at the bottom of the view (state 44,
// facing up), and on the areas with huts every hut standing again.
void RestartFromCheckpoint();

// Once per frame, after the front layer: the riders and bridge grenadiers
// inside the area's overlay window.
void DrawWindowedEnemies();

// The overlay window of an area: whether it holds at this ViewTop, and
// which enemies it draws.
struct OverlayWindow {
    bool riders = false;            // estado 11
    bool bridgeGrenadiers = false;  // estado 18
};
OverlayWindow OverlayAt(int level, int viewTop);

}  // namespace game
