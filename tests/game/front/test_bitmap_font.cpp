// The fixed-cell bitmap font: cell size from the picture's marks, placement
// and justification of every cell, checked on the recording renderer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/front/bitmap_font.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/pixmap.h"
#include "tests/platform/test_io_tempdir.h"

namespace {

using game::TBitmapFont2;

constexpr std::uint32_t kMark = 0xFFFFFFFFu;
constexpr std::uint32_t kInk = 0xFF00FF00u;
constexpr std::uint32_t kMask = 0xFFFF00FFu;

// A 16 x 16 sheet of cw x ch cells whose first cell carries the size mark
// (the top-left colour down the left column and along the top row, to the
// cell boundary) unless `marked` is false.
std::string WriteSheet(const testutil::TempDir& dir, const std::string& name, int cw, int ch,
                       bool marked = true, int columns = 16, int rows = 16) {
    auto sheet = plat::CreatePixmap(cw * columns, ch * rows);
    for (int y = 0; y < sheet->height; ++y)
        for (int x = 0; x < sheet->width; ++x) sheet->Write(x, y, (x + y) % 3 ? kMask : kInk);
    if (marked) {
        for (int y = 0; y < ch; ++y) sheet->Write(0, y, kMark);
        for (int x = 0; x < cw; ++x) sheet->Write(x, 0, kMark);
    }
    const std::string path = dir / name;
    EXPECT_TRUE(plat::SavePixmapPNG(sheet, path));
    return path;
}

struct Cell {
    int frame;
    float x, y;
};

std::vector<Cell> Written(const TBitmapFont2& font, const std::string& text, float x, float y, int hjust,
                          int vjust, float scale = 1.0f) {
    plat::StartRecording();
    plat::ClearRecordedCalls();
    plat::SetScale(scale, scale);
    EXPECT_EQ(const_cast<TBitmapFont2&>(font).write(text, x, y, hjust, vjust), 0);
    plat::SetScale(1, 1);
    std::vector<Cell> cells;
    for (const auto& call : plat::RecordedCalls())
        if (call.kind == plat::DrawRecord::IMAGE && call.image == font.font.get())
            cells.push_back({call.frame, call.x, call.y});
    plat::StopRecording();
    return cells;
}

TEST(FrontBitmapFont, MeasuresItsCellsFromThePicture) {
    testutil::TempDir dir;
    for (auto [cw, ch] : {std::pair{8, 8}, std::pair{6, 10}, std::pair{12, 7}}) {
        auto font = TBitmapFont2::Create(WriteSheet(dir, "f.png", cw, ch), -1, -1);
        ASSERT_TRUE(font) << cw << "x" << ch;
        EXPECT_EQ(font->charw, cw);
        EXPECT_EQ(font->charh, ch);
        EXPECT_EQ(font->font->Frames(), 256);
        EXPECT_EQ(font->font->width, cw);
        EXPECT_EQ(font->name, dir / "f.png");
    }
}

TEST(FrontBitmapFont, FailedLoadOrMeasurementGivesNoFont) {
    testutil::TempDir dir;
    // Missing file; a picture of one colour (no mark ends); too few cells.
    EXPECT_EQ(TBitmapFont2::Create(dir / "missing.png", -1, -1), nullptr);
    auto flat = plat::CreatePixmap(128, 128);
    for (auto& p : flat->pixels) p = kMark;
    ASSERT_TRUE(plat::SavePixmapPNG(flat, dir / "flat.png"));
    EXPECT_EQ(TBitmapFont2::Create(dir / "flat.png", -1, -1), nullptr);
    EXPECT_EQ(TBitmapFont2::Create(WriteSheet(dir, "small.png", 8, 8, true, 16, 8), -1, -1), nullptr);

    TBitmapFont2 font;
    EXPECT_EQ(font.find_char_dimension(dir / "missing.png"), 0);
    EXPECT_EQ(font.charw, 0);  // unchanged when the picture cannot be read
}

TEST(FrontBitmapFont, ExplicitSizeNeverLooksAtTheMarks) {
    testutil::TempDir dir;
    auto font = TBitmapFont2::Create(WriteSheet(dir, "u.png", 8, 8, false), 8, 8);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->charw, 8);
    // Marks of 8 x 8 cut as 4 x 4 cells: the marks are ignored.
    auto small = TBitmapFont2::Create(WriteSheet(dir, "m.png", 8, 8), 4, 4);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->font->width, 4);
}

TEST(FrontBitmapFont, PlacesEachCellByJustificationAndScale) {
    testutil::TempDir dir;
    auto font = TBitmapFont2::Create(WriteSheet(dir, "f.png", 8, 8), -1, -1);
    ASSERT_TRUE(font);
    using F = TBitmapFont2;
    struct Case {
        int hjust, vjust;
        float scale;
        float x0, dx, y;
    };
    const std::vector<Case> cases = {
        {F::L_JUSTIFY, F::T_JUSTIFY, 1.0f, 100, 8, 50},
        {F::R_JUSTIFY, F::T_JUSTIFY, 1.0f, 84, 8, 50},
        {F::CENTRE, F::T_JUSTIFY, 1.0f, 92, 8, 50},
        {F::L_JUSTIFY, F::B_JUSTIFY, 1.0f, 100, 8, 42},
        {F::L_JUSTIFY, F::CENTRE, 1.0f, 100, 8, 46},
        {F::L_JUSTIFY, F::T_JUSTIFY, 0.9f, 100, 7.2f, 50},
        {F::R_JUSTIFY, F::B_JUSTIFY, 0.9f, 85.6f, 7.2f, 42.8f},
        // Arguments meant for the other axis have no effect.
        {F::B_JUSTIFY, F::R_JUSTIFY, 1.0f, 100, 8, 50},
        {F::T_JUSTIFY, F::L_JUSTIFY, 1.0f, 100, 8, 50},
    };
    for (const Case& c : cases) {
        auto cells = Written(*font, "AB", 100, 50, c.hjust, c.vjust, c.scale);
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0].frame, 65);
        EXPECT_EQ(cells[1].frame, 66);
        EXPECT_FLOAT_EQ(cells[0].x, c.x0) << c.hjust << "/" << c.vjust << " at " << c.scale;
        EXPECT_FLOAT_EQ(cells[1].x, c.x0 + c.dx) << c.hjust << "/" << c.vjust << " at " << c.scale;
        EXPECT_FLOAT_EQ(cells[0].y, c.y) << c.hjust << "/" << c.vjust << " at " << c.scale;
    }
    EXPECT_TRUE(Written(*font, "", 100, 50, F::R_JUSTIFY, F::CENTRE).empty());
    // Every 8-bit code has its own cell.
    auto high = Written(*font, std::string("\xFF\x80", 2), 0, 0, F::L_JUSTIFY, F::T_JUSTIFY);
    ASSERT_EQ(high.size(), 2u);
    EXPECT_EQ(high[0].frame, 255);
    EXPECT_EQ(high[1].frame, 128);
}

TEST(FrontBitmapFont, TheGameFontIsEightByEight) {
    const char* data = std::getenv("VELMAROK_DATA");
    ASSERT_NE(data, nullptr);
    auto font = TBitmapFont2::Create(std::string(data) + "/Graphics/8x8_VelmarokFont.png", -1, -1);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->charw, 8);
    EXPECT_EQ(font->charh, 8);
}

}  // namespace
