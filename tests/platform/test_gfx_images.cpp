// Strips, pixmaps, PNG files and image fonts.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/core/error.h"
#include "test_gfx_support.h"
#include "test_io_tempdir.h"

using namespace plat;
using gfxtest::GfxTest;
using testutil::Slurp;
using testutil::TempDir;

namespace {

namespace fs = std::filesystem;

// A 3 x 2 grid of 2 x 2 cells, cell i filled with colour 0xFF000000 + i + 1.
Ref<TPixmap> Grid() {
    auto p = CreatePixmap(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            p->Write(x, y, 0xFF000000u + static_cast<std::uint32_t>((y / 2) * 3 + x / 2 + 1));
    return p;
}

}  // namespace

TEST(GfxStrip, CellsRunLeftToRightThenTopToBottom) {
    auto img = LoadAnimImage(Grid(), 2, 2, 1, 4, 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->Frames(), 4);
    EXPECT_EQ(img->width, 2);
    EXPECT_EQ(img->height, 2);
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(img->pixmaps[static_cast<std::size_t>(f)]->Read(0, 0), 0xFF000000u + f + 2) << f;
        EXPECT_EQ(img->pixmaps[static_cast<std::size_t>(f)]->Read(1, 1), 0xFF000000u + f + 2) << f;
    }
    // Cells that are not there, and nonsense sizes.
    EXPECT_FALSE(LoadAnimImage(Grid(), 2, 2, 3, 4, 0));
    EXPECT_TRUE(LoadAnimImage(Grid(), 2, 2, 0, 6, 0));
    EXPECT_FALSE(LoadAnimImage(Grid(), 2, 2, 0, 7, 0));
    EXPECT_FALSE(LoadAnimImage(Grid(), 4, 4, 0, 2, 0)) << "only one whole 4x4 cell";
    EXPECT_FALSE(LoadAnimImage(Grid(), 0, 2, 0, 1, 0));
    EXPECT_FALSE(LoadAnimImage(Grid(), 2, 2, -1, 1, 0));
    EXPECT_FALSE(LoadAnimImage(Ref<TPixmap>{}, 2, 2, 0, 1, 0));
}

TEST(GfxStrip, MaskAppliesToEveryFrameAndHandlesFollowTheSettings) {
    auto p = Grid();
    p->Write(2, 0, 0xFFFF00FF);  // inside cell 1
    SetMaskColor(255, 0, 255);
    AutoMidHandle(true);
    auto img = LoadAnimImage(p, 2, 2, 0, 6, MASKEDIMAGE);
    AutoMidHandle(false);
    SetMaskColor(0, 0, 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixmaps[1]->Read(0, 0), 0u);
    EXPECT_EQ(img->pixmaps[1]->Read(1, 0), 0xFF000002u);
    EXPECT_EQ(img->handleX, 1);
    EXPECT_EQ(img->handleY, 1);
    auto odd = CreateImage(5, 3, 2, 0);
    MidHandleImage(odd);
    EXPECT_EQ(odd->handleX, 2) << "integer halves";
    EXPECT_EQ(odd->handleY, 1);
    EXPECT_EQ(ImageFrames(odd), 2);
    EXPECT_TRUE(odd->Frame(1));
    EXPECT_FALSE(odd->Frame(2));
    EXPECT_FALSE(CreateImage(0, 3));
}

TEST(GfxPixmap, PixelsReadBackExactlyAndWindowsClip) {
    auto p = CreatePixmap(3, 2, PF_RGBA8888, 4);
    p->Write(0, 0, 0x00123456);  // colour under alpha 0 survives
    p->Write(2, 1, 0x80FFFFFF);
    p->Write(3, 0, 0xFFFFFFFF);  // outside: ignored
    EXPECT_EQ(ReadPixel(p, 0, 0), 0x00123456u);
    EXPECT_EQ(ReadPixel(p, 2, 1), 0x80FFFFFFu);
    EXPECT_EQ(ReadPixel(p, -1, 0), 0u);
    auto w = PixmapWindow(p, 1, 1, 5, 5);
    EXPECT_EQ(PixmapWidth(w), 2);
    EXPECT_EQ(PixmapHeight(w), 1);
    EXPECT_EQ(ReadPixel(w, 1, 0), 0x80FFFFFFu);
    auto rgb = ConvertPixmap(p, PF_RGB888);
    EXPECT_EQ(ReadPixel(rgb, 0, 0), 0xFF123456u);
    EXPECT_EQ(ReadPixel(p, 0, 0), 0x00123456u) << "conversion copies";
}

TEST(GfxPng, SaveAndLoadRoundTrip) {
    TempDir dir;
    auto p = CreatePixmap(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            p->Write(x, y, (static_cast<std::uint32_t>(x * 60) << 24) |
                               (static_cast<std::uint32_t>(y * 100) << 16) |
                               static_cast<std::uint32_t>(x * 7 + y));
    p->Write(4, 2, 0xFFFF00FF);
    const std::string path = dir / "shot.png";
    ASSERT_TRUE(SavePixmapPNG(p, path));
    auto q = LoadPixmap(path);
    ASSERT_TRUE(q);
    ASSERT_EQ(q->width, 5);
    ASSERT_EQ(q->height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_EQ(q->Read(x, y), p->Read(x, y)) << x << "," << y;
    // RGB888 drops the alpha channel.
    ASSERT_TRUE(SavePixmapPNG(ConvertPixmap(p, PF_RGB888), path));
    auto r = LoadPixmap(path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Read(1, 1), 0xFF640008u);
    // Nothing but the file itself is left in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(GfxPng, PathsAreResolvedWhateverTheirCapitals) {
    TempDir dir;
    fs::create_directories(dir / "Data/Graphics");
    auto p = CreatePixmap(2, 2);
    p->Write(1, 1, 0xFF102030);
    ASSERT_TRUE(SavePixmapPNG(p, dir / "data/graphics/Pic.png"));
    EXPECT_TRUE(fs::exists(dir / "Data/Graphics/Pic.png")) << "saved into the existing folder";
    auto img = LoadImage(dir / "DATA\\graphics\\pic.PNG", 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixmaps[0]->Read(1, 1), 0xFF102030u);
    EXPECT_TRUE(LoadAnimImage(dir / "data/GRAPHICS/pic.png", 1, 1, 0, 4, 0));
}

TEST(GfxPng, FailedSaveKeepsTheOldFileAndSaysSo) {
    TempDir dir;
    auto p = CreatePixmap(2, 2);
    EXPECT_FALSE(SavePixmapPNG(p, dir / "no/such/folder/x.png"));
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(0, 0), dir / "empty.png"));
    EXPECT_FALSE(fs::exists(dir / "empty.png"));
    // A folder that refuses new files (the temp file) leaves the old one.
    const std::string path = dir / "keep.png";
    ASSERT_TRUE(SavePixmapPNG(p, path));
    const auto before = fs::file_size(path);
    if (geteuid() != 0) {  // root ignores permissions
        chmod(dir.path().c_str(), 0500);
        p->Write(0, 0, 0xFF123456);
        EXPECT_FALSE(SavePixmapPNG(p, path));
        chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(fs::file_size(path), before);
    }
}

TEST(GfxPng, BadFilesGiveNullOrAClearError) {
    TempDir dir;
    dir.Put("text.png", "this is not a picture");
    auto p = CreatePixmap(8, 8);
    for (auto& px : p->pixels) px = 0xFF00FF00;
    ASSERT_TRUE(SavePixmapPNG(p, dir / "good.png"));
    const std::string good = Slurp(dir / "good.png");
    dir.Put("cut.png", good.substr(0, good.size() / 2));
    dir.Put("empty.png", "");
    for (const char* name : {"missing.png", "text.png", "cut.png", "empty.png"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(LoadPixmap(dir / name));
        EXPECT_FALSE(LoadImage(dir / name, 0));
        EXPECT_FALSE(LoadAnimImage(dir / name, 2, 2, 0, 1, 0));
        try {
            LoadPixmapOrThrow(dir / name);
            ADD_FAILURE() << "no error";
        } catch (const LoadError& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(LoadImage(dir / "good.png", 0));
}

TEST(GfxFont, DefaultFontHasFixedMetrics) {
    SetImageFont(nullptr);
    auto f = GetImageFont();
    ASSERT_TRUE(f);
    EXPECT_EQ(f, DefaultFont());
    EXPECT_EQ(TextWidth("ABC"), 24);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth(std::string("\xE9 x", 3)), 24);
    EXPECT_EQ(TextHeight("ABCXYZ"), 8);
    EXPECT_EQ(f->Height(), 8);
    EXPECT_FALSE(f->Glyph(' ').image) << "blank glyphs have no image";
    EXPECT_EQ(f->Glyph(' ').advance, 8);
    ASSERT_TRUE(f->Glyph('A').image);
    EXPECT_EQ(f->Glyph('A').image->width, 8);
}

TEST_F(GfxTest, DefaultFontDrawsItsGlyphCells) {
    SetClsColor(0x10, 0x20, 0x30);
    Cls();
    SetBlend(SOLIDBLEND);
    SetColor(0, 255, 0);
    DrawText("A", 10, 20);
    auto glyph = DefaultFont()->Glyph('A').image;
    ASSERT_TRUE(glyph);
    int lit = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool on = (glyph->pixmaps[0]->Read(x, y) >> 24) != 0;
            lit += on;
            // Solid text draws the glyph's pixels opaque and leaves the rest.
            EXPECT_EQ(Pixel(10 + x, 20 + y), on ? 0x00FF00u : 0x102030u) << x << "," << y;
        }
    EXPECT_GT(lit, 8);
    // Scale steps the pen: at 0.5 the second character starts 4 pixels on.
    Cls();
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetScale(0.5f, 0.5f);
    DrawText("AA", 0, 0);
    SetScale(1, 1);
    DrawText("A", 100, 0);
    auto back = GrabBackBuffer();
    int firstHalf = 0, secondHalf = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            firstHalf += (back->Read(x, y) & 0xFFFFFF) != 0;
            secondHalf += (back->Read(4 + x, y) & 0xFFFFFF) != 0;
        }
    EXPECT_GT(firstHalf, 0);
    EXPECT_EQ(firstHalf, secondHalf);
}

TEST(GfxFont, TrueTypeFontMetricsAndGlyphPlacement) {
    auto f = LoadImageFont(VELMAROK_TEST_FONT, 8, 0);
    ASSERT_TRUE(f) << VELMAROK_TEST_FONT;
    EXPECT_EQ(f->Height(), 8);
    EXPECT_EQ(f->ascender, 7);
    SetImageFont(f);
    EXPECT_EQ(TextWidth("A"), 8);
    EXPECT_EQ(TextWidth("Ai A"), 8 + 4 + 4 + 8);
    EXPECT_EQ(TextHeight("A"), 8);
    const TImageGlyph& a = f->Glyph('A');
    ASSERT_TRUE(a.image);
    EXPECT_EQ(a.x, 1);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.image->width, 5);
    EXPECT_EQ(a.image->height, 7);
    EXPECT_EQ(a.image->pixmaps[0]->Read(2, 3), 0xFFFFFFFFu) << "monochrome: fully on";
    const TImageGlyph& i = f->Glyph('i');
    ASSERT_TRUE(i.image);
    EXPECT_EQ(i.y, 2) << "a 5-pixel glyph on the baseline starts 2 below the top";
    EXPECT_FALSE(f->Glyph(' ').image);
    (void)f->Glyph('Z');  // not in the face: no crash
    EXPECT_FALSE(f->Glyph(300).image);
    SetImageFont(nullptr);

    // Bold is FreeType's emboldening: visible at larger sizes, while the
    // pen moves on by the face's own advance (fixed pitch stays fixed).
    auto big = LoadImageFont(VELMAROK_TEST_FONT, 40, 0);
    auto bold = LoadImageFont(VELMAROK_TEST_FONT, 40, BOLDFONT);
    auto italic = LoadImageFont(VELMAROK_TEST_FONT, 40, ITALICFONT | SMOOTHFONT);
    ASSERT_TRUE(big && bold && italic);
    auto lit = [](const TImageGlyph& g) {
        int n = 0;
        for (auto px : g.image->pixmaps[0]->pixels) n += (px >> 24) >= 0x80;
        return n;
    };
    ASSERT_TRUE(big->Glyph('A').image && bold->Glyph('A').image && italic->Glyph('A').image);
    EXPECT_GT(lit(bold->Glyph('A')), lit(big->Glyph('A')));
    EXPECT_EQ(bold->Glyph('A').advance, big->Glyph('A').advance);
    EXPECT_GT(italic->Glyph('A').image->width, big->Glyph('A').image->width) << "sheared";
    // Monochrome bold keeps whole-pixel advances: the pen stays on the grid.
    auto small = LoadImageFont(VELMAROK_TEST_FONT, 8, BOLDFONT);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->Glyph('A').advance, 8);
    EXPECT_EQ(small->TextWidth("AAAA"), 32);
}

TEST_F(GfxTest, TrueTypeTextDrawsAtItsPen) {
    auto f = LoadImageFont(VELMAROK_TEST_FONT, 8, 0);
    ASSERT_TRUE(f);
    SetImageFont(f);
    SetBlend(ALPHABLEND);
    DrawText("iA", 10, 10);
    // 'i': x 11..12, y 12..16.  'A' after an advance of 4: x 15..19, y 10..16.
    EXPECT_EQ(Pixel(11, 12), 0xFFFFFFu);
    EXPECT_EQ(Pixel(12, 16), 0xFFFFFFu);
    EXPECT_EQ(Pixel(11, 11), 0x000000u);
    EXPECT_EQ(Pixel(13, 14), 0x000000u);
    EXPECT_EQ(Pixel(15, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(19, 16), 0xFFFFFFu);
    EXPECT_EQ(Pixel(20, 16), 0x000000u);
    EXPECT_EQ(Pixel(15, 17), 0x000000u);
}

TEST(GfxFont, FilesFreeTypeRefusesGiveNull) {
    TempDir dir;
    dir.Put("junk.ttf", std::string(200, 'x'));
    dir.Put("empty.ttf", "");
    EXPECT_FALSE(LoadImageFont(dir / "junk.ttf", 8));
    EXPECT_FALSE(LoadImageFont(dir / "empty.ttf", 8));
    EXPECT_FALSE(LoadImageFont(dir / "missing.ttf", 8));
    EXPECT_FALSE(LoadImageFont(dir.path(), 8)) << "a folder";
    EXPECT_FALSE(LoadImageFont(VELMAROK_TEST_FONT, 0));
}
