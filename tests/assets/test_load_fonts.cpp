// The two fonts through the game's loaders: the bitmap font measured and cut
// by the game's own font class, and the intro's TrueType font rasterised by
// the platform at the game's size and style, with the same pixels as the
// bitmap font's text glyphs, drawn into the back buffer as the intro draws.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "game/front/bitmap_font.h"
#include "game/front/intro_screen.h"
#include "load_fixture.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pixmap.h"

namespace {

using namespace loadtest;

constexpr const char* kBitmapFont = "Data/Graphics/8x8_VelmarokFont.png";
constexpr const char* kGameFont = "Data/fonts/basic.ttf";

// Cells the bitmap font draws differently from the plain character set:
// ":" is the name entry's delete mark and "!" the flash's off frame.
const std::set<char> kOwnBitmapCells = {':', '!'};

struct Line {
    float x, y;
    std::string text;
};

// Every text the intro writes, where it writes it.
std::vector<Line> IntroLines() {
    std::vector<Line> lines = {
        {32, 28, "**** RAVOTESK 64 BASIC V2 ****"},
        {8, 44, "64K RAM SYSTEM  38911 BASIC BYTES FREE"},
        {0, 60, "READY."},
        {0, 68, "LOAD"},
        {0, 84, "PRESS PLAY ON TAPE"},
        {0, 92, "OK"},
        {0, 108, "SEARCHING"},
        {0, 116, "FOUND RAVO TESK GAMES PRESENTS"},
        {128, 84, "VELMAROK"},
        {96, 204, "TURBOLOAD N101788"},
        {96, 62, "200"},
        {168, 62, game::TIntroScreen::ClockText(427, 59)},
        {0, 150, "0123456789"},
    };
    // The scroll text, a screen width at a time.
    const std::string scroll = game::TIntroScreen::ScrollMessage();
    for (std::size_t at = 0; at < scroll.size(); at += 40) lines.push_back({0, 215, scroll.substr(at, 40)});
    return lines;
}

std::set<unsigned char> IntroCharacters() {
    std::set<unsigned char> chars;
    for (const Line& l : IntroLines())
        for (unsigned char c : l.text) chars.insert(c);
    return chars;
}

using Cell = std::array<std::string, 8>;

// The lit pixels of a glyph in its 8 x 8 cell from the pen's top-left; any
// pixel falling outside the cell is counted in `outside`.
Cell GlyphCell(plat::TImageFont& font, unsigned char code, int& outside) {
    Cell cell;
    cell.fill(std::string(8, '.'));
    outside = 0;
    const plat::TImageGlyph& g = font.Glyph(code);
    if (!g.image) return cell;
    const plat::TPixmap& p = *g.image->pixmaps[0];
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (Alpha(p.Read(x, y)) < 128) continue;
            const int cx = g.x + x, cy = g.y + y;
            if (cx < 0 || cy < 0 || cx >= 8 || cy >= 8) ++outside;
            else cell[static_cast<std::size_t>(cy)][static_cast<std::size_t>(cx)] = '#';
        }
    }
    return cell;
}

Cell BitmapCell(const game::TBitmapFont2& font, unsigned char code) {
    Cell cell;
    const plat::TPixmap& p = *font.font->pixmaps[code];
    for (int y = 0; y < 8; ++y) {
        cell[static_cast<std::size_t>(y)] = std::string(8, '.');
        for (int x = 0; x < 8; ++x)
            if (Alpha(p.Read(x, y)) != 0) cell[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
    }
    return cell;
}

std::string Show(const Cell& c) {
    std::string s;
    for (const auto& row : c) s += "\n" + row;
    return s;
}

using FontsLoad = InProgramFolder;

TEST_F(FontsLoad, BitmapFontMeasuresEightByEightAndCutsAllCodes) {
    auto font = game::TBitmapFont2::Create(kBitmapFont, -1, -1);
    ASSERT_NE(font, nullptr) << "the game would stop with \"Error font\"";
    EXPECT_EQ(font->charw, 8);
    EXPECT_EQ(font->charh, 8);
    ASSERT_NE(font->font, nullptr);
    EXPECT_EQ(font->font->Frames(), 256);
    EXPECT_EQ(font->font->width, 8);
    EXPECT_EQ(font->font->height, 8);
    EXPECT_EQ(font->font->flags, plat::MASKEDIMAGE);
    // Cells 1 and 16 hold the first pixels after the mark; were they the
    // mark's colour, the measurement would run on into them.
    auto raw = plat::LoadPixmap(kBitmapFont);
    ASSERT_NE(raw, nullptr);
    EXPECT_NE(raw->Read(8, 0), raw->Read(0, 0));
    EXPECT_NE(raw->Read(0, 8), raw->Read(0, 0));
}

TEST_F(FontsLoad, GameFontHasTheEightPixelGridAtTheGamesSizeAndStyle) {
    auto ttf = plat::LoadImageFont(kGameFont, 8, plat::BOLDFONT);
    ASSERT_NE(ttf, nullptr) << "the game would stop with \"Error loading font\"";
    EXPECT_EQ(ttf->Height(), 8) << "line pitch";
    for (unsigned char c = 32; c < 127; ++c)
        EXPECT_EQ(ttf->Glyph(c).advance, 8.0f) << "advance of '" << c << "'";
    // The scroll restarts after its measured width, the counters are
    // placed by whole cells.
    const std::string scroll = game::TIntroScreen::ScrollMessage() + std::string(9, ' ');
    EXPECT_EQ(ttf->TextWidth(scroll), 8.0f * static_cast<float>(scroll.size()));
    EXPECT_EQ(plat::DefaultFont()->TextWidth(scroll), 8.0f * static_cast<float>(scroll.size()));
}

// Glyph by glyph: the TrueType glyph covers exactly the designed pixels of
// its cell, which are those of the built-in default font (the same plain
// set) and, outside the bitmap font's own cells, those of the bitmap font.
TEST_F(FontsLoad, GameFontGlyphsAreTheBitmapFontsPixels) {
    auto ttf = plat::LoadImageFont(kGameFont, 8, plat::BOLDFONT);
    ASSERT_NE(ttf, nullptr);
    auto bitmap = game::TBitmapFont2::Create(kBitmapFont, -1, -1);
    ASSERT_NE(bitmap, nullptr);
    for (unsigned char c : IntroCharacters()) {
        SCOPED_TRACE(std::string("character '") + static_cast<char>(c) + "'");
        int outside = 0, defaultOutside = 0;
        const Cell got = GlyphCell(*ttf, c, outside);
        EXPECT_EQ(outside, 0) << "lit pixels outside the 8 x 8 cell";
        const Cell plain = GlyphCell(*plat::DefaultFont(), c, defaultOutside);
        EXPECT_EQ(got, plain) << Show(got) << "\nthe default font has" << Show(plain);
        if (!kOwnBitmapCells.count(static_cast<char>(c))) {
            const Cell want = BitmapCell(*bitmap, c);
            EXPECT_EQ(got, want) << Show(got) << "\nthe bitmap font has" << Show(want);
        }
        Cell blank;
        blank.fill(std::string(8, '.'));
        if (c != ' ') {
            EXPECT_NE(got, blank) << "blank";
        }
    }
}

// The intro's texts drawn in the back buffer as the intro draws them: the
// TrueType font, the bitmap font and the default font light the same
// pixels (the bitmap font's own cells aside).
class FontsDrawn : public InProgramFolder {
protected:
    void SetUp() override {
        InProgramFolder::SetUp();
        ASSERT_TRUE(plat::Graphics(320, 240, 0, 60)) << "no GL window (SDL_VIDEODRIVER=offscreen?)";
        plat::SetVirtualResolution(320, 240);
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetAlpha(1);
        plat::SetScale(1, 1);
        plat::SetRotation(0);
        plat::SetOrigin(0, 0);
        plat::SetHandle(0, 0);
        plat::SetClsColor(0, 0, 0);
    }
    void TearDown() override { plat::SetImageFont(nullptr); }

    // The lit pixels of the whole back buffer after `draw`.
    template <class F>
    static std::vector<bool> Lit(F draw) {
        plat::Cls();
        plat::SetColor(255, 255, 255);
        draw();
        auto p = plat::GrabBackBuffer();
        std::vector<bool> lit;
        if (!p) return lit;
        for (std::uint32_t px : p->pixels) lit.push_back((px & 0xFFFFFFu) != 0);
        return lit;
    }
};

TEST_F(FontsDrawn, IntroTextsLightTheSamePixelsInEveryFont) {
    auto ttf = plat::LoadImageFont(kGameFont, 8, plat::BOLDFONT);
    ASSERT_NE(ttf, nullptr);
    auto bitmap = game::TBitmapFont2::Create(kBitmapFont, -1, -1);
    ASSERT_NE(bitmap, nullptr);
    for (const Line& line : IntroLines()) {
        SCOPED_TRACE(line.text);
        auto inGameFont = Lit([&] {
            plat::SetImageFont(ttf);
            plat::DrawText(line.text, line.x, line.y);
        });
        auto inDefaultFont = Lit([&] {
            plat::SetImageFont(nullptr);
            plat::DrawText(line.text, line.x, line.y);
        });
        auto inBitmapFont = Lit([&] {
            bitmap->write(line.text, line.x, line.y, game::TBitmapFont2::L_JUSTIFY,
                          game::TBitmapFont2::T_JUSTIFY);
        });
        ASSERT_EQ(inGameFont.size(), 320u * 240u);
        ASSERT_EQ(inBitmapFont.size(), inGameFont.size());
        int lit = 0, unlikeDefault = 0, unlikeBitmap = 0;
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 320; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * 320 + x);
                lit += inGameFont[i];
                unlikeDefault += inGameFont[i] != inDefaultFont[i];
                // Which character's cell the pixel lies in, if any.
                const int column = (x - static_cast<int>(line.x)) / 8;
                const bool inLine = y >= line.y && y < line.y + 8 && x >= line.x &&
                                    column < static_cast<int>(line.text.size());
                if (inLine && kOwnBitmapCells.count(line.text[static_cast<std::size_t>(column)])) continue;
                unlikeBitmap += inGameFont[i] != inBitmapFont[i];
            }
        }
        EXPECT_GT(lit, 0) << "nothing drawn";
        EXPECT_EQ(unlikeDefault, 0) << "pixels that differ from the default font";
        EXPECT_EQ(unlikeBitmap, 0) << "pixels that differ from the bitmap font";
    }
}

}  // namespace
