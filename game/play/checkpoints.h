#pragma once
// Checkpoints: after a lost life the view goes back to the area's last
// checkpoint below the place of death, the actors standing there are made
// again and the hero walks in at the bottom of the view.  And the bridge
// overlay: inside per-area windows the bridge grenadiers and motorbike riders
// are drawn over the map's front layer.

#include <vector>

namespace game {

// One creation call of a checkpoint, with the arguments of its creation
// function (see TPlayHooks).
struct CheckpointCall {
    enum Kind {
        GuardIni,          // (x, row)
        TrenchIni,         // (x, row, delay)
        Pickup,            // (x, row)
        BridgeGrenadier,   // (row)
        Swimmer,           // (x, row)
        Motorbike,         // (row)
        MotorbikeLeft,     // (row)
        Grenadier,         // (row, dir)
        Bazooka,           // (key, dir)
        Runner,            // (x, key)
        Rider,             // (row)
        Cannon,            // (x, key, dir)
        DoorRunner9or8,    // (x, row): runner with a random direction 9 or 8
        DoorSoldier7or8,   // (x, row): runner or grenadier, random direction 7 or 8
        DoorSoldier9or8,   // (x, row): the same with 9 or 8
    };
    Kind kind;
    float a = 0;
    int b = 0;
    int c = 0;
};

// A band holds when ViewTop > threshold (or, for the last band of an area,
// ViewTop >= 0); the first band that holds decides.
struct CheckpointBand {
    int threshold;
    bool last;
    int view;  // the new ViewTop
    std::vector<CheckpointCall> calls;
};

// The bands of an area 1..8 in table order (empty for other areas).
const std::vector<CheckpointBand>& CheckpointBands(int level);

// After a lost life with lives left: the view back to the checkpoint, its
// actors made again, the hero back at the bottom of the view (state 44,
// facing up), and on areas 2 and 6 every hut standing again.
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
