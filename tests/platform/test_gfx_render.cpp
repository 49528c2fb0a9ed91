// Drawing into the GL back buffer, read back pixel by pixel.

#include <algorithm>
#include <cmath>
#include <vector>

#include "test_gfx_support.h"

using namespace plat;
using gfxtest::GfxTest;
using gfxtest::NearColor;
using gfxtest::SolidImage;

namespace {

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 255); }

std::uint32_t Rgb(int r, int g, int b) {
    auto cl = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return (cl(r) << 16) | (cl(g) << 8) | cl(b);
}

struct BlendCase {
    const char* name;
    int mode;
    float alpha;           // SetAlpha
    std::uint32_t texel;   // ARGB of the image drawn
    int r, g, b;           // SetColor
};

// dst is 0x604020 everywhere before the draw.
std::uint32_t Expected(const BlendCase& c) {
    const std::uint32_t dst = 0x604020;
    const float ta = static_cast<float>(c.texel >> 24) / 255.f;
    const float a = ta * c.alpha;
    int out[3];
    for (int i = 0; i < 3; ++i) {
        const int shift = 16 - 8 * i;
        const float texel = static_cast<float>(Channel(c.texel, shift));
        const float col = static_cast<float>(i == 0 ? c.r : i == 1 ? c.g : c.b);
        const float src = texel * col / 255.f;
        const float d = static_cast<float>(Channel(dst, shift));
        float v = d;
        switch (c.mode) {
            case SOLIDBLEND: v = src; break;
            case ALPHABLEND: v = src * a + d * (1 - a); break;
            case LIGHTBLEND: v = d + src * a; break;
            case SHADEBLEND: v = d * src / 255.f; break;
            case MASKBLEND: v = a >= 0.5f ? src : d; break;
        }
        out[i] = static_cast<int>(std::lround(v));
    }
    return Rgb(out[0], out[1], out[2]);
}

}  // namespace

TEST_F(GfxTest, EveryBlendModeFollowsItsFormula) {
    const BlendCase cases[] = {
        {"solid ignores alpha", SOLIDBLEND, 0.5f, 0x80C08040, 255, 255, 255},
        {"solid modulated by colour", SOLIDBLEND, 1, 0xFFFFFFFF, 200, 100, 50},
        {"alpha half", ALPHABLEND, 0.5f, 0xFFC08040, 255, 255, 255},
        {"alpha texel times alpha", ALPHABLEND, 0.5f, 0x80FFFFFF, 255, 255, 255},
        {"alpha opaque", ALPHABLEND, 1, 0xFF102030, 255, 255, 255},
        {"light adds", LIGHTBLEND, 1, 0xFF404040, 255, 255, 255},
        {"light saturates", LIGHTBLEND, 1, 0xFFFFFFFF, 255, 255, 255},
        {"light scaled by alpha", LIGHTBLEND, 0.25f, 0xFF808080, 255, 255, 255},
        {"shade multiplies", SHADEBLEND, 1, 0xFF808080, 255, 255, 255},
        {"shade with colour", SHADEBLEND, 1, 0xFFFFFFFF, 128, 255, 0},
        {"mask keeps opaque texels", MASKBLEND, 1, 0xFF30A0F0, 255, 255, 255},
        {"mask draws above half opaque", MASKBLEND, 1, 0x99C08040, 255, 255, 255},
        {"mask drops below half", MASKBLEND, 1, 0x66C08040, 255, 255, 255},
        {"mask counts the alpha setting", MASKBLEND, 0.4f, 0xFFC08040, 255, 255, 255},
    };
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(c.name);
        gfxtest::ResetDrawState();
        SetBlend(SOLIDBLEND);
        SetColor(0x60, 0x40, 0x20);
        DrawRect(0, 0, 320, 240);
        auto img = SolidImage(16, 16, c.texel);
        SetBlend(c.mode);
        SetAlpha(c.alpha);
        SetColor(c.r, c.g, c.b);
        DrawImage(img, 100, 100);
        EXPECT_TRUE(NearColor(Pixel(108, 108), Expected(c)));
        EXPECT_TRUE(NearColor(Pixel(98, 98), 0x604020)) << "outside the image";
    }
}

TEST_F(GfxTest, PrimitivesUseTheSameBlendFormulas) {
    SetBlend(SOLIDBLEND);
    SetColor(0x60, 0x40, 0x20);
    DrawRect(0, 0, 320, 240);
    SetBlend(LIGHTBLEND);
    SetColor(0x40, 0x40, 0x40);
    SetAlpha(0.5f);
    DrawRect(10, 10, 10, 10);
    EXPECT_TRUE(NearColor(Pixel(15, 15), Rgb(0x60 + 0x20, 0x40 + 0x20, 0x20 + 0x20)));
    SetBlend(SHADEBLEND);
    SetAlpha(1);
    SetColor(128, 128, 128);
    DrawRect(30, 10, 10, 10);
    EXPECT_TRUE(NearColor(Pixel(35, 15), Rgb(0x30, 0x20, 0x10)));
}

TEST_F(GfxTest, MaskColourBecomesTransparentBlack) {
    auto p = CreatePixmap(4, 1);
    p->Write(0, 0, 0xFFFF00FF);  // the mask colour
    p->Write(1, 0, 0xFF00FF00);
    p->Write(2, 0, 0x00FF00FF);  // mask colour under alpha 0
    p->Write(3, 0, 0xFFFE00FF);  // one off: kept
    SetMaskColor(255, 0, 255);
    auto img = LoadImage(p, MASKEDIMAGE);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->pixmaps[0]->Read(0, 0), 0x00000000u);
    EXPECT_EQ(img->pixmaps[0]->Read(1, 0), 0xFF00FF00u);
    EXPECT_EQ(img->pixmaps[0]->Read(2, 0), 0x00000000u);
    EXPECT_EQ(img->pixmaps[0]->Read(3, 0), 0xFFFE00FFu);
    EXPECT_EQ(p->Read(0, 0), 0xFFFF00FFu) << "the source pixmap is left alone";

    // Unmasked loads keep the colour.
    auto plain = LoadImage(p, 0);
    EXPECT_EQ(plain->pixmaps[0]->Read(0, 0), 0xFFFF00FFu);

    SetBlend(SOLIDBLEND);
    SetColor(0, 0, 200);
    DrawRect(0, 0, 320, 240);
    SetColor(255, 255, 255);
    // Solid shows black where the mask was; alpha and mask leave the ground.
    DrawImage(img, 10, 10);
    SetBlend(ALPHABLEND);
    DrawImage(img, 10, 20);
    SetBlend(MASKBLEND);
    DrawImage(img, 10, 30);
    EXPECT_EQ(Pixel(10, 10), 0x000000u);
    EXPECT_EQ(Pixel(10, 20), 0x0000C8u);
    EXPECT_EQ(Pixel(10, 30), 0x0000C8u);
    EXPECT_EQ(Pixel(11, 30), 0x00FF00u);
    EXPECT_EQ(Pixel(13, 30), 0xFE00FFu);
}

TEST_F(GfxTest, AutomaticFlagsAndMaskApplyToLoadsWithFlagsMinusOne) {
    auto p = CreatePixmap(2, 1);
    p->Write(0, 0, 0xFFFF00FF);
    SetMaskColor(255, 0, 255);
    AutoImageFlags(MASKEDIMAGE);
    auto img = LoadImage(p, -1);
    EXPECT_EQ(img->flags, MASKEDIMAGE);
    EXPECT_EQ(img->pixmaps[0]->Read(0, 0), 0u);
    SetGraphicsDriver(DRIVER_OPENGL, FILTEREDIMAGE);
    EXPECT_EQ(GetAutoImageFlags(), FILTEREDIMAGE);
}

// A 4 x 2 image: top row red, bottom row green, drawn with a handle,
// scale and rotation; the pixels must land where the placement rule says.
TEST_F(GfxTest, HandleScaleAndRotationPlaceTheImage) {
    auto p = CreatePixmap(4, 2);
    for (int x = 0; x < 4; ++x) {
        p->Write(x, 0, 0xFFFF0000);
        p->Write(x, 1, 0xFF00FF00);
    }
    auto img = LoadImage(p, 0);
    SetBlend(SOLIDBLEND);

    // Handle (2, 1), scale 2: the image covers (100-4, 100-2) .. (100+4, 100+2).
    SetImageHandle(img, 2, 1);
    SetScale(2, 2);
    DrawImage(img, 100, 100);
    EXPECT_EQ(Pixel(96, 98), 0xFF0000u);
    EXPECT_EQ(Pixel(103, 99), 0xFF0000u);
    EXPECT_EQ(Pixel(96, 100), 0x00FF00u);
    EXPECT_EQ(Pixel(103, 101), 0x00FF00u);
    EXPECT_EQ(Pixel(95, 100), 0x000000u);
    EXPECT_EQ(Pixel(104, 100), 0x000000u);
    EXPECT_EQ(Pixel(100, 97), 0x000000u);
    EXPECT_EQ(Pixel(100, 102), 0x000000u);

    // Rotation 90 clockwise about the handle: the top row (red) turns to the
    // right-hand side, and the image's x axis points down.
    Cls();
    SetScale(1, 1);
    SetRotation(90);
    SetImageHandle(img, 0, 0);
    DrawImage(img, 50, 50);
    // Local (x, y) -> (50 - y, 50 + x): red row y = 0 covers x 49..50? The
    // red row spans local y 0..1, i.e. screen x 49..50; green 48..49.
    EXPECT_EQ(Pixel(49, 51), 0xFF0000u);
    EXPECT_EQ(Pixel(48, 51), 0x00FF00u);
    EXPECT_EQ(Pixel(49, 53), 0xFF0000u);
    EXPECT_EQ(Pixel(49, 54), 0x000000u);
    EXPECT_EQ(Pixel(50, 51), 0x000000u);

    // Negative scale mirrors about the handle.
    Cls();
    SetRotation(0);
    SetScale(-1, 1);
    DrawImage(img, 200, 50);
    EXPECT_EQ(Pixel(196, 50), 0xFF0000u);
    EXPECT_EQ(Pixel(199, 51), 0x00FF00u);
    EXPECT_EQ(Pixel(200, 50), 0x000000u);

    // The origin moves everything.
    Cls();
    SetScale(1, 1);
    SetOrigin(10, 20);
    DrawImage(img, 0, 0);
    EXPECT_EQ(Pixel(10, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(9, 20), 0x000000u);
}

// At a position half-way between pixels an image shows every row and
// column once, in order, a pixel along: none lost, none from outside it.
TEST_F(GfxTest, ImagesAtHalfPixelPositionsShowEveryRowAndColumn) {
    const std::uint32_t colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    auto rows = CreatePixmap(2, 3), columns = CreatePixmap(3, 2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            rows->Write(j, i, colours[i]);
            columns->Write(i, j, colours[i]);
        }
    auto rowImage = LoadImage(rows, 0), columnImage = LoadImage(columns, 0);
    SetBlend(SOLIDBLEND);
    for (const float at : {30.f, 30.5f, 30.25f, 30.75f}) {
        Cls();
        DrawImage(rowImage, 20, at);
        DrawImage(columnImage, at, 60);
        std::vector<std::uint32_t> down, across;
        for (int i = 28; i < 36; ++i) {
            if (const auto c = Pixel(20, i)) down.push_back(c);
            if (const auto c = Pixel(i, 60)) across.push_back(c);
        }
        const std::vector<std::uint32_t> expected = {0xFF0000u, 0x00FF00u, 0x0000FFu};
        EXPECT_EQ(down, expected) << "rows at y " << at;
        EXPECT_EQ(across, expected) << "columns at x " << at;
    }
}

TEST_F(GfxTest, RectsAndHandlesOfPrimitives) {
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetHandle(5, 5);
    DrawRect(20, 20, 10, 10);
    EXPECT_EQ(Pixel(15, 15), 0xFFFFFFu);
    EXPECT_EQ(Pixel(24, 24), 0xFFFFFFu);
    EXPECT_EQ(Pixel(25, 25), 0x000000u);
    EXPECT_EQ(Pixel(14, 15), 0x000000u);
    SetHandle(0, 0);

    // Fractional positions land on the nearest pixel centres.
    Cls();
    DrawRect(10.6f, 10, 2, 1);
    EXPECT_EQ(Pixel(10, 10), 0x000000u);
    EXPECT_EQ(Pixel(11, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(12, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(13, 10), 0x000000u);
}

TEST_F(GfxTest, LinesCoverTheirEndPixels) {
    SetBlend(SOLIDBLEND);
    // The outline of a 10 x 5 box as four one-pixel lines.
    const int l = 40, t = 30, w = 10, h = 5;
    DrawLine(l, t, l + w - 1, t);
    DrawLine(l + w - 1, t, l + w - 1, t + h - 1);
    DrawLine(l + w - 1, t + h - 1, l, t + h - 1);
    DrawLine(l, t + h - 1, l, t);
    for (int x = l; x < l + w; ++x) {
        EXPECT_EQ(Pixel(x, t), 0xFFFFFFu) << x;
        EXPECT_EQ(Pixel(x, t + h - 1), 0xFFFFFFu) << x;
    }
    EXPECT_EQ(Pixel(l + 2, t + 2), 0x000000u);
    EXPECT_EQ(Pixel(l - 1, t), 0x000000u);
    EXPECT_EQ(Pixel(l + w, t), 0x000000u);
    EXPECT_EQ(Pixel(l, t - 1), 0x000000u);

    Cls();
    DrawLine(10, 10, 15, 10, false);
    EXPECT_EQ(Pixel(14, 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(15, 10), 0x000000u) << "the last pixel is left out";
}

TEST_F(GfxTest, PlotAndOval) {
    SetBlend(SOLIDBLEND);
    Plot(7, 9);
    EXPECT_EQ(Pixel(7, 9), 0xFFFFFFu);
    EXPECT_EQ(Pixel(8, 9), 0x000000u);
    EXPECT_EQ(Pixel(7, 10), 0x000000u);
    DrawOval(100, 100, 40, 20);
    EXPECT_EQ(Pixel(120, 110), 0xFFFFFFu);
    EXPECT_EQ(Pixel(102, 110), 0xFFFFFFu);
    EXPECT_EQ(Pixel(101, 101), 0x000000u) << "corner of the box";
    EXPECT_EQ(Pixel(141, 110), 0x000000u);
}

TEST_F(GfxTest, ViewportClipsWithoutMovingTheOrigin) {
    SetBlend(SOLIDBLEND);
    SetViewport(50, 60, 20, 10);
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(w, 20);
    DrawRect(0, 0, 320, 240);
    EXPECT_EQ(Pixel(50, 60), 0xFFFFFFu);
    EXPECT_EQ(Pixel(69, 69), 0xFFFFFFu);
    EXPECT_EQ(Pixel(49, 60), 0x000000u);
    EXPECT_EQ(Pixel(70, 60), 0x000000u);
    EXPECT_EQ(Pixel(50, 59), 0x000000u);
    EXPECT_EQ(Pixel(50, 70), 0x000000u);
    // Cls ignores the viewport.
    SetClsColor(10, 20, 30);
    Cls();
    EXPECT_EQ(Pixel(0, 0), 0x0A141Eu);
}

// One white virtual column on black, presented: the window pixels of its row
// add up to the same width wherever the column stands, and only a thin
// edge of in-between pixels surrounds it.
TEST_F(GfxTest, EveryVirtualPixelShowsEquallyWideAtFractionalScales) {
    struct Size {
        int w, h;
        float scale;
    };
    for (const Size& size : {Size{800, 600, 2.5f}, Size{1024, 768, 3.2f}, Size{960, 720, 3.f}}) {
        SCOPED_TRACE(size.w);
        Open(size.w, size.h, 320, 240);
        ASSERT_FLOAT_EQ(VirtualScale(), size.scale);
        SetBlend(SOLIDBLEND);
        for (int x = 100; x < 110; ++x) {
            SCOPED_TRACE(x);
            Cls();
            DrawRect(static_cast<float>(x), 0, 1, 240);
            auto back = GrabBackBuffer();
            ASSERT_TRUE(back);
            ASSERT_EQ(back->width, size.w);
            float sum = 0;
            int partial = 0;
            for (int px = 0; px < back->width; ++px) {
                const int v = static_cast<int>((back->Read(px, size.h / 2) >> 16) & 255);
                sum += static_cast<float>(v) / 255.f;
                if (v > 8 && v < 247) ++partial;
            }
            EXPECT_NEAR(sum, size.scale, 0.05f);
            EXPECT_LE(partial, 4) << "at most two blended window pixels on each side";
            // The drawing space itself holds exactly the one pixel.
            auto space = GrabPixmap(x - 1, 100, 3, 1);
            EXPECT_EQ(space->Read(0, 0) & 0xFFFFFF, 0u);
            EXPECT_EQ(space->Read(1, 0) & 0xFFFFFF, 0xFFFFFFu);
            EXPECT_EQ(space->Read(2, 0) & 0xFFFFFF, 0u);
        }
    }
}

TEST_F(GfxTest, DrawingIsInVirtualPixelsAndViewportsMeetExactly) {
    Open(800, 600, 320, 240);
    SetBlend(SOLIDBLEND);
    SetViewport(0, 0, 3, 10);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 320, 240);
    SetViewport(3, 0, 3, 10);
    SetColor(0, 255, 0);
    DrawRect(0, 0, 320, 240);
    auto space = GrabPixmap(0, 5, 8, 1);
    ASSERT_TRUE(space);
    ASSERT_EQ(space->width, 8);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(space->Read(x, 0) & 0xFFFFFF, x < 3 ? 0xFF0000u : x < 6 ? 0x00FF00u : 0u) << x;
    // Fractional positions land on whole virtual pixels.
    SetViewport(0, 0, 320, 240);
    Cls();
    SetColor(255, 255, 255);
    DrawRect(10.4f, 20.6f, 1, 1);
    auto p = GrabPixmap(9, 19, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p->Read(x, y) & 0xFFFFFF, x == 1 && y == 2 ? 0xFFFFFFu : 0u) << x << " " << y;
}

// A picture drawn scaled by a fraction keeps every row it has: such frames
// are drawn at the whole part of the window's scale.
TEST_F(GfxTest, PicturesScaledByAFractionKeepTheirDetail) {
    auto p = CreatePixmap(1, 8);
    const std::uint32_t rows[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                   0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF, 0xFF808080};
    for (int y = 0; y < 8; ++y) p->Write(0, y, rows[y]);
    auto img = LoadImage(p, 0);
    for (const int w : {800, 1024}) {
        SCOPED_TRACE(w);
        Open(w, w * 3 / 4, 320, 240);
        SetBlend(SOLIDBLEND);
        SetScale(8, 0.9f);
        DrawImage(img, 100, 100);
        SetScale(1, 1);
        auto back = GrabBackBuffer();
        ASSERT_TRUE(back);
        // Each window row of the picture is matched to the nearest of the
        // eight colours: every one of them must win somewhere.
        const int x = static_cast<int>(VirtualOffsetX() + 104 * VirtualScale());
        bool seen[8] = {};
        for (int py = 0; py < back->height; ++py) {
            const std::uint32_t c = back->Read(x, py);
            if ((c & 0xFFFFFF) == 0) continue;
            int best = 0, bestDistance = 1 << 30;
            for (int y = 0; y < 8; ++y) {
                int d = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const int e = Channel(c, shift) - Channel(rows[y], shift);
                    d += e * e;
                }
                if (d < bestDistance) {
                    best = y;
                    bestDistance = d;
                }
            }
            seen[best] = true;
        }
        for (int y = 0; y < 8; ++y) EXPECT_TRUE(seen[y]) << "row " << y;
        // The next frame without such pictures is back at one pixel per
        // virtual pixel, and still shows what it draws.
        Cls();
        Cls();
        SetColor(255, 0, 0);
        DrawRect(10, 10, 1, 1);
        auto space = GrabPixmap(10, 10, 1, 1);
        EXPECT_EQ(space->Read(0, 0) & 0xFFFFFF, 0xFF0000u);
        SetColor(255, 255, 255);
    }
}

// A panel laid out in window pixels (another drawing space) and a re-open
// at another window size both show over the last frame.
TEST_F(GfxTest, TheLastFrameSurvivesANewDrawingSpaceAndAReOpen) {
    Open(800, 600, 320, 240);
    SetBlend(SOLIDBLEND);
    SetColor(0, 0, 255);
    DrawRect(0, 0, 320, 240);
    SetColor(255, 0, 0);
    DrawRect(100, 100, 20, 20);
    SetVirtualResolution(800, 600);
    EXPECT_EQ(Pixel(275, 275), 0xFF0000u);
    EXPECT_EQ(Pixel(240, 240), 0x0000FFu);
    auto space = GrabPixmap(275, 275, 1, 1);
    EXPECT_EQ(space->Read(0, 0) & 0xFFFFFF, 0xFF0000u) << "window pixels are now the drawing space";
    SetVirtualResolution(320, 240);
    ASSERT_TRUE(Graphics(1024, 768, 0, 60));
    SetVirtualResolution(320, 240);
    EXPECT_EQ(GrabPixmap(110, 110, 1, 1)->Read(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(GrabPixmap(90, 90, 1, 1)->Read(0, 0) & 0xFFFFFF, 0x0000FFu);
    SetColor(255, 255, 255);
}

TEST_F(GfxTest, LetterboxKeepsTheAspectAndClipsToThePicture) {
    Open(400, 240, 320, 240);  // bars of 40 pixels left and right
    EXPECT_FLOAT_EQ(VirtualScale(), 1.f);
    EXPECT_FLOAT_EQ(VirtualOffsetX(), 40.f);
    EXPECT_FLOAT_EQ(VirtualOffsetY(), 0.f);
    SetBlend(SOLIDBLEND);
    // A full-window rectangle in virtual units is clipped at the picture.
    DrawRect(-100, 0, 600, 240);
    EXPECT_EQ(Pixel(39, 100), 0x000000u);
    EXPECT_EQ(Pixel(40, 100), 0xFFFFFFu);
    EXPECT_EQ(Pixel(359, 100), 0xFFFFFFu);
    EXPECT_EQ(Pixel(360, 100), 0x000000u);
    // Cls reaches into the bars.
    SetClsColor(0, 0, 255);
    Cls();
    EXPECT_EQ(Pixel(5, 5), 0x0000FFu);
    EXPECT_EQ(Pixel(395, 235), 0x0000FFu);
}

TEST_F(GfxTest, VirtualResolutionCanBeSwitchedToWindowPixelsAndBack) {
    Open(800, 600, 320, 240);
    SetBlend(SOLIDBLEND);
    SetVirtualResolution(800, 600);
    DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(1, 1), 0x000000u);
    SetVirtualResolution(320, 240);
    EXPECT_FLOAT_EQ(VirtualResolutionWidth(), 320.f);
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    DrawRect(100, 100, 1, 1);
    EXPECT_EQ(Pixel(251, 251), 0xFFFFFFu);
}

TEST_F(GfxTest, BackBufferSurvivesFlip) {
    SetBlend(SOLIDBLEND);
    SetColor(12, 34, 56);
    DrawRect(0, 0, 320, 240);
    Flip(0);
    EXPECT_EQ(Pixel(10, 10), 0x0C2238u);
    // A panel drawn over the last frame, flipped again.
    SetColor(200, 0, 0);
    DrawRect(100, 100, 10, 10);
    Flip(0);
    EXPECT_EQ(Pixel(10, 10), 0x0C2238u);
    EXPECT_EQ(Pixel(105, 105), 0xC80000u);
}

TEST_F(GfxTest, ImagesSurviveEndGraphicsAndReopen) {
    auto img = SolidImage(8, 8, 0xFF336699);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 0, 0);
    EXPECT_EQ(Pixel(1, 1), 0x336699u);
    EndGraphics();
    EXPECT_FALSE(GraphicsOpen());
    DrawImage(img, 0, 0);  // nothing to draw into: ignored
    Open(320, 240, 320, 240);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 20, 20);
    EXPECT_EQ(Pixel(21, 21), 0x336699u);
    // Re-opening without closing keeps the context (and the textures).
    ASSERT_TRUE(Graphics(640, 480, 0, 60));
    SetVirtualResolution(320, 240);
    Cls();
    DrawImage(img, 0, 0);
    EXPECT_EQ(Pixel(3, 3), 0x336699u);
    EXPECT_EQ(DrawableWidth(), 640);
}

TEST_F(GfxTest, LockedPixelsShowAfterUnlock) {
    auto img = SolidImage(4, 4, 0xFF000080);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 0, 0);
    EXPECT_EQ(Pixel(1, 1), 0x000080u);
    auto px = LockImage(img);
    ASSERT_TRUE(px);
    px->Write(1, 1, 0xFFFFFF00);
    UnlockImage(img);
    DrawImage(img, 0, 0);
    EXPECT_EQ(Pixel(1, 1), 0xFFFF00u);
    EXPECT_EQ(Pixel(0, 0), 0x000080u);
    EXPECT_FALSE(LockImage(img, 1)) << "no frame 1";
}

TEST_F(GfxTest, GrabImageAndGrabPixmapReadTheBackBuffer) {
    Open(640, 480, 320, 240);  // scale 2
    SetBlend(SOLIDBLEND);
    SetColor(255, 0, 0);
    DrawRect(10, 10, 2, 2);
    auto img = CreateImage(4, 4, 1, 0);
    GrabImage(img, 9, 9);
    EXPECT_EQ(img->pixmaps[0]->Read(0, 0), 0xFF000000u);
    EXPECT_EQ(img->pixmaps[0]->Read(1, 1), 0xFFFF0000u);
    EXPECT_EQ(img->pixmaps[0]->Read(2, 2), 0xFFFF0000u);
    EXPECT_EQ(img->pixmaps[0]->Read(3, 3), 0xFF000000u);
    // A pixmap grab keeps its size in virtual pixels.
    auto p = GrabPixmap(10, 10, 2, 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 2);
    EXPECT_EQ(p->height, 2);
    EXPECT_EQ(p->Read(0, 0), 0xFFFF0000u);
    EXPECT_EQ(p->Read(1, 1), 0xFFFF0000u);
    // Outside the drawing space an image grab reads transparent black.
    SetColor(0, 255, 0);
    Plot(0, 0);
    GrabImage(img, -2, -2);
    EXPECT_EQ(img->pixmaps[0]->Read(1, 1), 0u);
    EXPECT_EQ(img->pixmaps[0]->Read(3, 1), 0u);
    EXPECT_EQ(img->pixmaps[0]->Read(2, 2), 0xFF00FF00u);
    EXPECT_EQ(img->pixmaps[0]->Read(3, 3), 0xFF000000u);
    SetColor(255, 255, 255);
    GrabImage(img, 9, 9);
    // The grabbed image draws like any other.
    Cls();
    DrawImage(img, 100, 100);
    EXPECT_EQ(Pixel(202, 202), 0xFF0000u);
}

TEST_F(GfxTest, SubImageRectAndTiles) {
    auto p = CreatePixmap(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) p->Write(x, y, x < 2 ? 0xFFFF0000 : 0xFF0000FF);
    auto img = LoadImage(p, 0);
    SetBlend(SOLIDBLEND);
    // The right half of the image, stretched to 8 x 8.
    DrawSubImageRect(img, 20, 20, 8, 8, 2, 0, 2, 4);
    EXPECT_EQ(Pixel(20, 20), 0x0000FFu);
    EXPECT_EQ(Pixel(27, 27), 0x0000FFu);
    EXPECT_EQ(Pixel(28, 20), 0x000000u);
    DrawImageRect(img, 50, 20, 8, 8);
    EXPECT_EQ(Pixel(53, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(54, 20), 0x0000FFu);
    SetViewport(100, 100, 10, 10);
    TileImage(img, 1, 1);
    EXPECT_EQ(Pixel(100, 100), 0x0000FFu);  // x 97..100 is the tile at 97
    EXPECT_EQ(Pixel(101, 100), 0xFF0000u);
    EXPECT_EQ(Pixel(109, 109), 0xFF0000u);
    EXPECT_EQ(Pixel(110, 109), 0x000000u);
}

TEST(GfxDisplay, EverySizeOnTheDesktopExistsWhateverModesTheDisplayLists) {
    // A display that lists one small mode only (as virtual machines and
    // nested servers do): full screen is a desktop-size window, so every
    // size that fits on the desktop is there at the desktop's depth.
    SetGraphicsModesForTests({{640, 480, 16, 75}});
    EXPECT_EQ(CountGraphicsModes(), 1);
    EXPECT_EQ(GetGraphicsMode(0).hertz, 75);
    EXPECT_TRUE(GraphicsModeExists(640, 480, 16, 75)) << "listed";
    EXPECT_TRUE(GraphicsModeExists(800, 600, 32)) << "24-bit desktop answers for 32";
    EXPECT_TRUE(GraphicsModeExists(800, 600, 24, 60));
    EXPECT_TRUE(GraphicsModeExists(DesktopWidth(), DesktopHeight()));
    EXPECT_FALSE(GraphicsModeExists(800, 600, 16)) << "not the desktop's depth, not listed";
    EXPECT_FALSE(GraphicsModeExists(800, 600, 0, 75)) << "not the desktop's rate";
    EXPECT_FALSE(GraphicsModeExists(DesktopWidth() + 1, 600)) << "larger than the desktop";
    EXPECT_FALSE(GraphicsModeExists(0, 600));
    EXPECT_FALSE(Graphics(DesktopWidth() + 1, 600, 32, 60)) << "no such full-screen mode";
    ASSERT_TRUE(Graphics(800, 600, 32, 60));
    EXPECT_TRUE(IsFullScreen());
    EXPECT_EQ(GraphicsWidth(), 800);
    // Full screen is the desktop, letterboxed.
    EXPECT_EQ(DrawableWidth(), DesktopWidth());
    SetVirtualResolution(320, 240);
    EXPECT_FLOAT_EQ(VirtualScale(),
                    std::min(DrawableWidth() / 320.f, DrawableHeight() / 240.f));
    // Back to a window without closing.
    ASSERT_TRUE(Graphics(800, 600, 0, 60));
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(DrawableWidth(), 800);
    ClearGraphicsModesForTests();
    EndGraphics();
}

TEST(GfxDisplay, HeadlessDisplayAnswersSensibly) {
    ClearGraphicsModesForTests();
    EXPECT_GE(CountGraphicsModes(), 1);
    EXPECT_EQ(DesktopRefreshRate(), 60);
    EXPECT_GT(DesktopWidth(), 0);
    EXPECT_TRUE(DriverExists(DRIVER_OPENGL));
    EXPECT_FALSE(DriverExists(DRIVER_D3D9));
    EXPECT_EQ(GraphicsDriverName(), "OPENGL");
    EXPECT_FALSE(Graphics(0, 600, 0, 60));
    AppTitle("Velmarok test");
    ASSERT_TRUE(Graphics(320, 240, 0, 0));
    EXPECT_EQ(CurrentAppTitle(), "Velmarok test");
    EXPECT_NE(WindowHandle(), 0);
    EXPECT_TRUE(WindowHasFocus()) << "with no window manager the one window has the focus";
    EXPECT_EQ(ActiveWindowHandle(), WindowHandle());
    int x, y, w, h;
    GetClientRect(x, y, w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    HideMouse();
    ShowMouse();
    EndGraphics();
    EXPECT_EQ(WindowHandle(), 0);
}
