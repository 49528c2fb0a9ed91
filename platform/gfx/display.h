#pragma once
// Drawing drivers, display modes, the window and presenting frames.
//
// One window and one GL context for the whole run.  "Full screen" is a
// borderless desktop-size window with the picture scaled and letterboxed; a
// window is ScreenWidth x ScreenHeight.  Everything is drawn into an
// off-screen back buffer of the drawing space's size (the virtual
// resolution, or the window's size without one), which survives Flip (a
// panel may draw over the last frame) and re-opens, and which Flip scales
// once onto the window with every pixel equally wide.

#include <string>
#include <vector>

#include "platform/core/object.h"

namespace plat {

enum GraphicsDriverKind { DRIVER_D3D9 = 0, DRIVER_OPENGL = 1, DRIVER_D3D7 = 2 };

// Only OpenGL exists here.
bool DriverExists(GraphicsDriverKind kind);
// Selects the driver; also sets the automatic image flags (see image.h).
void SetGraphicsDriver(GraphicsDriverKind kind, int defaultImageFlags = 2);
GraphicsDriverKind CurrentGraphicsDriver();
std::string GraphicsDriverName();  // "OPENGL"

struct GraphicsMode {
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel
    int hertz = 0;
};

int CountGraphicsModes();
GraphicsMode GetGraphicsMode(int index);
// Whether Graphics() can open width x height at that depth and rate: a mode
// the display lists, or any size that fits on the desktop at the desktop's
// depth and rate (full screen is a desktop-size window, so the display's
// mode list does not limit it).  hz 0 accepts any rate; depth 0 accepts any
// depth.  A 24-bit mode also answers for 32 bits.
bool GraphicsModeExists(int width, int height, int depth = 0, int hz = 0);
// Replaces the mode list the display reports (tests); empty restores it.
// The desktop stays the real one.
void SetGraphicsModesForTests(const std::vector<GraphicsMode>& modes);
void ClearGraphicsModesForTests();
// While set, Graphics() fails for full screen and / or a window, as on a
// display that refuses them (tests).
void RefuseGraphicsForTests(bool fullScreen, bool window);

class TGraphics : public Object {
public:
    int width = 0, height = 0, depth = 0, hertz = 0;
};

// depth 0: a window; depth > 0: full screen at that mode.  Re-opening keeps
// the window and context (images survive).  nullptr on failure.
Ref<TGraphics> Graphics(int width, int height, int depth = 0, int hz = 60);
void EndGraphics();  // images survive; their textures are rebuilt later
bool GraphicsOpen();
int GraphicsWidth();   // the size asked for in Graphics()
int GraphicsHeight();
int DrawableWidth();   // device pixels of the window
int DrawableHeight();
bool IsFullScreen();

// 1 vertical sync, 0 none, -1 paced by the mode's refresh rate.  Presents
// the back buffer (which keeps its content) and pumps events.
void Flip(int sync = -1);

// The logical drawing space mapped onto the window, centred with the aspect
// kept (bars in the colour of the last Cls).  Applies until changed;
// survives re-opens.  The back buffer takes its size (rounded up).
void SetVirtualResolution(float width, float height);
float VirtualResolutionWidth();
float VirtualResolutionHeight();
// Virtual <-> window pixels, letterbox included.
float VirtualScale();
float VirtualOffsetX();
float VirtualOffsetY();

void AppTitle(const std::string& title);  // before or after the window opens
std::string CurrentAppTitle();
bool SetWindowIconFromFile(const std::string& pngPath);

void ShowMouse();
void HideMouse();
void MoveMouse(int x, int y);  // window pixels

int DesktopWidth();   // -1 when unknown
int DesktopHeight();
int DesktopRefreshRate();  // 0 from the display becomes 60

// The window's id (0 when none), position and focus.
int WindowHandle();
int ActiveWindowHandle();  // the focused window of ours, or 0
bool WindowHasFocus();
void GetWindowRect(int& x, int& y, int& w, int& h);  // frame included
void GetClientRect(int& x, int& y, int& w, int& h);  // drawable area, screen coordinates
void CenterWindow();
void MinimizeWindow();
void RemoveMinimizeBox();  // decorations belong to the window manager: no effect
// Shown in place of the system pointer's global position: the pointer
// position in screen coordinates (window position + pointer).
void CursorPos(int& x, int& y);

}  // namespace plat
