// A busy game frame at 800x600 under the 320x240 virtual resolution: a
// 40x20 layer of 8x8 tiles, 150 masked 24x21 sprites, 300 2x2 rectangles
// and 60 characters of text, drawn through the layer and, in the same run,
// the same quads through a minimal hand-batched GL loop.  Prints the ratio.
//
//   SDL_VIDEODRIVER=offscreen platform_gfx_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/ratio_main.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/gl_baseline.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"

using namespace plat;

namespace {

struct Scene {
    struct Sprite {
        float x, y;
        int frame;
    };
    struct Box {
        float x, y;
        int r, g, b;
    };
    Ref<TPixmap> tileSheet, spriteSheet;
    Ref<TImage> tiles, sprites;
    std::vector<int> tileMap;  // 40 x 20
    std::vector<Sprite> actors;
    std::vector<Box> bullets;
    std::string text[2];
};

std::uint32_t Lcg(std::uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

Scene& TheScene() {
    static Scene* sc = [] {
        auto* s = new Scene;
        std::uint32_t seed = 12345;
        s->tileSheet = CreatePixmap(16 * 8, 8);
        for (int t = 0; t < 16; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    s->tileSheet->Write(t * 8 + x, y,
                                        0xFF000000u | ((Lcg(seed) & 0x3F3F3Fu) + 0x202020u * t / 2));
        s->spriteSheet = CreatePixmap(4 * 24, 21);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 4 * 24; ++x) {
                const int cx = x % 24 - 12, cy = y - 10;
                s->spriteSheet->Write(x, y, cx * cx + cy * cy < 90 ? 0xFF30A050u : 0xFFFF00FFu);
            }
        SetMaskColor(255, 0, 255);
        s->tiles = LoadAnimImage(s->tileSheet, 8, 8, 0, 16, 0);
        s->sprites = LoadAnimImage(s->spriteSheet, 24, 21, 0, 4, MASKEDIMAGE);
        // The baseline draws the masked sprites too.
        s->spriteSheet = MaskPixmap(s->spriteSheet, 255, 0, 255);
        for (int i = 0; i < 40 * 20; ++i) s->tileMap.push_back(static_cast<int>(Lcg(seed) % 16));
        for (int i = 0; i < 150; ++i)
            s->actors.push_back({static_cast<float>(Lcg(seed) % 296),
                                 static_cast<float>(Lcg(seed) % 140) + 26.f,
                                 static_cast<int>(Lcg(seed) % 4)});
        for (int i = 0; i < 300; ++i)
            s->bullets.push_back({static_cast<float>(Lcg(seed) % 318),
                                  static_cast<float>(Lcg(seed) % 238),
                                  static_cast<int>(Lcg(seed) % 256),
                                  static_cast<int>(Lcg(seed) % 256), 255});
        s->text[0] = "SCORE 0012345  HI 0100000  G5";  // 30 characters each
        s->text[1] = "AREA 1  LIVES 5  READY PLAYER!";
        return s;
    }();
    return *sc;
}

void OpenDisplay() {
    static bool open = false;
    if (open) return;
    if (!Graphics(800, 600, 0, 60)) {
        std::fprintf(stderr, "no display (set SDL_VIDEODRIVER=offscreen)\n");
        std::exit(1);
    }
    SetVirtualResolution(320, 240);
    open = true;
}

void LayerFrame(Scene& s) {
    SetClsColor(0, 0, 0);
    Cls();
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(SOLIDBLEND);
    for (int row = 0; row < 20; ++row)
        for (int col = 0; col < 40; ++col)
            DrawImage(s.tiles, static_cast<float>(col * 8), static_cast<float>(26 + row * 8),
                      s.tileMap[static_cast<std::size_t>(row * 40 + col)]);
    SetBlend(ALPHABLEND);
    for (const auto& a : s.actors) DrawImage(s.sprites, a.x, a.y, a.frame);
    for (const auto& b : s.bullets) {
        SetColor(b.r, b.g, b.b);
        DrawRect(b.x, b.y, 2, 2);
    }
    SetColor(255, 255, 255);
    DrawText(s.text[0], 4, 4);
    DrawText(s.text[1], 4, 14);
    bench::FinishGL();
}

void BM_LayerFrame(benchmark::State& state) {
    OpenDisplay();
    Scene& s = TheScene();
    LayerFrame(s);  // textures made before timing
    for (auto _ : state) LayerFrame(s);
}

void BM_MinimalGLFrame(benchmark::State& state) {
    OpenDisplay();
    Scene& s = TheScene();
    bench::GLBaseline gl;
    const int tiles = gl.AddAtlas(s.tileSheet, 8, 8, true);
    const int sprites = gl.AddAtlas(s.spriteSheet, 24, 21, false);
    auto fontSheet = CreatePixmap(256 * 8, 8);
    auto font = DefaultFont();
    for (int c = 0; c < 256; ++c)
        if (auto g = font->Glyph(c).image)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) fontSheet->Write(c * 8 + x, y, g->pixmaps[0]->Read(x, y));
    const int glyphs = gl.AddAtlas(fontSheet, 8, 8, false);
    for (auto _ : state) {
        gl.Clear();
        for (int row = 0; row < 20; ++row)
            for (int col = 0; col < 40; ++col)
                gl.Cell(tiles, s.tileMap[static_cast<std::size_t>(row * 40 + col)],
                        static_cast<float>(col * 8), static_cast<float>(26 + row * 8));
        for (const auto& a : s.actors) gl.Cell(sprites, a.frame, a.x, a.y);
        for (const auto& b : s.bullets)
            gl.Rect(b.x, b.y, 2, 2,
                    static_cast<std::uint32_t>(b.r) | static_cast<std::uint32_t>(b.g) << 8 |
                        static_cast<std::uint32_t>(b.b) << 16 | 0xFF000000u);
        for (int line = 0; line < 2; ++line) {
            float x = 4;
            for (unsigned char c : s.text[line]) {
                gl.Cell(glyphs, c, x, 4.f + line * 10.f);
                x += 8;
            }
        }
        gl.Draw();
        bench::FinishGL();
    }
}

BENCHMARK(BM_LayerFrame)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_MinimalGLFrame)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Each benchmark's wall and CPU time per iteration (the mean when the run is
// repeated), for the ratios.
benchutil::RunTimes g_times;

void Report() {
    const auto* layer = g_times.Find("BM_LayerFrame");
    const auto* base = g_times.Find("BM_MinimalGLFrame");
    if (layer && base && base->cpu > 0)
        std::printf("layer / minimal GL loop: %.2fx wall time, %.2fx CPU time (target 1.5x or less)\n",
                    layer->wall / base->wall, layer->cpu / base->cpu);
    EndGraphics();
}

}  // namespace

int main(int argc, char** argv) {
    return benchutil::RunWithRatios(argc, argv, [](const benchutil::Run& r) { g_times.Keep(r); }, Report);
}
