#pragma once
// Pixmaps: pixel buffers in memory.  Pixels are ARGB 0xAARRGGBB; reading a
// pixel gives back exactly what was written, colour under alpha 0 included.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/object.h"

namespace plat {

enum PixmapFormat {
    PF_A8 = 1, PF_I8 = 2, PF_RGB888 = 4, PF_BGR888 = 5, PF_RGBA8888 = 6, PF_BGRA8888 = 7,
};

class TPixmap : public Object {
public:
    TPixmap(int width, int height, int format = PF_RGBA8888);
    int width, height, format;
    std::vector<std::uint32_t> pixels;  // ARGB, width * height, rows top to bottom

    std::uint32_t Read(int x, int y) const;          // 0 outside
    void Write(int x, int y, std::uint32_t argb);    // ignored outside
    Ref<TPixmap> Copy() const;
    // A copy of a rectangle (clipped to the pixmap).
    Ref<TPixmap> Window(int x, int y, int w, int h) const;
};

Ref<TPixmap> CreatePixmap(int width, int height, int format = PF_RGBA8888, int align = 4);
// PNG into a pixmap, no masking; nullptr when missing or not a PNG.
Ref<TPixmap> LoadPixmap(const std::string& url);
// The same, raising LoadError with a clear text instead of returning nullptr.
Ref<TPixmap> LoadPixmapOrThrow(const std::string& url);
std::uint32_t ReadPixel(const Ref<TPixmap>& p, int x, int y);
void WritePixel(const Ref<TPixmap>& p, int x, int y, std::uint32_t argb);
int PixmapWidth(const Ref<TPixmap>& p);
int PixmapHeight(const Ref<TPixmap>& p);
Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& p, int x, int y, int w, int h);
Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& p);
// RGB888 drops alpha (made opaque); RGBA8888 keeps it.
Ref<TPixmap> ConvertPixmap(const Ref<TPixmap>& p, int format);
// Mask-coloured pixels become 0x00000000.
Ref<TPixmap> MaskPixmap(const Ref<TPixmap>& p, int r, int g, int b);
// Writes a PNG atomically; false on failure.
bool SavePixmapPNG(const Ref<TPixmap>& p, const std::string& url, int compression = 9);
// A rectangle of the back buffer in virtual coordinates, one pixel per
// virtual pixel (cut to the drawing space); with w or h <= 0 the same as
// GrabBackBuffer().
Ref<TPixmap> GrabPixmap(int x = 0, int y = 0, int w = 0, int h = 0);
// The picture as the window shows it, at the window's device size with the
// bars (screenshots, tests).
Ref<TPixmap> GrabBackBuffer();

}  // namespace plat
