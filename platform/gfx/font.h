#pragma once
// Image fonts: TrueType faces rasterised by FreeType at a pixel size into
// one small image per glyph, and the built-in 8x8 default font.
//
// Style bits: 1 bold, 2 italic, 4 smooth (anti-aliased; otherwise every
// pixel is either on or off).  Bold thickens the strokes but keeps the
// face's advance, so fixed-pitch text stays on its grid.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace plat {

enum FontStyle { BOLDFONT = 1, ITALICFONT = 2, SMOOTHFONT = 4 };

struct TImageGlyph {
    Ref<TImage> image;   // nullptr for blank glyphs
    float advance = 0;   // pixels to the next glyph
    int x = 0, y = 0;    // offset of the image from the pen (top-left of the line)
    int w = 0, h = 0;
};

class TImageFont : public Object {
public:
    ~TImageFont() override;
    // Glyph images are built on first use, so a font loaded before the
    // display opens works.
    const TImageGlyph& Glyph(int code);
    int CountGlyphs() const { return 256; }
    int Height() const { return height; }
    float TextWidth(const std::string& text);
    std::string name;
    int size = 0, style = 0, height = 0, ascender = 0;

    // Implementation details (FreeType face or built-in table).
    struct Impl;
    std::unique_ptr<Impl> impl;
    std::vector<TImageGlyph> glyphs;
    std::vector<bool> built;
};

// nullptr when the file is missing or FreeType refuses it.
Ref<TImageFont> LoadImageFont(const std::string& url, int size, int style = SMOOTHFONT);
// nullptr selects the default font.
void SetImageFont(const Ref<TImageFont>& font);
Ref<TImageFont> GetImageFont();  // never nullptr: the default font when none is set
Ref<TImageFont> DefaultFont();   // built in: 8x8 cells, advance 8, height 8

// In the current font, at scale 1.
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);

}  // namespace plat
