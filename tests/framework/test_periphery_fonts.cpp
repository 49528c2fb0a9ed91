// Bitmap fonts read from a glyph table written here, their measures and
// their drawing (alignment, rounding, the shadow pass) through the recording
// renderer; fonts, labels (scale, word wrap, centring) and the text cursor.

#include <string>
#include <vector>

#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/shapes.h"
#include "periphery_fixture.h"
#include "platform/core/error.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pixmap.h"
#include "test_lib_util.h"

namespace {

using periphery::PeripheryTest;

// Glyph lines: A and B with offsets, C with a negative x offset and a wide
// width, a blank space, the euro sign (8364, no y offset given) and an id 0
// that is skipped.  What follows the kerning line is not read.
const char* const kTable =
    "info face=\"T\" size=8 bold=0\r\n"
    "common lineHeight=10 base=8 scaleW=64 scaleH=32 pages=1 packed=0\r\n"
    "page id=0 file=\"t.png\"\r\n"
    "chars count=5\r\n"
    "char id=65   x=0     y=0     width=6   height=8   xoffset=0   yoffset=1   xadvance=7   page=0\r\n"
    "char id=66   x=8     y=0     width=5   height=10  xoffset=1   yoffset=0   xadvance=6   page=0\r\n"
    "char id=67   x=16    y=0     width=123 height=4   xoffset=-2  yoffset=2   xadvance=5   page=0\r\n"
    "char id=32   x=0     y=16    width=0   height=0   xoffset=0   yoffset=0   xadvance=4   page=0\r\n"
    "char id=8364 x=24    y=0     width=7   height=9   xoffset=0   xadvance=8   page=0\r\n"
    "char id=0    x=30    y=0     width=7   height=9   xoffset=0   yoffset=0   xadvance=8   page=0\r\n"
    "kernings count=1\r\n"
    "char id=68   x=40    y=0     width=7   height=9   xoffset=0   yoffset=0   xadvance=8   page=0\r\n";

class FontTest : public PeripheryTest {
protected:
    // The sheet and the table as url + ".png" and url + ".fnt".
    std::string WriteFont(const std::string& name, const std::string& table) {
        const std::string url = dir / name;
        plat::SavePixmapPNG(plat::CreatePixmap(64, 32), url + ".png");
        testlib::WriteAll(url + ".fnt", table);
        return url;
    }
    plat::Ref<fw::TBitmapFont> Font(const std::string& firstLine = "") {
        return fw::TBitmapFont::Create(WriteFont("t", firstLine + kTable), -1, 0, 0);
    }
    static std::vector<plat::DrawRecord> Glyphs() { return Calls(plat::DrawRecord::IMAGE); }

    testlib::TempDir dir;
};

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const plat::RuntimeError& e) {
        return e.what();
    }
    return "";
}

TEST_F(FontTest, TheGlyphTableIsReadFieldByField) {
    const auto font = Font();
    EXPECT_DOUBLE_EQ(font->ScaleFactor, 1) << "no scale line";
    EXPECT_DOUBLE_EQ(font->TextureW, 64);
    EXPECT_DOUBLE_EQ(font->TextureH, 32);
    EXPECT_EQ(font->NumChars, 5) << "id 0 skipped, nothing after the kerning line read";
    EXPECT_EQ(font->ID[68], 0);
    EXPECT_EQ(font->ID[65], 65);
    EXPECT_DOUBLE_EQ(font->yOffset[65], 1);
    EXPECT_DOUBLE_EQ(font->xAdvance[66], 6);
    EXPECT_DOUBLE_EQ(font->xOffset[67], -2);
    EXPECT_DOUBLE_EQ(font->width[67], 123);
    // The euro sign takes the first extra slot; its missing key reads 0.
    EXPECT_EQ(font->NumExtraChars, 1);
    EXPECT_EQ(font->FindChar(8364), 256);
    EXPECT_EQ(font->ID[256], 8364);
    EXPECT_DOUBLE_EQ(font->yOffset[256], 0);
    EXPECT_DOUBLE_EQ(font->xPos[256], 24);
    EXPECT_EQ(font->FindChar(9999), 0);
    EXPECT_EQ(font->CalcVRAM(), 4 * 64 * 32);

    // A y offset adjustment applies to every glyph.
    const auto lowered = fw::TBitmapFont::Create(dir / "t", -1, 0, 3);
    EXPECT_DOUBLE_EQ(lowered->yOffset[65], 4);
}

TEST_F(FontTest, ManyExtraCodesGrowTheTables) {
    std::string table = "info face=\"T\"\ncommon scaleW=64 scaleH=32\npage id=0\nchars count=160\n";
    for (int code = 300; code < 460; ++code)
        table += "char id=" + std::to_string(code) + " x=1    y=2    width=3   height=4   xoffset=0   yoffset=0   "
                 "xadvance=5\n";
    const auto font = fw::TBitmapFont::Create(WriteFont("many", table), -1, 0, 0);
    EXPECT_EQ(font->NumExtraChars, 160);
    EXPECT_EQ(font->ArraySize, 506) << "grown by 100 once the first 150 extra slots were full";
    EXPECT_EQ(font->xAdvance.size(), 506u);
    EXPECT_EQ(font->FindChar(300), 256);
    EXPECT_EQ(font->FindChar(459), 415);
    EXPECT_DOUBLE_EQ(font->height[415], 4);
}

TEST_F(FontTest, MissingFilesAreReportedAndTheMidHandleSettingComesBack) {
    for (const bool mid : {true, false}) {
        plat::AutoMidHandle(mid);
        const auto font = Font();
        EXPECT_EQ(plat::AutoMidHandleOn(), mid);
        EXPECT_EQ(plat::ImageXHandle(font->Image), 0) << "the sheet itself is handled at its corner";
        EXPECT_EQ(ErrorOf([&] { fw::TBitmapFont::Create(dir / "none", -1, 0, 0); }),
                  "Error loading bitmap " + dir / "none.png");
        EXPECT_EQ(plat::AutoMidHandleOn(), mid) << "also after a failed load";
    }
    plat::SavePixmapPNG(plat::CreatePixmap(8, 8), dir / "sheetonly.png");
    EXPECT_EQ(ErrorOf([&] { fw::TBitmapFont::Create(dir / "sheetonly", -1, 0, 0); }),
              "Error loading file " + dir / "sheetonly.fnt");
}

TEST_F(FontTest, WidthsHeightsAndTruncation) {
    auto font = Font();
    EXPECT_DOUBLE_EQ(font->StringWidth("AB"), 13);
    font->CharGap = 1;
    EXPECT_DOUBLE_EQ(font->StringWidth("AB"), 7 + 1 + 6) << "no gap after the last glyph";
    EXPECT_DOUBLE_EQ(font->StringWidth(""), 0);
    font->CharGap = 0;
    // Heights: the visible glyphs of ABCXYZ are A, B and C (8, 10, 4).
    EXPECT_DOUBLE_EQ(font->StringHeight("ABCXYZ"), 22.0 / 2);
    EXPECT_DOUBLE_EQ(font->StringHeight("B"), 10) << "one visible glyph: its own height";
    EXPECT_DOUBLE_EQ(font->StringHeight(" "), 0) << "no visible glyph";
    EXPECT_EQ(font->TruncateString("ABAB", 20), "ABA");
    EXPECT_EQ(font->TruncateString("ABAB", 6), "");

    const auto half = Font("ScaleF=0.5\r\n");
    EXPECT_DOUBLE_EQ(half->ScaleFactor, 0.5);
    EXPECT_DOUBLE_EQ(half->StringWidth("AB"), 6.5);
    EXPECT_DOUBLE_EQ(half->StringHeight("ABCXYZ"), 5.5);
    half->Draw("A", 10, 20, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(Glyphs().size(), 1u);
    EXPECT_FLOAT_EQ(Glyphs()[0].w, 3) << "glyphs drawn at half size";
    EXPECT_FLOAT_EQ(Glyphs()[0].h, 4);
    EXPECT_FLOAT_EQ(Glyphs()[0].y, 20.5);
    EXPECT_FLOAT_EQ(Glyphs()[0].sw, 6) << "from the whole glyph of the sheet";
}

TEST_F(FontTest, GlyphsArePlacedByTheirOffsetsAndAdvances) {
    const auto font = Font();
    font->CharGap = 1;
    font->Draw("AB", 10, 20, 0, 0, 0, 0, 0, 0);
    const auto g = Glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].x, 10);
    EXPECT_FLOAT_EQ(g[0].y, 21);
    EXPECT_FLOAT_EQ(g[0].sx, 0);
    EXPECT_FLOAT_EQ(g[0].sw, 6);
    EXPECT_FLOAT_EQ(g[0].sh, 8);
    EXPECT_FLOAT_EQ(g[1].x, 10 + 7 + 1 + 1) << "advance, gap and B's own x offset";
    EXPECT_FLOAT_EQ(g[1].y, 20);
    EXPECT_FLOAT_EQ(g[1].sx, 8);
    EXPECT_EQ(g[1].image, font->Image.get());

    // Under a drawing scale of 2 the pen and the offsets double.
    plat::ClearRecordedCalls();
    plat::SetScale(2, 2);
    font->Draw("AB", 10, 20, 0, 0, 0, 0, 0, 0);
    plat::SetScale(1, 1);
    EXPECT_FLOAT_EQ(Glyphs()[1].x, 10 + 2 * (7 + 1) + 2 * 1);
    EXPECT_FLOAT_EQ(Glyphs()[1].scaleX, 2);

    // A text longer than 255 characters is drawn to its end.
    plat::ClearRecordedCalls();
    font->Draw(std::string(300, 'A'), 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Glyphs().size(), 300u);
}

TEST_F(FontTest, AlignmentsPlaceTheText) {
    const auto font = Font();
    // "AB" is 13 wide; the font's height is 11.
    struct Case {
        int alignment;
        float x, y;  // of the A glyph drawn for "AB" at (100, 50)
    };
    for (const Case c : {Case{0, 100, 51}, Case{1, 93.5f, 51}, Case{2, 87, 51}, Case{3, 93.5f, 45.5f}}) {
        plat::ClearRecordedCalls();
        font->DrawAligned("AB", 100, 50, c.alignment, 0, 0, 0);
        ASSERT_EQ(Glyphs().size(), 2u) << c.alignment;
        EXPECT_FLOAT_EQ(Glyphs()[0].x, c.x) << c.alignment;
        EXPECT_FLOAT_EQ(Glyphs()[0].y, c.y) << c.alignment;
    }
    plat::ClearRecordedCalls();
    font->DrawAligned("AB", 100, 50, 4, 0, 0, 0);
    EXPECT_TRUE(Glyphs().empty()) << "an unknown alignment draws nothing";
}

TEST_F(FontTest, RoundingAppliesOnlyAtScaleOne) {
    const auto font = Font();
    font->Draw("A", 10.4, 19.6, 0, 0, 1, 1, 0, 0);
    EXPECT_FLOAT_EQ(Glyphs()[0].x, 10);
    EXPECT_FLOAT_EQ(Glyphs()[0].y, 21);
    plat::ClearRecordedCalls();
    plat::SetScale(2, 2);
    font->Draw("A", 10.4, 19.6, 0, 0, 1, 1, 0, 0);
    plat::SetScale(1, 1);
    EXPECT_FLOAT_EQ(Glyphs()[0].x, 10.4f);
    EXPECT_FLOAT_EQ(Glyphs()[0].y, 21.6f);
    plat::ClearRecordedCalls();
    const auto half = Font("ScaleF=0.5\r\n");
    half->Draw("A", 10.4, 19.6, 0, 0, 1, 1, 0, 0);
    EXPECT_FLOAT_EQ(Glyphs()[0].x, 10.4f) << "a font scale counts too";
}

TEST_F(FontTest, TheShadowPassDrawsBlackAndPutsColourAndAlphaBack) {
    const auto font = Font();
    fw::SetShadowStyle(2, 3, 0.5f);
    fw::TextAlpha = 0.5f;
    plat::SetColor(10, 20, 30);
    font->DrawAlignedWithShadow("A", 10, 20, 0, 0, 0);
    const auto g = Glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].r + g[0].g + g[0].b, 0);
    EXPECT_FLOAT_EQ(g[0].alpha, 0.25f) << "shadow alpha times text alpha";
    EXPECT_FLOAT_EQ(g[0].x, 12);
    EXPECT_FLOAT_EQ(g[0].y, 24);
    EXPECT_EQ(g[1].r, 10);
    EXPECT_FLOAT_EQ(g[1].x, 10);
    int r = 0, gr = 0, b = 0;
    plat::GetColor(r, gr, b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(b, 30);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.5f) << "the text alpha";
}

TEST_F(FontTest, StringArraysStackAndCentreAsABlock) {
    const auto font = Font();
    // Line height 0: the whole part of the font's height (11).
    font->DrawStringArray({"A", "A", "A"}, 0, 100, 0, 0, 0, 0, 0, 0, 1);
    const auto g = Glyphs();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_FLOAT_EQ(g[0].y, 100 - 17 + 1) << "moved up by half the block (16.5, rounded)";
    EXPECT_FLOAT_EQ(g[2].y - g[0].y, 22);
    plat::ClearRecordedCalls();
    font->DrawStringArray({"A", "B"}, 0, 0, 0, 0, 0, 0, 1, 20, 0);
    EXPECT_EQ(Glyphs().size(), 4u) << "each line with its shadow";
}

TEST_F(FontTest, LabelsScaleAndPutTheScaleBack) {
    auto label = fw::TLabel::CreateSpecial("AB", 5, 6, 0, 0, 0);
    label->Init(nullptr, fw::TColor::Create(200, 100, 50, 1), nullptr, 0, Font(), nullptr, "");
    label->Scale = 0.5f;
    plat::SetScale(2, 2);
    label->Draw(10, 20, 1);
    const auto g = Glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_FLOAT_EQ(g[0].scaleX, 1) << "half the current scale";
    EXPECT_FLOAT_EQ(g[0].x, 15);
    EXPECT_EQ(g[0].r, 200) << "in the label's colour";
    float sx = 0, sy = 0;
    plat::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 2) << "the caller's scale is back";
    plat::SetScale(1, 1);
    int r = 0, gr = 0, b = 0;
    plat::GetColor(r, gr, b);
    EXPECT_EQ(r + gr + b, 255 * 3);

    EXPECT_FLOAT_EQ(label->CalcWidth(), 6.5f);
    label->AutoScale(2.6f);
    EXPECT_FLOAT_EQ(label->Scale, 0.2f) << "shrunk to fit";
    label->Visible = 0;
    EXPECT_EQ(label->Draw(0, 0, 1), 0);
}

TEST_F(FontTest, LabelsWrapInABitmapFontAndCentreVertically) {
    auto label = fw::TLabel::CreateSpecial("AB AB AB", 1, 2, 0, 30, 0);
    label->Init(nullptr, nullptr, nullptr, 0, Font(), nullptr, "");
    label->PreCalcWordWrap();
    // "AB AB" measures 7 + 6 + 4 + 7 + 6 = 30 and still fits.
    EXPECT_EQ(label->TextArray, (std::vector<std::string>{"AB AB", "AB"}));
    EXPECT_EQ(label->TotalLines, 2);
    EXPECT_EQ(label->LineGap, 11) << "the font's line height";
    EXPECT_FLOAT_EQ(label->CalcHeight(), 22);
    label->Draw(5, 7, 0);
    const auto g = Glyphs();
    ASSERT_EQ(g.size(), 6u);
    EXPECT_FLOAT_EQ(g[0].y, 7 + 2 + 1);
    EXPECT_FLOAT_EQ(g[4].y, 7 + 2 + 11 + 1);

    plat::ClearRecordedCalls();
    auto centred = fw::TLabel::CreateSpecial("A", 0, 50, 0, 0, 1);
    centred->Init(nullptr, nullptr, nullptr, 0, Font(), nullptr, "");
    centred->Draw(0, 0, 0);
    EXPECT_FLOAT_EQ(Glyphs()[0].y, 46) << "half the font's height higher (45.5), at a whole pixel";
}

TEST_F(FontTest, FontsApplyTheirColourShadowAndScale) {
    auto font = fw::TFont::Create(nullptr, fw::TColor::Create(10, 20, 30, 0.5f), fw::TShadow::Create(2, 2, 0.7f), 0,
                                  nullptr, fw::TColor::Create(1, 2, 3, 1), "plain");
    EXPECT_FLOAT_EQ(font->H, 8) << "the default font's height";
    font->Apply();
    int r = 0, g = 0, b = 0;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 10);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.5f);
    EXPECT_FLOAT_EQ(fw::TextShadowX, 2);
    EXPECT_FLOAT_EQ(fw::TextAlpha, 0.5f) << "shadows fade with the colour";
    font->ApplyInverse();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    font->ApplyScale(3);
    float sx = 0, sy = 0;
    plat::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 3);
    font->RestoreScale();
    plat::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1);

    const auto bitmap = Font();
    auto withBitmap = fw::TFont::Create(nullptr, nullptr, nullptr, 0, bitmap, nullptr, "");
    EXPECT_FLOAT_EQ(withBitmap->H, 11);
    withBitmap->ApplyScale(0.25);
    EXPECT_DOUBLE_EQ(bitmap->ScaleFactor, 0.25);
    withBitmap->RestoreScale();
    EXPECT_DOUBLE_EQ(bitmap->ScaleFactor, 1);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
}

TEST_F(FontTest, TheTextCursorWritesLinesDownwards) {
    fw::SetShadowStyle(1, 1, 1);
    fw::TTextCursor cursor;
    cursor.Init(4, 10, 12);
    cursor.OutputNL("one");
    cursor.Shadow = 1;
    cursor.OutputNL("two");
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "one");
    EXPECT_FLOAT_EQ(texts[0].y, 10);
    EXPECT_EQ(texts[1].r, 0) << "the shadow first";
    EXPECT_FLOAT_EQ(texts[1].x, 5);
    EXPECT_FLOAT_EQ(texts[1].y, 23);
    EXPECT_FLOAT_EQ(texts[1].alpha, 1);
    EXPECT_FLOAT_EQ(texts[2].y, 22);
    EXPECT_EQ(cursor.y, 34);
}

}  // namespace
