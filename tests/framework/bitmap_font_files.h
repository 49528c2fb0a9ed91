#pragma once
// Bitmap-font files for the tests and the demo: a glyph sheet (PNG) and its
// glyph table (.fnt, the text format TBitmapFont reads), written into a
// folder the caller owns.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/pixmap.h"

namespace fontfiles {

struct Glyph {
    int id, x, y, width, height, xoffset, yoffset, xadvance;
};

// One "char" line, its fields padded as font generators write them.
inline std::string CharLine(const Glyph& g) {
    auto field = [](const std::string& key, int v, int width) {
        std::string s = key + "=" + std::to_string(v);
        while (static_cast<int>(s.size()) < width) s += ' ';
        return s;
    };
    return "char " + field("id", g.id, 9) + field("x", g.x, 7) + field("y", g.y, 7) + field("width", g.width, 10) +
           field("height", g.height, 11) + field("xoffset", g.xoffset, 12) + field("yoffset", g.yoffset, 12) +
           field("xadvance", g.xadvance, 13) + "page=0  chnl=15";
}

// path + ".png" and path + ".fnt"; `firstLine` ("ScaleF=0.5", say) goes
// before the info line when not empty.  The sheet's size is the one the
// table gives.
inline void Write(const std::string& path, const plat::Ref<plat::TPixmap>& sheet, const std::vector<Glyph>& glyphs,
                  const std::string& firstLine = "") {
    plat::SavePixmapPNG(sheet, path + ".png");
    std::ofstream out(path + ".fnt", std::ios::binary);
    if (!firstLine.empty()) out << firstLine << "\r\n";
    out << "info face=\"Made\" size=8 bold=0 italic=0 charset=\"\" unicode=0 stretchH=100 smooth=0 aa=1 "
           "padding=0,0,0,0 spacing=1,1\r\n";
    out << "common lineHeight=8 base=7 scaleW=" << sheet->width << " scaleH=" << sheet->height
        << " pages=1 packed=0\r\n";
    out << "page id=0 file=\"sheet.png\"\r\n";
    out << "chars count=" << glyphs.size() << "\r\n";
    for (const Glyph& g : glyphs) out << CharLine(g) << "\r\n";
    out << "kernings count=0\r\n";
}

// The printable characters (32..126) of the built-in 8 x 8 font, 16 to a
// row of 8 x 8 cells one pixel apart (so that filtering never reaches a
// neighbour), each pixel coloured by `shade(row)` (0..7 from the top);
// every glyph is its whole cell, advancing 8.
inline std::vector<Glyph> DefaultFontSheet(plat::Ref<plat::TPixmap>& sheet,
                                           const std::function<std::uint32_t(int row)>& shade) {
    sheet = plat::CreatePixmap(16 * 9, 6 * 9);
    std::fill(sheet->pixels.begin(), sheet->pixels.end(), 0u);
    std::vector<Glyph> glyphs;
    const plat::Ref<plat::TImageFont> font = plat::DefaultFont();
    for (int code = 32; code < 127; ++code) {
        const int cell = code - 32;
        const int cx = (cell % 16) * 9, cy = (cell / 16) * 9;
        const plat::TImageGlyph& g = font->Glyph(code);
        if (g.image) {
            const plat::TPixmap& p = *g.image->pixmaps[0];
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x)
                    if ((p.Read(x, y) >> 24) > 127) sheet->Write(cx + g.x + x, cy + g.y + y, shade(g.y + y));
        }
        glyphs.push_back({code, cx, cy, 8, 8, 0, 0, 8});
    }
    return glyphs;
}

}  // namespace fontfiles
