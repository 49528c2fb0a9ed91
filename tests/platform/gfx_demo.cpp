// Opens a window, draws sprites, text and every blend mode through the
// platform layer and saves the back buffer as a PNG:  gfx_demo out.png

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"

using namespace plat;

namespace {

// A 24 x 21 soldier-ish sprite: a round head, a body and a magenta
// background that the mask removes.
Ref<TPixmap> SpriteSheet() {
    auto p = CreatePixmap(24 * 4, 21);
    for (int f = 0; f < 4; ++f)
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 24; ++x) {
                std::uint32_t c = 0xFFFF00FF;
                const int dx = x - 12, dy = y - 5;
                if (dx * dx + dy * dy <= 16) c = 0xFFE0B080;
                else if (y >= 9 && y < 17 && x >= 7 && x < 17) c = 0xFF307030 + (f * 0x101000);
                else if (y >= 17 && ((x >= 8 && x < 11) || (x >= 13 && x < 16)))
                    c = (f % 2 == 0) == (x < 12) ? 0xFF404040 : 0xFFFF00FF;
                p->Write(f * 24 + x, y, c);
            }
    return p;
}

Ref<TImage> Gradient() {
    auto p = CreatePixmap(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const auto a = static_cast<std::uint32_t>(255 - std::abs(x - 16) * 15);
            p->Write(x, y, (a << 24) | (static_cast<std::uint32_t>(x * 8) << 16) |
                               (static_cast<std::uint32_t>(y * 8) << 8) | 0xC0u);
        }
    return LoadImage(p, FILTEREDIMAGE);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "gfx_demo.png";
    AppTitle("Platform demo");
    if (!Graphics(800, 600, 0, 60)) {
        std::fprintf(stderr, "cannot open a window\n");
        return 1;
    }
    SetVirtualResolution(320, 240);
    SetClsColor(20, 24, 40);
    Cls();

    SetMaskColor(255, 0, 255);
    auto sprites = LoadAnimImage(SpriteSheet(), 24, 21, 0, 4, MASKEDIMAGE);
    auto grad = Gradient();

    // Ground pattern.
    SetBlend(SOLIDBLEND);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 40; ++x) {
            SetColor(60 + ((x + y) % 2) * 30, 80, 40);
            DrawRect(static_cast<float>(x * 8), static_cast<float>(200 + y * 8), 8, 8);
        }

    // Sprites: plain, scaled, rotated about a mid handle, mirrored.
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    for (int f = 0; f < 4; ++f) DrawImage(sprites, 10.f + f * 28, 10, f);
    MidHandleImage(sprites);
    SetScale(2, 2);
    DrawImage(sprites, 160, 30, 1);
    SetScale(1, 1);
    SetRotation(30);
    DrawImage(sprites, 210, 30, 2);
    SetRotation(0);
    SetScale(-1, 1);
    DrawImage(sprites, 250, 30, 3);
    SetScale(1, 1);
    SetImageHandle(sprites, 0, 0);

    // Every blend mode over the same striped ground.
    const char* names[] = {"MASK", "SOLID", "ALPHA", "LIGHT", "SHADE"};
    for (int m = 0; m < 5; ++m) {
        const float bx = 8.f + m * 62, by = 80;
        SetBlend(SOLIDBLEND);
        SetAlpha(1);
        for (int s = 0; s < 6; ++s) {
            SetColor(s % 2 ? 200 : 90, 120, s % 2 ? 60 : 180);
            DrawRect(bx + s * 9, by, 9, 54);
        }
        SetColor(255, 255, 255);
        SetBlend(m + 1);
        SetAlpha(0.75f);
        DrawImage(grad, bx + 11, by + 4);
        SetColor(255, 200, 120);
        DrawRect(bx + 4, by + 40, 46, 10);
        SetAlpha(1);
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        DrawText(names[m], bx, by + 58);
    }

    // Text: default font, scaled, coloured; a line outline; an oval.
    SetColor(0, 220, 220);
    DrawText("VELMAROK PLATFORM 0123456789", 8, 160);
    SetScale(0.9f, 0.9f);
    SetColor(255, 255, 0);
    DrawText("SCALE 0.9: FRACTIONAL STEPS", 8, 172);
    SetScale(1, 1);
    SetColor(220, 220, 200);
    DrawLine(4, 156, 315, 156);
    DrawLine(315, 156, 315, 185);
    DrawLine(315, 185, 4, 185);
    DrawLine(4, 185, 4, 156);
    SetColor(255, 80, 80);
    DrawOval(280, 10, 30, 20);

    Flip(0);
    auto shot = GrabBackBuffer();
    if (!shot || !SavePixmapPNG(shot, out)) {
        std::fprintf(stderr, "cannot save %s\n", out.c_str());
        return 1;
    }
    std::printf("saved %s (%dx%d)\n", out.c_str(), shot->width, shot->height);
    EndGraphics();
    return 0;
}
