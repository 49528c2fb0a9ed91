// Every picture of the game cut and masked the way the game loads it: cell
// sizes and counts, the mask colour turning only the transparent pixels
// transparent, and the two pictures drawn without a mask holding none.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/banks.h"
#include "load_fixture.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/io/fs.h"

namespace {

using namespace loadtest;

struct Strip {
    const char* path;  // spelt as the game spells it
    int cellW, cellH, count;
    std::set<int> notDrawn;  // cells the game never shows (may be blank)
};

std::set<int> Except(int count, const std::set<int>& used) {
    std::set<int> out;
    for (int i = 0; i < count; ++i)
        if (!used.count(i)) out.insert(i);
    return out;
}

const std::vector<Strip>& Strips() {
    static const std::vector<Strip> strips = {
        {"Data/Graphics/superdax.png", 24, 21, 30, {}},
        {"Data/Graphics/shootexp.png", 24, 21, 4, {}},
        {"Data/Graphics/granada_dax.png", 24, 21, 12, {}},
        {"Data/Graphics/tira_granada_dax.png", 24, 21, 3, {}},
        // Unused cells, cell 61 (loaded, never shown) and the right halves
        // of the two-cell vehicles, which may be short of the second cell.
        {"Data/Graphics/enemyspr.png", 24, 21, 84,
         {12, 13, 47, 51, 61, 70, 71, 72, 73, 80, 21, 23, 25, 27, 75, 82}},
        {"Data/Graphics/enemycspr.png", 24, 21, 56,
         Except(56, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 14, 15, 16, 17, 18, 19, 48, 49, 50,
                     52, 53, 54, 28, 29, 39, 40, 41, 42, 43, 44, 26, 55, 20})},
        {"Data/Graphics/casetas.png", 48, 72, 2, {}},
        {"Data/Graphics/puertaab.png", 16, 64, 2, {}},
    };
    return strips;
}

using PicturesLoad = InProgramFolder;

TEST_F(PicturesLoad, StripsCutIntoTheirCellsWithTheAutomaticFlags) {
    for (const Strip& s : Strips()) {
        SCOPED_TRACE(s.path);
        auto image = plat::LoadAnimImage(s.path, s.cellW, s.cellH, 0, s.count, -1);
        ASSERT_NE(image, nullptr) << "the game would stop with \"Error loading anim bitmap\"";
        EXPECT_EQ(image->Frames(), s.count);
        EXPECT_EQ(image->width, s.cellW);
        EXPECT_EQ(image->height, s.cellH);
        EXPECT_EQ(image->flags, plat::MASKEDIMAGE) << "masked, nearest sampling";
        EXPECT_EQ(image->handleX, 0);
        EXPECT_EQ(image->handleY, 0);
        // A picture that is not a whole number of cells wide and high has
        // its grid shifted against what was drawn.
        auto raw = plat::LoadPixmap(s.path);
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(raw->width % s.cellW, 0) << raw->width;
        EXPECT_EQ(raw->height % s.cellH, 0) << raw->height;
    }
}

TEST_F(PicturesLoad, SinglePicturesAsTheGameLoadsThem) {
    // The pause banner through the image bank, mid-handled.
    ASSERT_EQ(plat::FileType("Data/graphics/paused.png"), plat::FILETYPE_FILE);
    fw::TImageBank bank;
    bank.SetPath("Data/graphics");
    bank.Load("paused", "", -1, 1);
    auto paused = bank.FindTImage("PAUSED");
    ASSERT_NE(paused, nullptr);
    EXPECT_EQ(paused->Frames(), 1);
    EXPECT_EQ(paused->flags, plat::MASKEDIMAGE);
    EXPECT_EQ(paused->handleX, paused->width / 2);
    EXPECT_EQ(paused->handleY, paused->height / 2);
    EXPECT_LE(paused->width, 320);
    EXPECT_LE(paused->height, 240);
    EXPECT_GT(Visible(*paused->pixmaps[0]), 0);

    // The closed gate fills the gap between the open wings (x 120..207)
    // and hides the top of the map while ViewTop is below 50.
    auto gate = plat::LoadImage("Data/Graphics/puertacer.png", -1);
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->width, 88);
    EXPECT_LE(gate->height, 50);
    EXPECT_EQ(gate->flags, plat::MASKEDIMAGE);
}

// Pixels written opaque in the file stay opaque (the mask punches no hole),
// transparent ones stay transparent, and every cell the game shows has
// something to show.
TEST_F(PicturesLoad, TheMaskClearsOnlyTheTransparentPixels) {
    struct Masked {
        const char* path;
        int cellW, cellH, count;
        std::set<int> notDrawn;
    };
    std::vector<Masked> pictures;
    for (const Strip& s : Strips()) pictures.push_back({s.path, s.cellW, s.cellH, s.count, s.notDrawn});
    pictures.push_back({"Data/graphics/paused.png", 0, 0, 1, {}});
    pictures.push_back({"Data/Graphics/puertacer.png", 0, 0, 1, {}});
    std::set<int> fontBlank{0};  // the size mark; codes without a glyph may be blank
    for (int c = 1; c < 256; ++c)
        if (c <= 32 || c >= 127) fontBlank.insert(c);
    pictures.push_back({"Data/Graphics/8x8_VelmarokFont.png", 8, 8, 256, fontBlank});

    for (const Masked& m : pictures) {
        SCOPED_TRACE(m.path);
        auto raw = plat::LoadPixmap(m.path);
        ASSERT_NE(raw, nullptr);
        const int cw = m.cellW ? m.cellW : raw->width, ch = m.cellH ? m.cellH : raw->height;
        auto image = m.cellW ? plat::LoadAnimImage(m.path, cw, ch, 0, m.count, -1) : plat::LoadImage(m.path, -1);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->Frames(), m.count);
        const int columns = raw->width / cw;
        for (int cell = 0; cell < m.count; ++cell) {
            const plat::TPixmap& got = *image->pixmaps[static_cast<std::size_t>(cell)];
            const int ox = (cell % columns) * cw, oy = (cell / columns) * ch;
            int holes = 0, leftovers = 0, halfTransparent = 0;
            for (int y = 0; y < ch; ++y) {
                for (int x = 0; x < cw; ++x) {
                    const std::uint32_t in = raw->Read(ox + x, oy + y), out = got.Read(x, y);
                    if (Alpha(in) == 255 && Alpha(out) != 255) ++holes;
                    if (Alpha(in) == 0 && Alpha(out) != 0) ++leftovers;
                    if (Alpha(out) != 0 && Alpha(out) != 255) ++halfTransparent;
                }
            }
            EXPECT_EQ(holes, 0) << "cell " << cell << ": opaque pixels in the mask colour";
            EXPECT_EQ(leftovers, 0) << "cell " << cell;
            EXPECT_EQ(halfTransparent, 0) << "cell " << cell;
            if (!m.notDrawn.count(cell)) {
                EXPECT_GT(Visible(got), 0) << "cell " << cell << " shows nothing";
            }
        }
    }
}

TEST_F(PicturesLoad, TheClosedGateIsOpaqueEverywhere) {
    auto gate = plat::LoadImage("Data/Graphics/puertacer.png", -1);
    ASSERT_NE(gate, nullptr);
    const auto& p = *gate->pixmaps[0];
    EXPECT_EQ(Visible(p), p.width * p.height) << "the passage would show through";
    for (std::uint32_t px : p.pixels) ASSERT_EQ(Alpha(px), 255u);
}

// The title logo and the loader picture are loaded with flags 0 and drawn
// with alpha blending: a mask-coloured pixel would show magenta, a
// transparent one whatever lies under it.
TEST_F(PicturesLoad, UnmaskedPicturesHoldNoMaskColour) {
    struct Case {
        const char* file;
        int width, minHeight, maxHeight;
    };
    // "titulo.png" is drawn at (16, 33) at 0.9 and must end above y 76;
    // "Loader.png" at (0, 16), ending by y 216 above the scroll text.
    for (const Case c : {Case{"titulo.png", 320, 40, 47}, Case{"Loader.png", 320, 192, 200}}) {
        SCOPED_TRACE(c.file);
        const std::string path = std::string("Data/graphics/") + c.file;  // the screens' ImagePath
        auto image = plat::LoadImage(path, 0);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->flags, 0);
        EXPECT_EQ(image->Frames(), 1);
        EXPECT_EQ(image->width, c.width);
        EXPECT_GE(image->height, c.minHeight);
        EXPECT_LE(image->height, c.maxHeight);
        int mask = 0, notOpaque = 0;
        for (std::uint32_t px : image->pixmaps[0]->pixels) {
            mask += Rgb(px) == kMaskRgb;
            notOpaque += Alpha(px) != 255;
        }
        EXPECT_EQ(mask, 0) << "pixels in the mask colour";
        EXPECT_EQ(notOpaque, 0) << "pixels that are not opaque";
    }
}

}  // namespace
