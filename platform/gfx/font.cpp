// Image fonts: FreeType faces rasterised glyph by glyph on first use, and
// the built-in 8 x 8 default font.

#include "platform/gfx/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

#include "platform/gfx/gfx_internal.h"
#include "platform/io/stream.h"

namespace plat {
namespace {

// kDefaultFont8x8, generated at build time from the studio's 8 x 8 design.
#include "default_font8x8.inc"

FT_Library Library() {
    static FT_Library lib = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    }
    return lib;
}

// A white glyph image whose alpha is the coverage; nullptr for a blank glyph.
Ref<TImage> GlyphImage(int w, int h, const std::vector<std::uint8_t>& coverage) {
    if (std::all_of(coverage.begin(), coverage.end(), [](std::uint8_t c) { return c == 0; }))
        return nullptr;
    auto img = New<TImage>(w, h, 1, 0);
    auto& px = img->pixmaps[0]->pixels;
    for (std::size_t i = 0; i < px.size(); ++i)
        px[i] = (static_cast<std::uint32_t>(coverage[i]) << 24) | 0x00FFFFFFu;
    return img;
}

Ref<TImageFont>& CurrentFont() {
    static Ref<TImageFont> f;
    return f;
}

}  // namespace

struct TImageFont::Impl {
    std::vector<unsigned char> fileData;  // FreeType reads the face from here
    FT_Face face = nullptr;
    bool builtIn = false;
    ~Impl() {
        if (face) FT_Done_Face(face);
    }
};

TImageFont::~TImageFont() = default;

const TImageGlyph& TImageFont::Glyph(int code) {
    static const TImageGlyph none;
    if (code < 0 || code >= 256 || !impl) return none;
    const auto idx = static_cast<std::size_t>(code);
    if (glyphs.size() != 256) {
        glyphs.assign(256, TImageGlyph{});
        built.assign(256, false);
    }
    if (built[idx]) return glyphs[idx];
    built[idx] = true;
    TImageGlyph& g = glyphs[idx];

    if (impl->builtIn) {
        g.advance = 8;
        g.w = g.h = 8;
        std::vector<std::uint8_t> cov(64, 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (kDefaultFont8x8[code][y] & (0x80 >> x)) cov[static_cast<std::size_t>(y * 8 + x)] = 255;
        g.image = GlyphImage(8, 8, cov);
        return g;
    }

    FT_Face face = impl->face;
    // The 8-bit character codes are Latin-1, which is where Unicode starts.
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_DEFAULT |
                                                           ((style & SMOOTHFONT)
                                                                ? FT_LOAD_TARGET_NORMAL
                                                                : FT_LOAD_TARGET_MONO)) != 0 &&
        FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_DEFAULT) != 0)
        return g;
    FT_GlyphSlot slot = face->glyph;
    // Emboldening would also widen the advance by a fraction of a pixel;
    // the face's own advance keeps fixed-pitch text on its grid.
    const FT_Pos faceAdvance = slot->advance.x;
    if (style & ITALICFONT) FT_GlyphSlot_Oblique(slot);
    if (style & BOLDFONT) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, (style & SMOOTHFONT) ? FT_RENDER_MODE_NORMAL
                                                   : FT_RENDER_MODE_MONO) != 0)
        return g;
    g.advance = static_cast<float>(faceAdvance) / 64.f;
    const FT_Bitmap& bm = slot->bitmap;
    const int w = static_cast<int>(bm.width), h = static_cast<int>(bm.rows);
    g.x = slot->bitmap_left;
    g.y = ascender - slot->bitmap_top;
    g.w = w;
    g.h = h;
    if (w <= 0 || h <= 0 || !bm.buffer) return g;
    std::vector<std::uint8_t> cov(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < w; ++x) {
            std::uint8_t v = 0;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                v = bm.num_grays > 1 && bm.num_grays != 256
                        ? static_cast<std::uint8_t>(row[x] * 255 / (bm.num_grays - 1))
                        : row[x];
            cov[static_cast<std::size_t>(y * w + x)] = v;
        }
    }
    g.image = GlyphImage(w, h, cov);
    return g;
}

float TImageFont::TextWidth(const std::string& text) {
    float w = 0;
    for (unsigned char c : text) w += Glyph(c).advance;
    return w;
}

Ref<TImageFont> LoadImageFont(const std::string& url, int size, int style) {
    if (size <= 0 || !Library()) return nullptr;
    auto impl = std::make_unique<TImageFont::Impl>();
    bool found = false;
    impl->fileData = LoadByteArray(url, &found);
    if (!found || impl->fileData.empty()) return nullptr;
    if (FT_New_Memory_Face(Library(), impl->fileData.data(),
                           static_cast<FT_Long>(impl->fileData.size()), 0, &impl->face) != 0) {
        impl->face = nullptr;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(size)) != 0) return nullptr;
    // A file cut short still opens, and the glyphs whose outlines are gone
    // load as blanks: a font with a letter or digit that it names but cannot
    // draw is a damaged font.
    for (const char* set : {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "0123456789"}) {
        for (const char* c = set; *c; ++c) {
            if (FT_Get_Char_Index(impl->face, static_cast<FT_ULong>(*c)) == 0) continue;
            if (FT_Load_Char(impl->face, static_cast<FT_ULong>(*c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
                return nullptr;
            const FT_Bitmap& bm = impl->face->glyph->bitmap;
            bool ink = false;
            for (unsigned y = 0; y < bm.rows && !ink; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                for (unsigned x = 0; x < (bm.width + 7) / 8 && !ink; ++x) ink = row[x] != 0;
            }
            if (!ink) return nullptr;
        }
    }
    auto font = New<TImageFont>();
    font->name = url;
    font->size = size;
    font->style = style;
    const FT_Size_Metrics& m = impl->face->size->metrics;
    font->height = static_cast<int>(m.height >> 6);
    font->ascender = static_cast<int>(m.ascender >> 6);
    if (font->height <= 0) font->height = size;
    font->impl = std::move(impl);
    return font;
}

Ref<TImageFont> DefaultFont() {
    static Ref<TImageFont> font = [] {
        auto f = New<TImageFont>();
        f->name = "default";
        f->size = 8;
        f->height = 8;
        f->ascender = 8;
        f->impl = std::make_unique<TImageFont::Impl>();
        f->impl->builtIn = true;
        return f;
    }();
    return font;
}

void SetImageFont(const Ref<TImageFont>& font) { CurrentFont() = font; }

Ref<TImageFont> GetImageFont() {
    const auto& f = CurrentFont();
    return f ? f : DefaultFont();
}

int TextWidth(const std::string& text) {
    return static_cast<int>(std::lround(GetImageFont()->TextWidth(text)));
}

int TextHeight(const std::string& /*text*/) { return GetImageFont()->Height(); }

}  // namespace plat
