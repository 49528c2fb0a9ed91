#include "game/front/bitmap_font.h"

#include "game/globals.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/pixmap.h"

namespace game {

plat::Ref<TBitmapFont2> TBitmapFont2::Create(const std::string& file, int width, int height) {
    auto font = plat::New<TBitmapFont2>();
    return font->Load(file, width, height) == 1 ? font : nullptr;
}

int TBitmapFont2::Load(const std::string& file, int width, int height) {
    if (width == -1) {
        // A picture without readable marks has no cell size to cut by.
        if (find_char_dimension(file) != 1) charw = charh = -1;
    } else {
        charw = width;
        charh = height;
    }
    font = nullptr;
    if (charw > 0 && charh > 0) font = plat::LoadAnimImage(file, charw, charh, 0, 256, 1);
    name = file;
    return font ? 1 : 0;
}

int TBitmapFont2::find_char_dimension(const std::string& file) {
    auto pixmap = plat::LoadPixmap(file);
    if (!pixmap) return 0;
    const std::uint32_t mark = plat::ReadPixel(pixmap, 0, 0);

    charh = -1;
    for (int yy = 1; yy < pixmap->height; ++yy) {
        if (plat::ReadPixel(pixmap, 0, yy) != mark) {
            charh = yy;
            break;
        }
    }
    if (charh == -1) return 0;

    charw = -1;
    for (int xx = 1; xx < pixmap->width; ++xx) {
        if (plat::ReadPixel(pixmap, xx, 0) != mark) {
            charw = xx;
            break;
        }
    }
    if (charw == -1) return 0;
    return 1;
}

int TBitmapFont2::write(const std::string& text, float x, float y, int hjust, int vjust) {
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    const float advance = static_cast<float>(charw) * sx;
    const float cellHeight = static_cast<float>(charh) * sy;
    const float length = static_cast<float>(text.size());

    if (hjust == R_JUSTIFY) x -= advance * length;
    else if (hjust == CENTRE) x -= advance * length / 2.0f;
    if (vjust == B_JUSTIFY) y -= cellHeight;
    else if (vjust == CENTRE) y -= cellHeight / 2.0f;

    if (!font) return 0;
    for (unsigned char code : text) {
        // Every 8-bit code has its cell; the picture holds exactly 256.
        plat::DrawImage(font, x, y, code);
        x += advance;
    }
    return 0;
}

void WriteText(const std::string& text, float x, float y) {
    if (BitmapFont) BitmapFont->write(text, x, y, TBitmapFont2::L_JUSTIFY, TBitmapFont2::T_JUSTIFY);
}

}  // namespace game
