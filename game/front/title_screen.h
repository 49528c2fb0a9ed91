#pragma once
// TTitlescreen: credits, then eight slides of the demo map, five seconds
// each, then the high-score table.  Fire starts a game at area 1, F9 opens
// the options, Escape ends the program.

#include "framework/screen.h"

namespace game {

class TTitlescreen : public fw::TScreen {
public:
    int imagen_nivel = 0;  // 0 credits, 1..8 map views
    double oldt = 0;       // when the slide changed
    double newt = 0;       // this tick

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
    virtual void ToggleGodMode();
    virtual void m_escribe_credits();
    virtual void m_escribe_press_fire();
    virtual void m_dibuja_pantallas();
};

}  // namespace game
