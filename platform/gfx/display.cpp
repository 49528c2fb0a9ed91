// The window, the GL context, display modes and presenting frames.

#include "platform/gfx/display.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/core/clock.h"
#include "platform/gfx/gfx_internal.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/events.h"
#include "platform/sys/sys_internal.h"

namespace plat {
namespace {

struct Display {
    bool videoUp = false;
    bool videoFailed = false;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool open = false;
    bool fullScreen = false;
    int width = 0, height = 0, depth = 0, hertz = 60;
    int drawW = 0, drawH = 0;
    std::uint64_t generation = 1;

    bool virtualSet = false;
    float virtualW = 0, virtualH = 0;

    std::string title;
    Ref<TPixmap> icon;
    bool cursorVisible = true;

    GraphicsDriverKind driver = DRIVER_OPENGL;
    std::optional<std::vector<GraphicsMode>> injectedModes;
    bool refuseFullScreen = false, refuseWindow = false;  // tests

    // Pacing of Flip(-1) (and of Flip(1) when vertical sync is refused).
    double nextDeadline = 0;
    int swapInterval = -2;  // what was last asked of SDL
    bool vsyncWorks = false;
};

// Never destroyed: images released during exit still ask for the context.
Display& D() {
    static Display* d = new Display;
    return *d;
}

std::vector<GraphicsMode> SystemModes() {
    std::vector<GraphicsMode> modes;
    if (!gfx::EnsureVideo()) return modes;
    int n = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < n; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        GraphicsMode g;
        g.width = m.w;
        g.height = m.h;
        g.depth = static_cast<int>(SDL_BITSPERPIXEL(m.format));
        g.hertz = m.refresh_rate;
        modes.push_back(g);
    }
    return modes;
}

std::vector<GraphicsMode> Modes() {
    if (D().injectedModes) return *D().injectedModes;
    return SystemModes();
}

void UpdateDrawingSpace();

void UpdateDrawableSize() {
    Display& d = D();
    if (!d.window) return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(d.window, &w, &h);
    if (w <= 0 || h <= 0) SDL_GetWindowSize(d.window, &w, &h);
    d.drawW = w;
    d.drawH = h;
    UpdateDrawingSpace();
}

// The back buffer follows the drawing space: the virtual resolution when
// one is set, otherwise the window's size.
void UpdateDrawingSpace() {
    Display& d = D();
    if (!d.open || !d.context) return;
    const int w = d.virtualSet ? static_cast<int>(std::ceil(d.virtualW)) : d.width;
    const int h = d.virtualSet ? static_cast<int>(std::ceil(d.virtualH)) : d.height;
    const auto fine = static_cast<int>(std::floor(gfx::CurrentLetterbox().scale + 1e-4f));
    gfx::GLSetDrawingSpace(w, h, std::max(1, fine));
}

void ApplyCursor() {
    if (D().videoUp) SDL_ShowCursor(D().cursorVisible ? SDL_ENABLE : SDL_DISABLE);
}

void ApplyIcon() {
    Display& d = D();
    if (!d.window || !d.icon) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
        d.icon->pixels.data(), d.icon->width, d.icon->height, 32, d.icon->width * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(d.window, s);
    SDL_FreeSurface(s);
}

bool OpenWindow(int w, int h, bool fullScreen) {
    Display& d = D();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    d.window = SDL_CreateWindow(d.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w,
                                h, flags);
    if (!d.window) {
        // Some systems refuse 8-bit channels on the window surface; the
        // back buffer is ours anyway.
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 0);
        d.window = SDL_CreateWindow(d.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                    SDL_WINDOWPOS_CENTERED, w, h, flags);
    }
    if (!d.window) return false;
    d.context = SDL_GL_CreateContext(d.window);
    if (!d.context) {
        SDL_DestroyWindow(d.window);
        d.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(d.window, d.context);
    d.swapInterval = -2;
    d.drawW = d.drawH = 0;
    gfx::GLContextCreated();
    UpdateDrawableSize();
    if (d.drawW <= 0 || d.drawH <= 0) {
        gfx::GLContextDestroying();
        SDL_GL_DeleteContext(d.context);
        SDL_DestroyWindow(d.window);
        d.context = nullptr;
        d.window = nullptr;
        return false;
    }
    SDL_StartTextInput();
    ApplyIcon();
    ApplyCursor();
    return true;
}

// The first display's desktop mode, when the video subsystem knows it.
std::optional<SDL_DisplayMode> DesktopMode() {
    SDL_DisplayMode m;
    if (!gfx::EnsureVideo() || SDL_GetDesktopDisplayMode(0, &m) != 0) return std::nullopt;
    return m;
}

void SetSwapInterval(int interval) {
    Display& d = D();
    if (d.swapInterval == interval) return;
    d.swapInterval = interval;
    bool ok = SDL_GL_SetSwapInterval(interval) == 0;
    d.vsyncWorks = interval == 1 && ok && SDL_GL_GetSwapInterval() == 1;
}

// Sleeps (or moves a manual clock on) to the next 1/hz deadline.  The
// deadlines keep their fractions, so 60 Hz really gives 60 frames a second.
void Pace(int hz) {
    Display& d = D();
    if (hz <= 0) hz = 60;
    const double period = 1000.0 / hz;
    const auto now = static_cast<double>(MilliSecs64());
    // A late frame (or the first) starts a new series of deadlines.
    if (d.nextDeadline <= 0 || now > d.nextDeadline + period || d.nextDeadline > now + period)
        d.nextDeadline = now;
    d.nextDeadline += period;
    const auto wait = static_cast<std::int64_t>(std::ceil(d.nextDeadline - now - 1e-6));
    if (wait <= 0) return;
    if (ClockIsManual())
        AdvanceManualClock(wait);
    else
        SleepMs(static_cast<int>(wait));
}

}  // namespace

// --- internal hooks -----------------------------------------------------------
namespace gfx {

bool EnsureVideo() {
    Display& d = D();
    if (d.videoUp) return true;
    if (d.videoFailed) return false;
    sys::AllowUnfocusedJoysticksWhenHeadless();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        d.videoFailed = true;
        return false;
    }
    d.videoUp = true;
    // Keeps the GL driver loaded for the whole run: closing and re-opening
    // the window then does not reload it.
    SDL_GL_LoadLibrary(nullptr);
    return true;
}

bool HeadlessVideo() {
    return !D().videoUp || sys::IsHeadlessVideoDriver(SDL_GetCurrentVideoDriver());
}

void DisplaySizeChanged() { UpdateDrawableSize(); }

float DrawablePerWindowPixel() {
    Display& d = D();
    if (!d.window) return 1;
    int w = 0, h = 0;
    SDL_GetWindowSize(d.window, &w, &h);
    return w > 0 && d.drawW > 0 ? static_cast<float>(d.drawW) / static_cast<float>(w) : 1.f;
}

Letterbox CurrentLetterbox() {
    Display& d = D();
    Letterbox lb;
    lb.virtualW = VirtualResolutionWidth();
    lb.virtualH = VirtualResolutionHeight();
    float dw = static_cast<float>(d.open ? d.drawW : d.width);
    float dh = static_cast<float>(d.open ? d.drawH : d.height);
    if (lb.virtualW <= 0 || lb.virtualH <= 0 || dw <= 0 || dh <= 0) return lb;
    lb.scale = std::min(dw / lb.virtualW, dh / lb.virtualH);
    // Whole device pixels for the bars keep the picture on the pixel grid.
    lb.offsetX = std::floor((dw - lb.virtualW * lb.scale) / 2);
    lb.offsetY = std::floor((dh - lb.virtualH * lb.scale) / 2);
    return lb;
}

std::uint64_t ContextGeneration() { return D().generation; }
bool ContextReady() { return D().context != nullptr; }

}  // namespace gfx

// --- drivers and modes -----------------------------------------------------
bool DriverExists(GraphicsDriverKind kind) { return kind == DRIVER_OPENGL; }

void SetGraphicsDriver(GraphicsDriverKind kind, int defaultImageFlags) {
    if (DriverExists(kind)) D().driver = kind;
    gfx::SetDriverImageFlags(defaultImageFlags);
}

GraphicsDriverKind CurrentGraphicsDriver() { return D().driver; }
std::string GraphicsDriverName() { return "OPENGL"; }

int CountGraphicsModes() { return static_cast<int>(Modes().size()); }

GraphicsMode GetGraphicsMode(int index) {
    auto modes = Modes();
    if (index < 0 || index >= static_cast<int>(modes.size())) return {};
    return modes[static_cast<std::size_t>(index)];
}

namespace {

bool ModeMatches(const GraphicsMode& m, int width, int height, int depth, int hz) {
    if (m.width != width || m.height != height) return false;
    if (hz != 0 && m.hertz != hz) return false;
    // A 24-bit XRGB mode is what a 32-bit request gets.
    return depth == 0 || m.depth == depth || (depth == 32 && m.depth == 24);
}

}  // namespace

bool GraphicsModeExists(int width, int height, int depth, int hz) {
    if (width <= 0 || height <= 0) return false;
    for (const GraphicsMode& m : Modes())
        if (ModeMatches(m, width, height, depth, hz)) return true;
    // Full screen never switches the display: it is a desktop-size window
    // with the picture letterboxed, so every size that fits on the desktop
    // is there, at the desktop's depth and rate, whatever modes are listed.
    const auto desktop = DesktopMode();
    if (!desktop || width > desktop->w || height > desktop->h) return false;
    GraphicsMode d;
    d.width = width;
    d.height = height;
    d.depth = static_cast<int>(SDL_BITSPERPIXEL(desktop->format));
    d.hertz = desktop->refresh_rate > 0 ? desktop->refresh_rate : 60;
    return ModeMatches(d, width, height, depth, hz);
}

void SetGraphicsModesForTests(const std::vector<GraphicsMode>& modes) {
    if (modes.empty())
        D().injectedModes.reset();
    else
        D().injectedModes = modes;
}

void ClearGraphicsModesForTests() { D().injectedModes.reset(); }

void RefuseGraphicsForTests(bool fullScreen, bool window) {
    D().refuseFullScreen = fullScreen;
    D().refuseWindow = window;
}

// --- opening and closing ------------------------------------------------------
Ref<TGraphics> Graphics(int width, int height, int depth, int hz) {
    Display& d = D();
    if (width <= 0 || height <= 0) return nullptr;
    if (!gfx::EnsureVideo()) return nullptr;
    bool full = depth > 0;
    if (full ? d.refuseFullScreen : d.refuseWindow) return nullptr;
    if (full && !GraphicsModeExists(width, height, depth)) return nullptr;
    if (hz <= 0) hz = 60;

    if (d.window) {
        gfx::GLFlush();
        if (SDL_SetWindowFullscreen(d.window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
            return nullptr;
        if (!full) {
            SDL_SetWindowSize(d.window, width, height);
            SDL_SetWindowPosition(d.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        UpdateDrawableSize();
    } else if (!OpenWindow(width, height, full)) {
        return nullptr;
    }
    d.open = true;
    d.fullScreen = full;
    d.width = width;
    d.height = height;
    d.depth = depth;
    d.hertz = hz;
    d.nextDeadline = 0;
    if (d.virtualSet) {
        SetVirtualResolution(d.virtualW, d.virtualH);
    } else {
        UpdateDrawingSpace();
        SetViewport(0, 0, width, height);
    }
    auto g = New<TGraphics>();
    g->width = width;
    g->height = height;
    g->depth = depth;
    g->hertz = hz;
    return g;
}

void EndGraphics() {
    Display& d = D();
    if (d.context) {
        gfx::GLContextDestroying();
        SDL_GL_DeleteContext(d.context);
        d.context = nullptr;
        ++d.generation;
    }
    if (d.window) {
        SDL_DestroyWindow(d.window);
        d.window = nullptr;
    }
    d.open = false;
    d.fullScreen = false;
    d.drawW = d.drawH = 0;
}

bool GraphicsOpen() { return D().open; }
int GraphicsWidth() { return D().open ? D().width : 0; }
int GraphicsHeight() { return D().open ? D().height : 0; }
int DrawableWidth() { return D().open ? D().drawW : 0; }
int DrawableHeight() { return D().open ? D().drawH : 0; }
bool IsFullScreen() { return D().open && D().fullScreen; }

void Flip(int sync) {
    Display& d = D();
    if (d.open && d.context) {
        gfx::GLFlush();
        SetSwapInterval(sync == 1 ? 1 : 0);
        gfx::GLPresent(d.drawW, d.drawH);
        SDL_GL_SwapWindow(d.window);
        if (sync == -1 || (sync == 1 && !d.vsyncWorks)) Pace(d.hertz);
    }
    PumpEvents();
}

// --- virtual resolution -------------------------------------------------------
void SetVirtualResolution(float width, float height) {
    Display& d = D();
    if (width <= 0 || height <= 0) return;
    gfx::GLFlush();
    d.virtualSet = true;
    d.virtualW = width;
    d.virtualH = height;
    UpdateDrawingSpace();
    SetViewport(0, 0, static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

float VirtualResolutionWidth() {
    return D().virtualSet ? D().virtualW : static_cast<float>(D().open ? D().width : 0);
}
float VirtualResolutionHeight() {
    return D().virtualSet ? D().virtualH : static_cast<float>(D().open ? D().height : 0);
}
float VirtualScale() { return gfx::CurrentLetterbox().scale; }
float VirtualOffsetX() { return gfx::CurrentLetterbox().offsetX; }
float VirtualOffsetY() { return gfx::CurrentLetterbox().offsetY; }

// --- window ---------------------------------------------------------------
void AppTitle(const std::string& title) {
    D().title = title;
    if (D().window) SDL_SetWindowTitle(D().window, title.c_str());
}

std::string CurrentAppTitle() { return D().title; }

bool SetWindowIconFromFile(const std::string& pngPath) {
    auto p = LoadPixmap(pngPath);
    if (!p) return false;
    D().icon = p;
    ApplyIcon();
    return true;
}

void ShowMouse() {
    D().cursorVisible = true;
    ApplyCursor();
}

void HideMouse() {
    D().cursorVisible = false;
    ApplyCursor();
}

void MoveMouse(int x, int y) {
    if (D().window) SDL_WarpMouseInWindow(D().window, x, y);
}

int DesktopWidth() {
    const auto m = DesktopMode();
    return m ? m->w : -1;
}

int DesktopHeight() {
    const auto m = DesktopMode();
    return m ? m->h : -1;
}

int DesktopRefreshRate() {
    const auto m = DesktopMode();
    return m && m->refresh_rate > 0 ? m->refresh_rate : 60;
}

int WindowHandle() { return D().window ? static_cast<int>(SDL_GetWindowID(D().window)) : 0; }

bool WindowHasFocus() {
    Display& d = D();
    if (!d.window) return false;
    if (gfx::HeadlessVideo()) return true;
    return (SDL_GetWindowFlags(d.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

int ActiveWindowHandle() { return WindowHasFocus() ? WindowHandle() : 0; }

void GetWindowRect(int& x, int& y, int& w, int& h) {
    x = y = w = h = 0;
    Display& d = D();
    if (!d.window) return;
    SDL_GetWindowPosition(d.window, &x, &y);
    SDL_GetWindowSize(d.window, &w, &h);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(d.window, &top, &left, &bottom, &right) == 0) {
        x -= left;
        y -= top;
        w += left + right;
        h += top + bottom;
    }
}

void GetClientRect(int& x, int& y, int& w, int& h) {
    x = y = w = h = 0;
    Display& d = D();
    if (!d.window) return;
    SDL_GetWindowPosition(d.window, &x, &y);
    SDL_GetWindowSize(d.window, &w, &h);
}

void CenterWindow() {
    Display& d = D();
    if (!d.window || d.fullScreen) return;
    int dw = DesktopWidth(), dh = DesktopHeight();
    int w = 0, h = 0;
    SDL_GetWindowSize(d.window, &w, &h);
    if (dw > 0 && dh > 0) {
        // The whole window, frame included, goes where its centre meets the
        // desktop's: each half taken on its own (desktop / 2 - window / 2).
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(d.window, &top, &left, &bottom, &right) != 0)
            top = left = bottom = right = 0;
        const int frameW = w + left + right, frameH = h + top + bottom;
        SDL_SetWindowPosition(d.window, dw / 2 - frameW / 2 + left, dh / 2 - frameH / 2 + top);
    } else
        SDL_SetWindowPosition(d.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void MinimizeWindow() {
    if (D().window) SDL_MinimizeWindow(D().window);
}

void RemoveMinimizeBox() {}

void CursorPos(int& x, int& y) {
    int wx = 0, wy = 0;
    if (D().window) SDL_GetWindowPosition(D().window, &wx, &wy);
    int mx = 0, my = 0;
    if (D().videoUp) SDL_GetMouseState(&mx, &my);
    x = wx + mx;
    y = wy + my;
}

}  // namespace plat
