#pragma once
// The framework's drawing helpers over the platform's 2D layer: presenting a
// frame with the shell's flip setting, copying pixel rectangles between
// images, ARGB packing, blending an image into a pixmap, clipped, additive
// and digit drawing, text with a drop shadow and alignment, word wrapping,
// dimming, BMP files and PNG screenshots.
//
// Drawing operations put back colour 255,255,255, alpha 1 and alpha blending
// (or what they say) after they change them.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/core/object.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/io/stream.h"

namespace fw {

class TShadow;

// --- drawing state -------------------------------------------------------------
// 1: present with vertical sync; 0: without; -1: paced by the refresh rate
// (defined with the shell, which sets it).
extern int FlipSync;
// Where the black shadow of framework text goes, relative to the text.
extern float TextShadowX;
extern float TextShadowY;
// Shadow alpha, multiplied by TextAlpha.
extern float TextShadowAlpha;
// Alpha of framework text (set by fades and widgets).
extern float TextAlpha;

// --- presentation --------------------------------------------------------------
void FlipScreen();
void ResetDrawState();  // solid blend, alpha 1, colour 255,255,255
void ClearScreenToColor(int r, int g, int b);
void ClearToColour(int r, int g, int b);
void ClearScreenAndFlip(int r, int g, int b);
void DarkenRect(float alpha, float x, float y, float w, float h);
void FadeScreen(float alpha);
// Grabs the screen into a picture and fades it in (out 0) or out (out 1)
// over lengthMs in a TFade's blocking loop, the channel's volume following;
// returns what TFade::FadeDo returns (1 done, -1 cut short).
int StartScreenFade(float lengthMs, int out, const plat::Ref<plat::TChannel>& channel);

// --- images and pixmaps -------------------------------------------------------------
plat::Ref<plat::TImage> CopyImage(const plat::Ref<plat::TImage>& image);
void CopyImageRect(const plat::Ref<plat::TImage>& src, int sx, int sy, int w, int h,
                   const plat::Ref<plat::TImage>& dst, int dx, int dy);
// mode 0 plain, 1 mirrored left-right, 2 upside down, 3 both.
void CopyImageRectFlipped(const plat::Ref<plat::TImage>& src, int sx, int sy, int w, int h,
                          const plat::Ref<plat::TImage>& dst, int dx, int dy, int mode);
void PreloadImageFrames(const plat::Ref<plat::TImage>& image);
void DrawImageAreaScaled(const plat::Ref<plat::TImage>& image, float x, float y, float sx,
                         float sy, float w, float h, int frame);
void DrawImageRegion(const plat::Ref<plat::TImage>& image, float x, float y, int sx, int sy,
                     int w, int h);
void DrawImageInsideRect(const plat::Ref<plat::TImage>& image, float x, float y, float rx,
                         float ry, float rw, float rh, float dx, float dy);
void DrawImageClipped(const plat::Ref<plat::TImage>& image, float x, float y, float w, float h,
                      int frame);
// r, g, b 0..1, each scaled by intensity.
void DrawImageAdditive(const plat::Ref<plat::TImage>& image, float x, float y, float intensity,
                       float r, float g, float b, int frame);
// With a shadow, the shadow first (black at its alpha, at its offset), then
// the image or rectangle in the caller's colour and alpha.
void DrawImageWithShadow(const plat::Ref<plat::TImage>& image, float x, float y,
                         const plat::Ref<TShadow>& shadow);
// The same, centred on the screen.
void DrawImageCenteredWithShadow(const plat::Ref<plat::TImage>& image,
                                 const plat::Ref<TShadow>& shadow);
void DrawRectWithShadow(float x, float y, float w, float h, const plat::Ref<TShadow>& shadow);
void DrawRectOutline(float x, float y, float w, float h);
int ImageOverlapsRect(const plat::Ref<plat::TImage>& image, float x, float y, int frame, float rx,
                      float ry, float rw, float rh);
void SetImageHandleMode(const plat::Ref<plat::TImage>& image, int centred);
// Raises plat::RuntimeError("image doesnt exist") for a null image.
void BlendImageIntoPixmap(const plat::Ref<plat::TImage>& image, int frame,
                          const plat::Ref<plat::TPixmap>& pixmap, int x, int y, float alphaFactor,
                          float colourFactor);

int ARGBAlpha(std::uint32_t argb);
int ARGBRed(std::uint32_t argb);
int ARGBGreen(std::uint32_t argb);
int ARGBBlue(std::uint32_t argb);
// Each component clamped to 0..255.
std::uint32_t MakeARGB(int a, int r, int g, int b);

// A 24-bit BMP (bottom-up rows, BGR, rows padded to 4 bytes); false when a
// write failed.
bool WritePixmapBMP(const plat::Ref<plat::TStream>& stream, const plat::Ref<plat::TPixmap>& pixmap);
// The first frame as a BMP file, written atomically; false on failure.
bool SaveImageBMP(const plat::Ref<plat::TImage>& image, const std::string& path);
bool ConvertImageToBMP(const std::string& sourcePath, const std::string& targetPath);
// The window as "YYYY-MM-DD HHNNSS screenshot.png" in the folder (the
// current folder when ""); returns the file's path, "" when it failed.
std::string SaveScreenshot(const std::string& folder);

// --- digits -------------------------------------------------------------------
void DrawImageDigits(const std::string& digits, float x, float y,
                     const plat::Ref<plat::TImage>& image, float step, int centre, int snap);
int DrawImageDigitsProportional(const std::string& digits, float x, float y,
                                const plat::Ref<plat::TImage>& image,
                                const std::vector<float>& widths,
                                const std::vector<float>& offsets, float spacing, int centre,
                                int snap, float scale);
float ImageDigitsWidth(const std::string& digits, const std::vector<float>& widths,
                       const std::vector<float>& offsets, float spacing, float scale);

// --- text ---------------------------------------------------------------------
void DrawTextShadowed(float x, float y, const std::string& text, int centred);
void DrawTextLines(float x, float y, const std::vector<std::string>& lines, int centred,
                   float lineHeight);
void SetShadowStyle(float offsetX, float offsetY, float alpha);
void DrawTextShadowAt(const std::string& text, float x, float y, int shadow, int snap);
// alignment 0 left, 1 centred, 2 right.
void DrawTextAligned(const std::string& text, float x, float y, int shadow, int alignment,
                     int snap);
void DrawTextCenteredH(const std::string& text, float y, int shadow, int snap);
void DrawTextCenteredScreen(const std::string& text, int shadow, int snap);
void DrawTextCenteredAt(const std::string& text, float x, float y, int shadow, int snap);
void DrawTextCenteredAtSnapped(const std::string& text, float x, float y, int shadow);
void DrawTextRightAligned(const std::string& text, float x, float y, int shadow, int snap);
void DrawTextSubpixel(const std::string& text, float x, float y, float spacing);
void DrawTextPixelAligned(const std::string& text, float x, float y, float spacing);
void DrawGlyphsSubpixel(const std::string& text, float x, float y, float spacing);
void DrawGlyphsPixelAligned(const std::string& text, float x, float y, float spacing);
// The width of a text in pixels, in whatever font the caller measures with.
using TextWidthFunction = std::function<float(const std::string&)>;
// Word-wraps to `width` pixels, each candidate line measured by `measure`
// and multiplied by `scale`; empty lines stay empty.
std::vector<std::string> WrapTextLinesMeasured(const std::vector<std::string>& lines, float width,
                                               const TextWidthFunction& measure, float scale);
// The same measured in `font` (the current font when nullptr).
std::vector<std::string> WrapTextLines(const std::vector<std::string>& lines, float width,
                                       const plat::Ref<plat::TImageFont>& font, float scale);
// The same, with `secondWidth` once the output reaches `switchLine` lines.
std::vector<std::string> WordWrapLines(const std::vector<std::string>& lines, float width,
                                       float secondWidth, int switchLine,
                                       const plat::Ref<plat::TImageFont>& font, float scale);

}  // namespace fw
