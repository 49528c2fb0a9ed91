#include "framework/drawing.h"

#include <algorithm>
#include <cmath>

#include "framework/datetime.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "platform/core/error.h"
#include "platform/core/text.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/io/fs.h"

namespace fw {

float TextShadowX = 1.0f;
float TextShadowY = 1.0f;
float TextShadowAlpha = 0.5f;
float TextAlpha = 1.0f;

namespace {

int Clamp255(int v) { return std::clamp(v, 0, 255); }

int Clamp255(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(std::floor(v), 0.0, 255.0));
}

float Snap(float v) { return std::floor(v + 0.5f); }

// The width and height of the drawing space (the virtual resolution).
float DrawWidth() {
    const float w = plat::VirtualResolutionWidth();
    return w > 0 ? w : static_cast<float>(plat::GraphicsWidth());
}
float DrawHeight() {
    const float h = plat::VirtualResolutionHeight();
    return h > 0 ? h : static_cast<float>(plat::GraphicsHeight());
}

float ScaledTextWidth(const std::string& text) {
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    return static_cast<float>(plat::TextWidth(text)) * sx;
}

// Moves y so that text scaled vertically stays centred on its line.
float ScaleCorrectedY(const std::string& text, float y) {
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    if (sy != 1.0f) {
        const float h = static_cast<float>(plat::TextHeight(text));
        y -= (h * sy - h) / 2.0f;
    }
    return y;
}

const plat::Ref<plat::TPixmap>* FramePixmap(const plat::Ref<plat::TImage>& image, int frame) {
    if (!image || !image->HasFrame(frame)) return nullptr;
    const auto& p = image->pixmaps[static_cast<std::size_t>(frame)];
    return p ? &p : nullptr;
}

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 255));
}

// Glyphs of the current font under the current transform.
void DrawGlyphs(const std::string& text, float x, float y, float spacing, bool pixelAligned) {
    const plat::Ref<plat::TImageFont> font = plat::GetImageFont();
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    const double rad = plat::GetRotation() * M_PI / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    float pen = 0;
    for (unsigned char ch : text) {
        const plat::TImageGlyph& g = font->Glyph(ch);
        if (g.image) {
            const double gx = (pen + static_cast<float>(g.x)) * sx;
            const double gy = static_cast<double>(g.y) * sy;
            double px = x + gx * c - gy * s;
            const double py = y + gx * s + gy * c;
            if (pixelAligned) px = std::floor(px);
            plat::DrawImage(g.image, static_cast<float>(px), static_cast<float>(py), 0);
        }
        pen += g.advance + spacing;
    }
}

// The current font when none is given.
TextWidthFunction ImageFontWidth(const plat::Ref<plat::TImageFont>& font) {
    return [font](const std::string& text) {
        return font ? font->TextWidth(text) : static_cast<float>(plat::TextWidth(text));
    };
}

std::vector<std::string> Wrap(const std::vector<std::string>& lines, float width, float secondWidth,
                              int switchLine, const TextWidthFunction& measure, float scale) {
    std::vector<std::string> out;
    auto limit = [&]() {
        return (switchLine >= 0 && static_cast<int>(out.size()) >= switchLine) ? secondWidth : width;
    };
    for (const std::string& input : lines) {
        if (input.empty()) {
            out.emplace_back();
            continue;
        }
        std::string text = input;
        while (text.find("  ") != std::string::npos) text = plat::Replace(text, "  ", " ");
        std::vector<std::string> words;
        std::size_t start = 0;
        for (;;) {
            const std::size_t sp = text.find(' ', start);
            words.push_back(text.substr(start, sp == std::string::npos ? std::string::npos : sp - start));
            if (sp == std::string::npos) break;
            start = sp + 1;
        }
        std::string current = words[0];
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string& word = words[i];
            if (word.empty()) break;
            if (measure(current + " " + word) * scale > limit()) {
                out.push_back(current);
                current = word;
            } else {
                current += " " + word;
            }
        }
        out.push_back(current);
    }
    return out;
}

}  // namespace

// --- presentation -----------------------------------------------------------------

void FlipScreen() { plat::Flip(FlipSync); }

void ResetDrawState() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::SetAlpha(1);
    plat::SetColor(255, 255, 255);
}

void ClearScreenToColor(int r, int g, int b) {
    plat::SetClsColor(r, g, b);
    plat::Cls();
    if (MousePointerFlag) plat::ShowMouse();
    else plat::HideMouse();
    FlipScreen();
}

void ClearToColour(int r, int g, int b) {
    plat::SetClsColor(r, g, b);
    plat::Cls();
}

void ClearScreenAndFlip(int r, int g, int b) {
    plat::SetClsColor(r, g, b);
    plat::Cls();
    plat::Flip(1);
}

void DarkenRect(float alpha, float x, float y, float w, float h) {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(0, 0, 0);
    plat::SetAlpha(alpha);
    plat::DrawRect(x, y, w, h);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
}

void FadeScreen(float alpha) {
    DarkenRect(alpha, 0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
}

// --- images and pixmaps -----------------------------------------------------------------

plat::Ref<plat::TImage> CopyImage(const plat::Ref<plat::TImage>& image) {
    if (!image) return nullptr;
    auto copy = plat::CreateImage(image->width, image->height, image->Frames(), image->flags);
    if (!copy) return nullptr;
    copy->handleX = image->handleX;
    copy->handleY = image->handleY;
    copy->maskR = image->maskR;
    copy->maskG = image->maskG;
    copy->maskB = image->maskB;
    for (int i = 0; i < image->Frames() && i < copy->Frames(); ++i) {
        const auto* src = FramePixmap(image, i);
        if (!src) continue;
        copy->pixmaps[static_cast<std::size_t>(i)] = (*src)->Copy();
        copy->Touch(i);
    }
    return copy;
}

void CopyImageRect(const plat::Ref<plat::TImage>& src, int sx, int sy, int w, int h,
                   const plat::Ref<plat::TImage>& dst, int dx, int dy) {
    const auto* sp = FramePixmap(src, 0);
    const auto* dp = FramePixmap(dst, 0);
    if (!sp || !dp) return;
    const plat::TPixmap& s = **sp;
    plat::TPixmap& d = **dp;
    if (sx < 0 || sy < 0 || sx >= s.width || sy >= s.height) return;
    if (dx < 0 || dy < 0 || dx >= d.width || dy >= d.height) return;
    w = std::min({w, s.width - sx, d.width - dx});
    h = std::min({h, s.height - sy, d.height - dy});
    if (w <= 0 || h <= 0) return;
    for (int j = 0; j < h; ++j)
        std::copy_n(&s.pixels[static_cast<std::size_t>((sy + j) * s.width + sx)], w,
                    &d.pixels[static_cast<std::size_t>((dy + j) * d.width + dx)]);
    dst->Touch(0);
}

void CopyImageRectFlipped(const plat::Ref<plat::TImage>& src, int sx, int sy, int w, int h,
                          const plat::Ref<plat::TImage>& dst, int dx, int dy, int mode) {
    const auto* sp = FramePixmap(src, 0);
    const auto* dp = FramePixmap(dst, 0);
    if (!sp || !dp) return;
    const plat::TPixmap& s = **sp;
    plat::TPixmap& d = **dp;
    if (sx < 0 || sy < 0 || dx < 0 || dy < 0) return;
    w = std::min({w, s.width - sx, d.width - dx});
    h = std::min({h, s.height - sy, d.height - dy});
    if (w <= 0 || h <= 0) return;
    const bool mirror = mode == 1 || mode == 3;
    const bool flip = mode == 2 || mode == 3;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int fx = sx + (mirror ? w - 1 - i : i);
            const int fy = sy + (flip ? h - 1 - j : j);
            d.Write(dx + i, dy + j, s.Read(fx, fy));
        }
    }
    dst->Touch(0);
}

void PreloadImageFrames(const plat::Ref<plat::TImage>& image) {
    if (!image) return;
    for (int i = 0; i < image->Frames(); ++i) image->Frame(i);
}

void DrawImageAreaScaled(const plat::Ref<plat::TImage>& image, float x, float y, float sx,
                         float sy, float w, float h, int frame) {
    if (!image) return;
    plat::DrawSubImageRect(image, x, y, w, h, sx, sy, w, h, 0, 0, frame);
}

void DrawImageRegion(const plat::Ref<plat::TImage>& image, float x, float y, int sx, int sy,
                     int w, int h) {
    const auto* p = FramePixmap(image, 0);
    if (!p) return;
    auto part = plat::LoadImage(plat::PixmapWindow(*p, sx, sy, w, h), image->flags);
    if (part) plat::DrawImage(part, x, y, 0);
}

void DrawImageInsideRect(const plat::Ref<plat::TImage>& image, float x, float y, float rx,
                         float ry, float rw, float rh, float dx, float dy) {
    if (!image) return;
    const float iw = static_cast<float>(image->width), ih = static_cast<float>(image->height);
    const float left = std::max(x, rx), top = std::max(y, ry);
    const float right = std::min(x + iw, rx + rw), bottom = std::min(y + ih, ry + rh);
    if (right <= left || bottom <= top) return;
    plat::DrawSubImageRect(image, left + dx, top + dy, right - left, bottom - top, left - x, top - y,
                           right - left, bottom - top, 0, 0, 0);
}

void DrawImageClipped(const plat::Ref<plat::TImage>& image, float x, float y, float w, float h,
                      int frame) {
    plat::SetViewport(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                      static_cast<int>(h));
    plat::DrawImage(image, x, y, frame);
    plat::SetViewport(0, 0, static_cast<int>(DrawWidth()), static_cast<int>(DrawHeight()));
}

void DrawImageAdditive(const plat::Ref<plat::TImage>& image, float x, float y, float intensity,
                       float r, float g, float b, int frame) {
    plat::SetBlend(plat::LIGHTBLEND);
    plat::SetColor(Clamp255(r * intensity * 255.0), Clamp255(g * intensity * 255.0),
                   Clamp255(b * intensity * 255.0));
    plat::DrawImage(image, x, y, frame);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
}

namespace {

// Draws a shadow with `draw` at the shadow's offset, in black at its alpha,
// and puts back the caller's colour and alpha (a fading box keeps fading).
template <class DrawFn>
void DrawShadowPass(const plat::Ref<TShadow>& shadow, DrawFn draw) {
    if (!shadow) return;
    int r = 255, g = 255, b = 255;
    plat::GetColor(r, g, b);
    const float alpha = plat::GetAlpha();
    shadow->Apply();
    draw(shadow->X, shadow->Y);
    plat::SetColor(r, g, b);
    plat::SetAlpha(alpha);
}

}  // namespace

void DrawImageWithShadow(const plat::Ref<plat::TImage>& image, float x, float y,
                         const plat::Ref<TShadow>& shadow) {
    if (!image) return;
    DrawShadowPass(shadow, [&](float sx, float sy) { plat::DrawImage(image, x + sx, y + sy, 0); });
    plat::DrawImage(image, x, y, 0);
}

void DrawImageCenteredWithShadow(const plat::Ref<plat::TImage>& image, const plat::Ref<TShadow>& shadow) {
    if (!image) return;
    const float x = static_cast<float>((DrawingWidth() - image->width) / 2) + image->handleX;
    const float y = static_cast<float>((DrawingHeight() - image->height) / 2) + image->handleY;
    DrawImageWithShadow(image, x, y, shadow);
}

void DrawRectWithShadow(float x, float y, float w, float h, const plat::Ref<TShadow>& shadow) {
    DrawShadowPass(shadow, [&](float sx, float sy) { plat::DrawRect(x + sx, y + sy, w, h); });
    plat::DrawRect(x, y, w, h);
}

void DrawRectOutline(float x, float y, float w, float h) {
    const float r = x + w - 1, b = y + h - 1;
    plat::DrawLine(x, y, r, y);
    plat::DrawLine(r, y, r, b);
    plat::DrawLine(r, b, x, b);
    plat::DrawLine(x, b, x, y);
}

int ImageOverlapsRect(const plat::Ref<plat::TImage>& image, float x, float y, int frame, float rx,
                      float ry, float rw, float rh) {
    if (!image) return 0;
    static const auto marker = plat::New<plat::Object>();
    plat::ResetCollisions(1);
    plat::CollideImage(image, x, y, frame, 0, 1, marker);
    const bool hit = !plat::CollideRect(rx, ry, rw, rh, 1, 0).empty();
    plat::ResetCollisions(1);
    return hit ? 1 : 0;
}

void SetImageHandleMode(const plat::Ref<plat::TImage>& image, int centred) {
    if (!image) return;
    if (centred) plat::MidHandleImage(image);
    else plat::SetImageHandle(image, 0, 0);
}

void BlendImageIntoPixmap(const plat::Ref<plat::TImage>& image, int frame,
                          const plat::Ref<plat::TPixmap>& pixmap, int x, int y, float alphaFactor,
                          float colourFactor) {
    if (!image) throw plat::RuntimeError("image doesnt exist");
    const auto* sp = FramePixmap(image, frame);
    if (!sp || !pixmap) return;
    const plat::TPixmap& s = **sp;
    for (int j = 0; j < s.height; ++j) {
        for (int i = 0; i < s.width; ++i) {
            const int tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= pixmap->width || ty >= pixmap->height) continue;
            const std::uint32_t src = s.Read(i, j);
            const double sa = ARGBAlpha(src) * static_cast<double>(alphaFactor);
            if (sa == 0) continue;
            const std::uint32_t dst = pixmap->Read(tx, ty);
            double da = ARGBAlpha(dst);
            if (da == 0) da = 255;
            const double out = std::min(std::floor(sa + da), 255.0);
            if (!(out > 0)) continue;
            auto channel = [&](int sc, int dc) {
                return Clamp255(sa * colourFactor * sc / out + da / out * (da * dc / out));
            };
            pixmap->Write(tx, ty,
                          MakeARGB(static_cast<int>(out), channel(ARGBRed(src), ARGBRed(dst)),
                                   channel(ARGBGreen(src), ARGBGreen(dst)),
                                   channel(ARGBBlue(src), ARGBBlue(dst))));
        }
    }
}

int ARGBAlpha(std::uint32_t argb) { return static_cast<int>((argb >> 24) & 255u); }
int ARGBRed(std::uint32_t argb) { return static_cast<int>((argb >> 16) & 255u); }
int ARGBGreen(std::uint32_t argb) { return static_cast<int>((argb >> 8) & 255u); }
int ARGBBlue(std::uint32_t argb) { return static_cast<int>(argb & 255u); }

std::uint32_t MakeARGB(int a, int r, int g, int b) {
    return (static_cast<std::uint32_t>(Clamp255(a)) << 24) |
           (static_cast<std::uint32_t>(Clamp255(r)) << 16) |
           (static_cast<std::uint32_t>(Clamp255(g)) << 8) | static_cast<std::uint32_t>(Clamp255(b));
}

bool WritePixmapBMP(const plat::Ref<plat::TStream>& stream, const plat::Ref<plat::TPixmap>& pixmap) {
    if (!stream || !pixmap) return false;
    const int w = std::max(pixmap->width, 0), h = std::max(pixmap->height, 0);
    const std::uint32_t row = static_cast<std::uint32_t>((w * 3 + 3) / 4 * 4);
    const std::uint32_t data = row * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out;
    out.reserve(54 + data);
    out.push_back('B');
    out.push_back('M');
    PutLE(out, data + 54, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<std::uint32_t>(w), 4);
    PutLE(out, static_cast<std::uint32_t>(h), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);
    PutLE(out, data, 4);
    PutLE(out, 2834, 4);
    PutLE(out, 2834, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = pixmap->Read(x, y);
            out.push_back(static_cast<std::uint8_t>(ARGBBlue(p)));
            out.push_back(static_cast<std::uint8_t>(ARGBGreen(p)));
            out.push_back(static_cast<std::uint8_t>(ARGBRed(p)));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < row; ++pad) out.push_back(0);
    }
    return plat::WriteBytes(stream, out.data(), static_cast<int>(out.size())) ==
           static_cast<int>(out.size());
}

bool SaveImageBMP(const plat::Ref<plat::TImage>& image, const std::string& path) {
    const auto* p = FramePixmap(image, 0);
    if (!p) return false;
    plat::Ref<plat::TStream> out = plat::WriteStreamAtomic(path);
    if (!out) return false;
    if (!WritePixmapBMP(out, *p)) return false;
    return plat::CommitStream(out);
}

bool ConvertImageToBMP(const std::string& sourcePath, const std::string& targetPath) {
    auto image = plat::LoadImage(sourcePath, 0);
    if (!image) return false;
    return SaveImageBMP(image, targetPath);
}

std::string SaveScreenshot(const std::string& folder) {
    plat::Ref<plat::TPixmap> shot = plat::GrabBackBuffer();
    if (!shot) return "";
    auto now = TDateTime::Create();
    now->Set_DateTimeCurrent();
    const std::string name = TDateTime::Get_String(now, "YYYY-MM-DD HHNNSS screenshot.png");
    const std::string dir = folder.empty() ? EnsureTrailingSlash(plat::CurrentDir()) : folder;
    shot = plat::ConvertPixmap(shot, plat::PF_RGB888);
    const std::string path = dir + name;
    return plat::SavePixmapPNG(shot, path, 9) ? path : "";
}

// --- digits ---------------------------------------------------------------------------

namespace {

int DigitFrame(char c) { return (c >= '0' && c <= '9') ? c - '0' : 0; }

float TableAt(const std::vector<float>& table, int i) {
    return (i >= 0 && i < static_cast<int>(table.size())) ? table[static_cast<std::size_t>(i)] : 0.0f;
}

}  // namespace

void DrawImageDigits(const std::string& digits, float x, float y,
                     const plat::Ref<plat::TImage>& image, float step, int centre, int snap) {
    if (!image) return;
    if (step == 0) step = static_cast<float>(image->width);
    if (centre) x -= step * static_cast<float>(digits.size()) / 2.0f;
    if (snap) x = static_cast<float>(RoundToInt(x));
    for (char c : digits) {
        plat::DrawImage(image, x, y, DigitFrame(c));
        x += step;
    }
}

float ImageDigitsWidth(const std::string& digits, const std::vector<float>& widths,
                       const std::vector<float>& offsets, float spacing, float scale) {
    (void)offsets;
    if (digits.empty()) return 0;
    float w = 0;
    for (char c : digits) w += scale * TableAt(widths, DigitFrame(c));
    return w + static_cast<float>(digits.size() - 1) * spacing * scale;
}

int DrawImageDigitsProportional(const std::string& digits, float x, float y,
                                const plat::Ref<plat::TImage>& image,
                                const std::vector<float>& widths,
                                const std::vector<float>& offsets, float spacing, int centre,
                                int snap, float scale) {
    const float s = spacing * scale;
    // The width the digits take as drawn below: the gaps are spacing x scale
    // each (ImageDigitsWidth scales the spacing it is given).
    const float W = ImageDigitsWidth(digits, widths, offsets, spacing, scale);
    if (centre) x -= W / 2.0f;
    if (snap) x = static_cast<float>(RoundToInt(x));
    if (image) {
        for (char c : digits) {
            const int d = DigitFrame(c);
            plat::DrawImage(image, x - scale * TableAt(offsets, d), y, d);
            x += scale * TableAt(widths, d) + s;
        }
    }
    return RoundToInt(W);
}

// --- text -------------------------------------------------------------------------------

void DrawTextShadowed(float x, float y, const std::string& text, int centred) {
    if (centred) x -= static_cast<float>(plat::TextWidth(text)) / 2.0f;
    const int blend = plat::GetBlend();
    const float alpha = plat::GetAlpha();
    int r = 255, g = 255, b = 255;
    plat::GetColor(r, g, b);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(0, 0, 0);
    plat::SetAlpha(TextShadowAlpha * TextAlpha);
    plat::DrawText(text, x + TextShadowX, y + TextShadowY);
    plat::SetColor(r, g, b);
    plat::SetAlpha(TextAlpha);
    plat::DrawText(text, x, y);
    plat::SetAlpha(alpha);
    plat::SetBlend(blend);
}

void DrawTextLines(float x, float y, const std::vector<std::string>& lines, int centred,
                   float lineHeight) {
    if (lineHeight == 0) lineHeight = static_cast<float>(plat::TextHeight("ABCXYZ"));
    for (const std::string& line : lines) {
        DrawTextShadowed(x, y, line, centred);
        y += lineHeight;
    }
}

void SetShadowStyle(float offsetX, float offsetY, float alpha) {
    TextShadowX = offsetX;
    TextShadowY = offsetY;
    TextShadowAlpha = alpha;
}

void DrawTextShadowAt(const std::string& text, float x, float y, int shadow, int snap) {
    if (snap) {
        x = Snap(x);
        y = Snap(y);
    }
    if (shadow) DrawTextShadowed(x, y, text, 0);
    else plat::DrawText(text, x, y);
}

void DrawTextAligned(const std::string& text, float x, float y, int shadow, int alignment,
                     int snap) {
    if (alignment == 1) DrawTextCenteredAt(text, x, y, shadow, snap);
    else if (alignment == 2) DrawTextRightAligned(text, x, y, shadow, snap);
    else DrawTextShadowAt(text, x, y, shadow, snap);
}

void DrawTextCenteredH(const std::string& text, float y, int shadow, int snap) {
    const float x = (DrawWidth() - ScaledTextWidth(text)) / 2.0f;
    DrawTextShadowAt(text, x, ScaleCorrectedY(text, y), shadow, snap);
}

void DrawTextCenteredScreen(const std::string& text, int shadow, int snap) {
    const int x = (static_cast<int>(DrawWidth()) - plat::TextWidth(text)) / 2;
    const int y = (static_cast<int>(DrawHeight()) - plat::TextHeight(text)) / 2;
    DrawTextShadowAt(text, static_cast<float>(x), static_cast<float>(y), shadow, snap);
}

void DrawTextCenteredAt(const std::string& text, float x, float y, int shadow, int snap) {
    DrawTextShadowAt(text, x - ScaledTextWidth(text) / 2.0f, ScaleCorrectedY(text, y), shadow, snap);
}

void DrawTextCenteredAtSnapped(const std::string& text, float x, float y, int shadow) {
    DrawTextShadowAt(text, Snap(x - ScaledTextWidth(text) / 2.0f), ScaleCorrectedY(text, y), shadow,
                     0);
}

void DrawTextRightAligned(const std::string& text, float x, float y, int shadow, int snap) {
    DrawTextShadowAt(text, x - ScaledTextWidth(text), y, shadow, snap);
}

void DrawGlyphsSubpixel(const std::string& text, float x, float y, float spacing) {
    DrawGlyphs(text, x, y, spacing, false);
}

void DrawGlyphsPixelAligned(const std::string& text, float x, float y, float spacing) {
    DrawGlyphs(text, x, y, spacing, true);
}

void DrawTextSubpixel(const std::string& text, float x, float y, float spacing) {
    DrawGlyphsSubpixel(text, x, y, spacing);
}

void DrawTextPixelAligned(const std::string& text, float x, float y, float spacing) {
    DrawGlyphsPixelAligned(text, x, y, spacing);
}

std::vector<std::string> WrapTextLinesMeasured(const std::vector<std::string>& lines, float width,
                                               const TextWidthFunction& measure, float scale) {
    return Wrap(lines, width, width, -1, measure, scale);
}

std::vector<std::string> WrapTextLines(const std::vector<std::string>& lines, float width,
                                       const plat::Ref<plat::TImageFont>& font, float scale) {
    return Wrap(lines, width, width, -1, ImageFontWidth(font), scale);
}

std::vector<std::string> WordWrapLines(const std::vector<std::string>& lines, float width,
                                       float secondWidth, int switchLine,
                                       const plat::Ref<plat::TImageFont>& font, float scale) {
    return Wrap(lines, width, secondWidth, switchLine, ImageFontWidth(font), scale);
}

}  // namespace fw
