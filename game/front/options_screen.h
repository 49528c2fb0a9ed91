#pragma once
// TOptionScreen: one page of function-key settings: control mode, key
// redefinition, window resolution, full screen and clearing the high
// scores.  F9 leaves and applies a changed resolution, Escape leaves
// without it.

#include <string>

#include "framework/screen.h"

namespace game {

class TOptionScreen : public fw::TScreen {
public:
    int resolucion_ini_opciones = 800;  // window width on entering
    int resolucion = 800;               // window width chosen here

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
    virtual void ToggleControlMode();
    virtual void CambiaTextoResolucion();
    virtual void ToggleFullScreenOption();
    virtual void ToggleVidasInfinitas();
    virtual void m_go_to_RedefineKeysScreen();
    virtual void m_Ini_HighScores();
    // "OPENGL" for the driver in use ("DX7"/"DX9" do not exist here).
    static std::string GraphicsDriverName();
};

}  // namespace game
