#pragma once
// 2D drawing into the back buffer, in virtual coordinates.  One global
// drawing state (colour, alpha, blend, scale, rotation, origin, handle,
// viewport) applies to every operation.
//
// Blend modes, with src = texel x colour and a = texel alpha x alpha:
//   MASKBLEND  1  src opaque where a >= 0.5, nothing elsewhere
//   SOLIDBLEND 2  dst = src
//   ALPHABLEND 3  dst = src*a + dst*(1-a)
//   LIGHTBLEND 4  dst = dst + src*a
//   SHADEBLEND 5  dst = dst * src
// A drawn point lands at origin + (x, y) + R(rotation) * S(scale) * (p - handle),
// rotation in degrees clockwise on screen.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace plat {

enum BlendMode { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

void SetColor(int r, int g, int b);
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetRotation(float degrees);
float GetRotation();
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// An extra handle applied to primitives and text (images use their own).
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
// Clips drawing to the rectangle (virtual coordinates); the origin stays.
void SetViewport(int x, int y, int w, int h);
void GetViewport(int& x, int& y, int& w, int& h);
void SetClsColor(int r, int g, int b);
void GetClsColor(int& r, int& g, int& b);
void SetLineWidth(float width);
float GetLineWidth();

// Clears the whole back buffer, letterbox bars included.
void Cls();
void Plot(float x, float y);
void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel = true);
void DrawRect(float x, float y, float w, float h);
void DrawOval(float x, float y, float w, float h);
// The current image font, top-left of the text at (x, y).  In SOLIDBLEND
// only the glyphs' pixels are drawn (opaque), as in MASKBLEND.
void DrawText(const std::string& text, float x, float y);
void DrawImage(const Ref<TImage>& image, float x, float y, int frame = 0);
// The image stretched to w x h.
void DrawImageRect(const Ref<TImage>& image, float x, float y, float w, float h, int frame = 0);
// Source rectangle (sx, sy, sw, sh) of the frame drawn into (x, y, w, h);
// the handle (hx, hy) is in target units.
void DrawSubImageRect(const Ref<TImage>& image, float x, float y, float w, float h, float sx,
                      float sy, float sw, float sh, float hx = 0, float hy = 0, int frame = 0);
void TileImage(const Ref<TImage>& image, float x = 0, float y = 0, int frame = 0);

// Collision layers: the image's opaque pixels tested against / written into
// 32 bit-mask layers; returns the ids of the objects hit.
std::vector<Ref<Object>> CollideImage(const Ref<TImage>& image, float x, float y, int frame,
                                      unsigned testMask, unsigned writeMask,
                                      const Ref<Object>& id = nullptr);
std::vector<Ref<Object>> CollideRect(float x, float y, float w, float h, unsigned testMask,
                                     unsigned writeMask, const Ref<Object>& id = nullptr);
void ResetCollisions(unsigned mask = 0);

// --- renderers -------------------------------------------------------------
// One draw call as the recording renderer logs it.
struct DrawRecord {
    enum Kind { CLS, PLOT, LINE, RECT, OVAL, IMAGE, TEXT } kind = CLS;
    // The state at the call.
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = ALPHABLEND;
    float scaleX = 1, scaleY = 1, rotation = 0, originX = 0, originY = 0;
    int vpX = 0, vpY = 0, vpW = 0, vpH = 0;
    // The call.
    float x = 0, y = 0, w = 0, h = 0, x2 = 0, y2 = 0;
    float sx = 0, sy = 0, sw = 0, sh = 0, hx = 0, hy = 0;
    const TImage* image = nullptr;
    int frame = 0;
    std::string text;  // TEXT: the whole text, drawn in the current font
};

// Switches drawing to a recorder that logs calls instead of drawing (no GL,
// no window needed); StopRecording returns to the GL renderer.
void StartRecording();
void StopRecording();
bool IsRecording();
const std::vector<DrawRecord>& RecordedCalls();
void ClearRecordedCalls();

}  // namespace plat
