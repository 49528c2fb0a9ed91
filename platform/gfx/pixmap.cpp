// Pixmaps, PNG reading and writing, and reading the back buffer.

#include "platform/gfx/pixmap.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <new>

#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/gfx/gfx_internal.h"
#include "platform/io/stream.h"

namespace plat {

TPixmap::TPixmap(int w, int h, int fmt)
    : width(std::max(0, w)), height(std::max(0, h)), format(fmt),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u) {}

std::uint32_t TPixmap::Read(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
}

void TPixmap::Write(int x, int y, std::uint32_t argb) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x)] = argb;
}

Ref<TPixmap> TPixmap::Copy() const {
    auto p = New<TPixmap>(width, height, format);
    p->pixels = pixels;
    return p;
}

Ref<TPixmap> TPixmap::Window(int x, int y, int w, int h) const {
    const int x0 = std::clamp(x, 0, width), y0 = std::clamp(y, 0, height);
    const int x1 = std::clamp(x + std::max(0, w), 0, width);
    const int y1 = std::clamp(y + std::max(0, h), 0, height);
    auto p = New<TPixmap>(x1 - x0, y1 - y0, format);
    for (int r = 0; r < p->height; ++r)
        for (int c = 0; c < p->width; ++c) p->Write(c, r, Read(x0 + c, y0 + r));
    return p;
}

Ref<TPixmap> CreatePixmap(int width, int height, int format, int /*align*/) {
    if (width < 0 || height < 0) return nullptr;
    return New<TPixmap>(width, height, format);
}

namespace {

Ref<TPixmap> DecodePNG(const std::string& url, std::string& why) {
    bool found = false;
    const std::vector<std::uint8_t> data = LoadByteArray(url, &found);
    if (!found) {
        why = "file not found";
        return nullptr;
    }
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, data.data(), data.size())) {
        why = img.message[0] ? img.message : "not a PNG image";
        png_image_free(&img);
        return nullptr;
    }
    // Little-endian BGRA bytes are ARGB words.
    img.format = PNG_FORMAT_BGRA;
    if (img.width == 0 || img.height == 0 || img.width > 32768 || img.height > 32768) {
        why = "unsupported image size";
        png_image_free(&img);
        return nullptr;
    }
    auto p = New<TPixmap>(static_cast<int>(img.width), static_cast<int>(img.height), PF_RGBA8888);
    if (!png_image_finish_read(&img, nullptr, p->pixels.data(), 0, nullptr)) {
        why = img.message[0] ? img.message : "damaged PNG image";
        png_image_free(&img);
        return nullptr;
    }
    png_image_free(&img);
    return p;
}

// The encoded file, collected in memory and saved in one piece.
struct PngSink {
    std::vector<std::uint8_t> bytes;
    bool outOfMemory = false;
};

void AppendToSink(png_structp png, png_bytep data, png_size_t n) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->bytes.insert(sink->bytes.end(), data, data + n);
    } catch (const std::bad_alloc&) {
        sink->outOfMemory = true;
    }
    if (sink->outOfMemory) png_error(png, "out of memory");
}

void FlushSink(png_structp) {}

// Only plain data lives here: libpng reports errors by jumping back.
bool EncodePNG(PngSink& sink, int width, int height, bool alpha, int level,
               unsigned char* const* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, AppendToSink, FlushSink);
    png_set_compression_level(png, level);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

Ref<TPixmap> LoadPixmap(const std::string& url) {
    std::string why;
    return DecodePNG(url, why);
}

Ref<TPixmap> LoadPixmapOrThrow(const std::string& url) {
    std::string why;
    auto p = DecodePNG(url, why);
    if (!p) throw LoadError("Cannot load image \"" + url + "\": " + why);
    return p;
}

std::uint32_t ReadPixel(const Ref<TPixmap>& p, int x, int y) { return p ? p->Read(x, y) : 0; }

void WritePixel(const Ref<TPixmap>& p, int x, int y, std::uint32_t argb) {
    if (p) p->Write(x, y, argb);
}

int PixmapWidth(const Ref<TPixmap>& p) { return p ? p->width : 0; }
int PixmapHeight(const Ref<TPixmap>& p) { return p ? p->height : 0; }

Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& p, int x, int y, int w, int h) {
    return p ? p->Window(x, y, w, h) : nullptr;
}

Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& p) { return p ? p->Copy() : nullptr; }

Ref<TPixmap> ConvertPixmap(const Ref<TPixmap>& p, int format) {
    if (!p) return nullptr;
    auto q = p->Copy();
    q->format = format;
    if (format == PF_RGB888 || format == PF_BGR888)
        for (auto& px : q->pixels) px |= 0xFF000000u;
    return q;
}

Ref<TPixmap> MaskPixmap(const Ref<TPixmap>& p, int r, int g, int b) {
    if (!p) return nullptr;
    auto q = p->Copy();
    const std::uint32_t key = (static_cast<std::uint32_t>(r & 255) << 16) |
                              (static_cast<std::uint32_t>(g & 255) << 8) |
                              static_cast<std::uint32_t>(b & 255);
    for (auto& px : q->pixels)
        if ((px & 0x00FFFFFFu) == key) px = 0;
    return q;
}

bool SavePixmapPNG(const Ref<TPixmap>& p, const std::string& url, int compression) {
    if (!p || p->width <= 0 || p->height <= 0) return false;
    const bool alpha = !(p->format == PF_RGB888 || p->format == PF_BGR888);
    const int bpp = alpha ? 4 : 3;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(p->width) *
                                     static_cast<std::size_t>(p->height) *
                                     static_cast<std::size_t>(bpp));
    std::vector<unsigned char*> rows(static_cast<std::size_t>(p->height));
    for (int y = 0; y < p->height; ++y) {
        unsigned char* row = bytes.data() + static_cast<std::size_t>(y) *
                                                static_cast<std::size_t>(p->width) *
                                                static_cast<std::size_t>(bpp);
        rows[static_cast<std::size_t>(y)] = row;
        for (int x = 0; x < p->width; ++x) {
            const std::uint32_t px = p->Read(x, y);
            unsigned char* o = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp);
            o[0] = static_cast<unsigned char>(px >> 16);
            o[1] = static_cast<unsigned char>(px >> 8);
            o[2] = static_cast<unsigned char>(px);
            if (alpha) o[3] = static_cast<unsigned char>(px >> 24);
        }
    }
    PngSink sink;
    if (!EncodePNG(sink, p->width, p->height, alpha, std::clamp(compression, 0, 9), rows.data()))
        return false;
    return SaveBytesAtomic(url, sink.bytes);
}

Ref<TPixmap> GrabPixmap(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return GrabBackBuffer();
    return gfx::GLReadBack(x, y, w, h);
}

Ref<TPixmap> GrabBackBuffer() {
    return gfx::GLReadWindowPicture(DrawableWidth(), DrawableHeight());
}

}  // namespace plat
