#pragma once
// THighScoresScreen: the eight rows of the high-score table for ten seconds,
// then back to the title screen.

#include "framework/screen.h"

namespace game {

class THighScoresScreen : public fw::TScreen {
public:
    int x_text = 72;    // left edge of the table
    int y_text = 50;    // top of the first row
    int ind = 0;        // row counter while drawing
    double tim = 0;     // when the screen started
    double newtim = 0;  // this tick

    void Load() override;
    void Start() override;
    void Logic() override;
    void Draw() override;
};

}  // namespace game
