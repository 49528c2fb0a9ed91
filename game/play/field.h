#pragma once
// What every actor of the play field uses, without knowing the hero: the
// millisecond clock of the play, the game's sounds, the box overlap test,
// the deadly map cells and the values that grow with the stage.

#include "game/globals.h"
#include "platform/core/object.h"

namespace fw {
class TGameSound;
}

namespace game {

// Walks an actor list first to last and calls `act` for every entry of class
// T.  An actor may remove itself or another entry meanwhile; the walk goes
// on with the entry that followed.
template <class T, class List, class F>
void EachOf(const List& list, F&& act) {
    for (const auto& object : list)
        if (auto* actor = dynamic_cast<T*>(object.get())) act(*actor);
}

// The millisecond clock of the level play (the platform's injectable clock).
double PlayMilliSecs();

// Plays one of the game's sounds through the shell's channel pool.
void PlayGameSound(const plat::Ref<fw::TGameSound>& sound);

// 1 when the boxes overlap; edges that only touch count as overlap.
int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// 1 when the map cell under the pixel is deadly (water, pits); never on area 1.
int TileFlagAt(int x, int y);
int RoundToNearest(float v);

// The lowest map row an actor may stand on: the last two map rows stay below
// the view.
float MapBottom();
// Whether an actor at map position (x, y) has left the window it lives in:
// beside the field (the limits 0 and 320 themselves are inside), more than
// 42 rows above the view or below it, or off the map's playable rows.
bool OutsideActorWindow(float x, float y);

// A value by the areas started in this game (Stage): `early` on stages 1 to
// `lastEarly`, `middle` up to `lastMiddle`, `late` on any other (stage 0 or
// below too).
template <class T>
T ByStage(int lastEarly, T early, int lastMiddle, T middle, T late) {
    if (Stage >= 1 && Stage <= lastEarly) return early;
    if (Stage > lastEarly && Stage <= lastMiddle) return middle;
    return late;
}

}  // namespace game
