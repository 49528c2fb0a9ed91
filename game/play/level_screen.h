#pragma once
// TLevelScreen: the screen on which an area is played.  It loads the area's
// map, makes the hero and then runs the tick of play in a fixed order of
// passes; once per frame it draws the map's back layer, the actors, the
// front layer and the status line.  It also owns the extra-life rule and
// Escape back to the title.  The play field is 320 x 160 pixels with its top
// edge at screen row 26.

#include <string>

#include "framework/screen.h"
#include "platform/core/object.h"

namespace fw {
class TGameSound;
}

namespace game {

class TLevelScreen : public fw::TScreen {
public:
    plat::Ref<fw::TGameSound> snd_vida_extra;

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
    // Resets the level: a new game's values when coming from the title, the
    // lists emptied, the hero made, the fixed scenery of the area placed.
    virtual void InitLevelStats();
    // One extra life per tick while the score has passed the next threshold.
    virtual void m_Mira_vida_extra();
};

// The map file of an area 1..8 ("" for any other).
const char* LevelMapFile(int level);
// Frees GameMap and loads `file` into it (two layers above the base); a map
// that cannot be read ends the program with "Error loading file " + file
// instead of playing an empty field.
void LoadGameMap(const std::string& file);

}  // namespace game
