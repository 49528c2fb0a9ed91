// TGame: graphics set-up, the window and display switches.

#include <algorithm>

#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/ini.h"
#include "framework/input.h"
#include "framework/system.h"
#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/io/fs.h"
#include "platform/sys/events.h"
#include "platform/sys/system.h"

namespace fw {

void TGame::GraphicsCreate() {
    if (plat::CountGraphicsModes() <= 0)
        throw plat::RuntimeError("No 3D Hardware Found (could not count graphics modes.)");

    const bool d3d = plat::DriverExists(plat::DRIVER_D3D9);
    const bool gl = plat::DriverExists(plat::DRIVER_OPENGL);
    if (Driver == 0) {
        if (d3d) {
            if (!DirectXVersionOk()) {
                ReportError("Sorry, you need DirectX V9.0 or higher!", 1);
                return;
            }
            DirectXVersion = fw::DirectXVersion();
            plat::SetGraphicsDriver(plat::DRIVER_D3D9, 2);
        } else if (gl) {
            plat::SetGraphicsDriver(plat::DRIVER_OPENGL, 2);
            Driver = 1;
            IniUpdate(1);
        } else {
            throw plat::RuntimeError("No DirectX or OpenGL 3D Drivers Found!");
        }
    } else {
        if (gl) {
            plat::SetGraphicsDriver(plat::DRIVER_OPENGL, 2);
        } else if (d3d) {
            plat::SetGraphicsDriver(plat::DRIVER_D3D9, 2);
            Driver = 0;
            IniUpdate(1);
        } else {
            throw plat::RuntimeError("No DirectX or OpenGL 3D Drivers Found!");
        }
    }

    if (FirstTime) {
        FirstTime = 0;
        DesktopRefreshRate = 60;
        if (d3d) DesktopRefreshRate = plat::DesktopRefreshRate();
        DesktopWidth = plat::DesktopWidth();
        DesktopHeight = plat::DesktopHeight();
        // A stored size larger than this desktop would fail at every start.
        if (!UsableScreenSize(ScreenWidth, ScreenHeight)) {
            const std::string damage = UseDefaultScreenSize();
            if (ReportDamagedFile(Ini->Path(), damage)) IniUpdate(0);
        }
    }

    if (FullScreen == 1) {
        bool opened = false;
        for (int depth : {32, 24, 16}) {
            if (!plat::GraphicsModeExists(ScreenWidth, ScreenHeight, depth)) continue;
            if (plat::Graphics(ScreenWidth, ScreenHeight, depth, Hertz)) {
                Depth = depth;
                opened = true;
                break;
            }
        }
        if (opened) {
            WindowHandle = GetActiveWindowSafe();
        } else {
            ForceWindowedMode = 1;
            FullScreen = 0;
        }
    }
    if (FullScreen != 1) {
        FullScreen = 0;
        if (!plat::Graphics(ScreenWidth, ScreenHeight, 0, DesktopRefreshRate)) {
            const std::string message = "Cannot create Windowed Mode at " + std::to_string(ScreenWidth) + "x" +
                                        std::to_string(ScreenHeight) + " " +
                                        std::to_string(DesktopRefreshRate) + "Hz";
            // The settings may be what the window failed on: the next start
            // begins from the defaults instead of failing the same way.
            RestoreDefaultSettings(true);
            throw plat::RuntimeError(message);
        }
        Depth = 0;
        WindowHandle = GetActiveWindowSafe();
        plat::CenterWindow();
        SetWindowCoords();
        SetClientCoords();
        plat::RemoveMinimizeBox();
    }

    FlushInput();
    plat::FlushEvent();
    SetPriority();
    GameRefreshRate = -1;
    if (d3d) GameRefreshRate = plat::DesktopRefreshRate();

    const std::string icon = ImagePath + "icon.png";
    if (plat::FileType(icon) == plat::FILETYPE_FILE) plat::SetWindowIconFromFile(icon);
}

int TGame::GetActiveWindowSafe() {
    // The window just opened is the game's window (it need not have the
    // focus yet).
    return plat::WindowHandle();
}

void TGame::SetPriority() {
    const int process = FullScreen ? FullScreenProcess : WindowedProcess;
    const int thread = FullScreen ? FullScreenThread : WindowedThread;
    fw::SetProcessPriority(process, thread);
}

void TGame::SetWindowCoords() {
    int x = 0, y = 0, w = 0, h = 0;
    plat::GetWindowRect(x, y, w, h);
    WindowX = x;
    WindowY = y;
}

void TGame::SetClientCoords() {
    int x = 0, y = 0, w = 0, h = 0;
    plat::GetClientRect(x, y, w, h);
    ClientX = x;
    ClientY = y;
}

namespace {

// What every display change does after choosing the new mode.
void Reopen(TGame& game) {
    game.Mouse->ClearButtons();
    game.GraphicsCreate();
    if (UseVirtualResolution == 1)
        plat::SetVirtualResolution(static_cast<float>(VirtualWidth), static_cast<float>(VirtualHeight));
    game.RestoreMouseCoords();
    game.IniUpdate(1);
    game.FixedRateLogic->Init();
    game.FixedRateLogic->HistoryClear();
}

}  // namespace

void TGame::ToggleFullScreen() {
    if (FullScreen) {
        FullScreen = 0;
    } else {
        if (ForceWindowedMode) return;
        FullScreen = 1;
        plat::HideMouse();
    }
    Reopen(*this);
}

void TGame::ToggleResolution(int width, int height) {
    if (!plat::GraphicsModeExists(width, height) || !UsableScreenSize(width, height)) {
        plat::Notify("Resolution not supported!");
        plat::HideMouse();
        return;
    }
    ScreenWidth = width;
    ScreenHeight = height;
    Reopen(*this);
}

int TGame::SetDriver(int opengl) {
    const int wanted = opengl ? 1 : 0;
    if (wanted == Driver) return 0;
    Driver = wanted;
    plat::EndGraphics();
    GraphicsCreate();
    plat::MoveMouse(Mouse->x, Mouse->y);
    IniUpdate(1);
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    FlushInput();
    plat::FlushEvent();
    return 1;
}

void TGame::ToggleVSync() {
    VSync = 1 - VSync;
    IniUpdate(1);
    SetFlipSync();
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
}

void TGame::SetFlipSync() { FlipSync = VSync ? 1 : 0; }

void TGame::TakeScreenshot() {
    SaveScreenshot(UseCorrectPath ? SubPath : std::string());
    FlushKeyTables();
    FixedRateLogic->Init();
}

void TGame::RestoreMouseCoords() {
    if (FullScreen) {
        Mouse->x = std::clamp(Mouse->x, 0, ScreenWidth - 1 < 0 ? 0 : ScreenWidth - 1);
        Mouse->y = std::clamp(Mouse->y, 0, ScreenHeight - 1 < 0 ? 0 : ScreenHeight - 1);
    }
    if (plat::GraphicsOpen()) plat::MoveMouse(Mouse->x, Mouse->y);
}

}  // namespace fw
