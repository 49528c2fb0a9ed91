// The global drawing state and the drawing functions; the active back end
// (GL or the recorder) does the work.

#include "platform/gfx/draw.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/font.h"
#include "platform/gfx/gfx_internal.h"

namespace plat {

namespace gfx {

DrawState& State() {
    static DrawState s;
    return s;
}

Affine LocalToVirtual(const DrawState& s, float x, float y, float handleX, float handleY) {
    if (s.rotation == 0) {
        Affine m;
        m.a = s.scaleX;
        m.d = s.scaleY;
        m.tx = s.originX + x - s.scaleX * handleX;
        m.ty = s.originY + y - s.scaleY * handleY;
        return m;
    }
    const float rad = s.rotation * static_cast<float>(M_PI) / 180.f;
    const float cs = std::cos(rad), sn = std::sin(rad);
    // Clockwise on screen with y pointing down is the usual counter-clockwise
    // matrix in these coordinates.
    Affine m;
    m.a = cs * s.scaleX;
    m.b = -sn * s.scaleY;
    m.c = sn * s.scaleX;
    m.d = cs * s.scaleY;
    m.tx = s.originX + x - (m.a * handleX + m.b * handleY);
    m.ty = s.originY + y - (m.c * handleX + m.d * handleY);
    return m;
}

Renderer* RecorderIfActive();

Renderer& ActiveRenderer() {
    if (Renderer* r = RecorderIfActive()) return *r;
    return GLRenderer();
}

}  // namespace gfx

using gfx::ActiveRenderer;
using gfx::State;

void SetColor(int r, int g, int b) {
    auto& s = State();
    s.r = std::clamp(r, 0, 255);
    s.g = std::clamp(g, 0, 255);
    s.b = std::clamp(b, 0, 255);
}

void GetColor(int& r, int& g, int& b) {
    r = State().r;
    g = State().g;
    b = State().b;
}

void SetAlpha(float alpha) { State().alpha = std::clamp(alpha, 0.f, 1.f); }
float GetAlpha() { return State().alpha; }

void SetBlend(int mode) {
    if (mode >= MASKBLEND && mode <= SHADEBLEND) State().blend = mode;
}
int GetBlend() { return State().blend; }

void SetScale(float sx, float sy) {
    State().scaleX = sx;
    State().scaleY = sy;
}

void GetScale(float& sx, float& sy) {
    sx = State().scaleX;
    sy = State().scaleY;
}

void SetRotation(float degrees) { State().rotation = degrees; }
float GetRotation() { return State().rotation; }

void SetOrigin(float x, float y) {
    State().originX = x;
    State().originY = y;
}

void GetOrigin(float& x, float& y) {
    x = State().originX;
    y = State().originY;
}

void SetHandle(float x, float y) {
    State().handleX = x;
    State().handleY = y;
}

void GetHandle(float& x, float& y) {
    x = State().handleX;
    y = State().handleY;
}

void SetViewport(int x, int y, int w, int h) {
    auto& s = State();
    s.vpX = x;
    s.vpY = y;
    s.vpW = std::max(0, w);
    s.vpH = std::max(0, h);
}

void GetViewport(int& x, int& y, int& w, int& h) {
    x = State().vpX;
    y = State().vpY;
    w = State().vpW;
    h = State().vpH;
}

void SetClsColor(int r, int g, int b) {
    auto& s = State();
    s.clsR = std::clamp(r, 0, 255);
    s.clsG = std::clamp(g, 0, 255);
    s.clsB = std::clamp(b, 0, 255);
}

void GetClsColor(int& r, int& g, int& b) {
    r = State().clsR;
    g = State().clsG;
    b = State().clsB;
}

void SetLineWidth(float width) { State().lineWidth = width > 0 ? width : 1; }
float GetLineWidth() { return State().lineWidth; }

void Cls() { ActiveRenderer().Cls(State()); }
void Plot(float x, float y) { ActiveRenderer().Plot(State(), x, y); }

void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel) {
    ActiveRenderer().Line(State(), x1, y1, x2, y2, lastPixel);
}

void DrawRect(float x, float y, float w, float h) { ActiveRenderer().Rect(State(), x, y, w, h); }
void DrawOval(float x, float y, float w, float h) { ActiveRenderer().Oval(State(), x, y, w, h); }

void DrawText(const std::string& text, float x, float y) {
    if (text.empty()) return;
    auto font = GetImageFont();
    ActiveRenderer().Text(State(), *font, text, x, y);
}

void DrawImage(const Ref<TImage>& image, float x, float y, int frame) {
    if (!image || !image->HasFrame(frame)) return;
    const float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
    ActiveRenderer().Image(State(), *image, frame, x, y, w, h, 0, 0, w, h, image->handleX,
                           image->handleY);
}

void DrawImageRect(const Ref<TImage>& image, float x, float y, float w, float h, int frame) {
    if (!image || !image->HasFrame(frame)) return;
    const float iw = static_cast<float>(image->width), ih = static_cast<float>(image->height);
    // The handle stays at the same place relative to the stretched picture.
    const float hx = iw > 0 ? image->handleX * w / iw : 0;
    const float hy = ih > 0 ? image->handleY * h / ih : 0;
    ActiveRenderer().Image(State(), *image, frame, x, y, w, h, 0, 0, iw, ih, hx, hy);
}

void DrawSubImageRect(const Ref<TImage>& image, float x, float y, float w, float h, float sx,
                      float sy, float sw, float sh, float hx, float hy, int frame) {
    if (!image || !image->HasFrame(frame)) return;
    ActiveRenderer().Image(State(), *image, frame, x, y, w, h, sx, sy, sw, sh, hx, hy);
}

void TileImage(const Ref<TImage>& image, float x, float y, int frame) {
    if (!image || !image->HasFrame(frame) || image->width <= 0 || image->height <= 0) return;
    // Covers the viewport with copies of the frame, one of them at (x, y).
    const auto& s = State();
    const float w = static_cast<float>(image->width) * std::fabs(s.scaleX);
    const float h = static_cast<float>(image->height) * std::fabs(s.scaleY);
    if (w <= 0 || h <= 0) return;
    const float vx0 = static_cast<float>(s.vpX) - s.originX;
    const float vy0 = static_cast<float>(s.vpY) - s.originY;
    // One extra copy on each side covers a shift by the image's handle.
    const float startX = x - std::ceil((x - vx0) / w) * w - w;
    const float startY = y - std::ceil((y - vy0) / h) * h - h;
    const float endX = vx0 + static_cast<float>(s.vpW) + w;
    const float endY = vy0 + static_cast<float>(s.vpH) + h;
    for (float ty = startY; ty < endY; ty += h)
        for (float tx = startX; tx < endX; tx += w) DrawImage(image, tx, ty, frame);
}

}  // namespace plat
