#pragma once
// Shared by the graphics modules of the layer only (never included outside
// platform/): the drawing state, the renderer interface and the hooks
// between the display, the GL back end and the images.

#include <cstdint>
#include <string>

#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"

namespace plat::gfx {

struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = ALPHABLEND;
    float scaleX = 1, scaleY = 1;
    float rotation = 0;
    float originX = 0, originY = 0;
    float handleX = 0, handleY = 0;
    int vpX = 0, vpY = 0, vpW = 0, vpH = 0;
    int clsR = 0, clsG = 0, clsB = 0;
    float lineWidth = 1;
};

DrawState& State();

// A 2D affine map: (x, y) -> (a*x + b*y + tx, c*x + d*y + ty).
struct Affine {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    void Apply(float x, float y, float& ox, float& oy) const {
        ox = a * x + b * y + tx;
        oy = c * x + d * y + ty;
    }
};

// The map from an object's local coordinates to virtual coordinates:
// origin + (x, y) + R(rotation) * S(scale) * (p - handle).
Affine LocalToVirtual(const DrawState& s, float x, float y, float handleX, float handleY);

// What the drawing functions hand to the active back end.
class Renderer {
public:
    virtual ~Renderer() = default;
    virtual void Cls(const DrawState& s) = 0;
    virtual void Plot(const DrawState& s, float x, float y) = 0;
    virtual void Line(const DrawState& s, float x1, float y1, float x2, float y2,
                      bool lastPixel) = 0;
    virtual void Rect(const DrawState& s, float x, float y, float w, float h) = 0;
    virtual void Oval(const DrawState& s, float x, float y, float w, float h) = 0;
    // The source rectangle (sx, sy, sw, sh) of a frame into (x, y, w, h)
    // with the handle (hx, hy) in target units.
    virtual void Image(const DrawState& s, TImage& image, int frame, float x, float y,
                       float w, float h, float sx, float sy, float sw, float sh, float hx,
                       float hy) = 0;
    virtual void Text(const DrawState& s, TImageFont& font, const std::string& text, float x,
                      float y) = 0;
};

Renderer& ActiveRenderer();
Renderer& GLRenderer();

// --- display -> back end ---------------------------------------------------
// Where the drawing space shows on the drawable, in device pixels.
struct Letterbox {
    float scale = 1;
    float offsetX = 0, offsetY = 0;
    float virtualW = 0, virtualH = 0;
    bool operator==(const Letterbox&) const = default;
};
Letterbox CurrentLetterbox();
// Bumped whenever a GL context goes away; textures of an older generation
// are rebuilt before use.
std::uint64_t ContextGeneration();
bool ContextReady();

// Implemented by the GL back end, called by the display.
void GLContextCreated();     // after a context is made current
void GLContextDestroying();  // before it goes
// The back buffer holds the drawing space of width x height virtual pixels,
// at one buffer pixel per virtual pixel, or at fineFactor (the whole part of
// the window's scale) while frames draw pictures scaled by a fraction or
// turned.  A new size keeps the picture (scaled).
void GLSetDrawingSpace(int width, int height, int fineFactor);
void GLFlush();              // draws pending batches
// After GL state was changed behind the back end's back: the back buffer,
// its projection and the tracked state are set up again.
void GLForgetState();
// Scales the back buffer onto the window's framebuffer of width x height
// (before the swap).
void GLPresent(int width, int height);
// Pixels of the back buffer (drawing space), rows top to bottom, ARGB opaque.
Ref<TPixmap> GLReadBack(int x, int y, int w, int h);
// The whole picture as a window of width x height shows it, bars included.
Ref<TPixmap> GLReadWindowPicture(int width, int height);
// Creates (or refreshes) the textures of an image's frame now.
void GLPrepareFrame(TImage& image, int frame);

// Called by the event pump when the window's size may have changed.
void DisplaySizeChanged();
// True under a video driver without a window manager (offscreen, dummy):
// there the one window counts as focused.
bool HeadlessVideo();
// Brings up SDL's video subsystem (idempotent); false when it cannot.
bool EnsureVideo();
// The drawable size divided by the window size (HiDPI), 1 without a window.
float DrawablePerWindowPixel();

// The default image flags used with flags -1 (set by the driver choice too).
void SetDriverImageFlags(int flags);

}  // namespace plat::gfx
