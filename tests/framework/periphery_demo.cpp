// A small program that shows the framework's sprites, effects and widgets
// at work, in the game's own set-up (320 x 240 drawn into an 800 x 600
// window).  It runs one scene at a time: sprites, particles, shapes,
// cross-fade, slide, mask, buttons, loading, loaded, widgets, text, ok,
// yesno, textbox, listbox, players.  Live, the scenes change every five
// seconds; Space shows the next one, F fades the screen out and in again,
// Escape quits (on the widgets page the text input takes the keys until
// Enter or Escape; a dialog takes Escape for itself).  Now and then a sound
// plays (the flasher of the sprites, the explosions of the particles, the
// buttons).
//
// VELMAROK_DEMO_SCRIPT drives it without a person, on a clock of its own so
// every run draws the same frames: a comma-separated list of steps,
// "scene:NAME" (start a scene), "ticks:N" (run N logic ticks of 5 ms),
// "pointer:X:Y" (the pointer at X, Y of the 320 x 240 drawing space),
// "point:NAME" (the pointer on a button of the scene's dialog), "click"
// (mouse button 1 pressed and let go), "key:CODE" (a key pressed and let
// go), "type:TEXT" (characters typed), "shot:PATH" (draw a frame and save
// it as PNG), "screenfade:PATH" (fade the screen out, saving the frame
// half-way), "escape" (end the script).  After each shot it prints
// "shot PATH" and the positions a checker needs, one per line.
//
// The pictures, sounds and the bitmap font are made here, the files in a
// temporary folder that is removed at the end; the player profiles go to
// the profiles folder of the shell's data folder.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/animation.h"
#include "framework/banks.h"
#include "framework/blocking.h"
#include "framework/button.h"
#include "framework/channels.h"
#include "framework/dialog.h"
#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/fade.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/list_box.h"
#include "framework/loading.h"
#include "framework/menu.h"
#include "framework/particles.h"
#include "framework/player_manager.h"
#include "framework/profile.h"
#include "framework/shapes.h"
#include "framework/slider.h"
#include "framework/slides.h"
#include "framework/space.h"
#include "framework/sprite.h"
#include "framework/system.h"
#include "framework/text_input.h"
#include "framework/tool_tip.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/text.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"
#include "bitmap_font_files.h"
#include "demo_support.h"

namespace {

namespace fs = std::filesystem;

// --- pictures and sounds --------------------------------------------------------

using PixelFn = std::function<std::uint32_t(int x, int y, int frame)>;

plat::Ref<fw::TGameImage> MakePicture(const std::string& name, int w, int h, int frames, int mid,
                                      const PixelFn& pixel) {
    auto image = plat::CreateImage(w, h, frames, plat::FILTEREDIMAGE);
    for (int f = 0; f < frames; ++f) {
        auto& pix = *image->pixmaps[static_cast<std::size_t>(f)];
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pix.Write(x, y, pixel(x, y, f));
        image->Touch(f);
    }
    return fw::TGameImage::CreateFromImage(image, name, mid);
}

std::uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// A soft-edged disc of radius r in a (2r x 2r) picture.
std::uint32_t Disc(int x, int y, int r, int cr, int cg, int cb) {
    const double d = std::hypot(x + 0.5 - r, y + 0.5 - r) / r;
    if (d >= 1) return 0;
    const int a = static_cast<int>(255 * std::min(1.0, (1 - d) * 3));
    return Argb(a, cr, cg, cb);
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "fwdemo-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (const char* made = mkdtemp(buf.data())) path_ = made;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A 16-bit mono WAV of `seconds`, each sample from `wave(t)` in -1..1.
void WriteWav(const std::string& path, double seconds, const std::function<double(double)>& wave) {
    const int rate = 22050;
    const int n = static_cast<int>(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 255));
    };
    out.write("RIFF", 4);
    put(36 + static_cast<std::uint32_t>(n) * 2, 4);
    out.write("WAVEfmt ", 8);
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    out.write("data", 4);
    put(static_cast<std::uint32_t>(n) * 2, 4);
    for (int i = 0; i < n; ++i) {
        const double v = std::clamp(wave(static_cast<double>(i) / rate), -1.0, 1.0);
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 12000)), 2);
    }
}

struct Assets {
    plat::Ref<fw::TGameImage> tile, strip, halo, dot, spark, blast, pictureA, pictureB, slidePicture, mask;
    plat::Ref<fw::TGameImage> arrow;  // the pointer of the widget pages
    plat::Ref<fw::TGameImage> slider, managerBackground;  // the list page and the player manager
    plat::Ref<fw::TGameSound> beep, boom;
    plat::Ref<fw::TBitmapFont> font;  // white to pale blue, 8 x 8 cells
};

// A picture file of the widgets, which load their pictures by name.
void SavePicture(const TempFolder& folder, const std::string& name, int w, int h, const PixelFn& pixel) {
    auto p = plat::CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->Write(x, y, pixel(x, y, 0));
    plat::SavePixmapPNG(p, folder.File(name + ".png"));
}

using Rgb3 = std::array<int, 3>;

// A panel with a rim and a vertical gradient from `top` to `bottom`.
PixelFn Panel(int w, int h, Rgb3 top, Rgb3 bottom, int rim) {
    return [=](int x, int y, int) {
        const bool edgeX = x == 0 || x == w - 1, edgeY = y == 0 || y == h - 1;
        if (edgeX && edgeY) return 0u;
        if (edgeX || edgeY) return Argb(255, rim, rim, rim);
        const double f = static_cast<double>(y) / (h - 1);
        auto mix = [f](int a, int b) { return static_cast<int>(a + (b - a) * f); };
        return Argb(255, mix(top[0], bottom[0]), mix(top[1], bottom[1]), mix(top[2], bottom[2]));
    };
}

// The files of the widget pages and the demo's bitmap font.
void MakeWidgetFiles(const TempFolder& folder, Assets& a) {
    const Rgb3 blue[2] = {{70, 100, 170}, {30, 50, 110}}, light[2] = {{110, 150, 230}, {50, 80, 170}};
    const Rgb3 grey[2] = {{90, 90, 90}, {60, 60, 60}}, down[2] = {{20, 40, 90}, {60, 90, 160}};
    SavePicture(folder, "panel", 100, 20, Panel(100, 20, blue[0], blue[1], 200));
    SavePicture(folder, "panelMO", 100, 20, Panel(100, 20, light[0], light[1], 255));
    SavePicture(folder, "panel_disabled", 100, 20, Panel(100, 20, grey[0], grey[1], 120));
    SavePicture(folder, "panel_down", 100, 20, Panel(100, 20, down[0], down[1], 150));
    SavePicture(folder, "clickhere", 100, 20, Panel(100, 20, blue[0], blue[1], 200));
    SavePicture(folder, "clickhereMO", 100, 20, Panel(100, 20, light[0], light[1], 255));
    SavePicture(folder, "tipbox", 120, 34, Panel(120, 34, {250, 240, 190}, {220, 200, 140}, 90));
    SavePicture(folder, "loadpanel", 140, 30, Panel(140, 30, {40, 40, 60}, {20, 20, 30}, 160));
    SavePicture(folder, "loadbg", 320, 240, [](int x, int y, int) {
        const int shade = ((x / 16 + y / 16) % 2) * 6;
        return Argb(255, 16 + shade, 22 + shade, 40 + y / 8 + shade);
    });
    SavePicture(folder, "loadbar", 200, 12, Panel(200, 12, {120, 240, 120}, {30, 150, 40}, 220));
    SavePicture(folder, "loadbarempty", 200, 12, Panel(200, 12, {50, 50, 50}, {35, 35, 35}, 110));
    SavePicture(folder, "loadbarfinal", 200, 12, Panel(200, 12, {140, 250, 250}, {40, 170, 190}, 255));
    SavePicture(folder, "track", 120, 6, Panel(120, 6, grey[0], grey[1], 160));
    SavePicture(folder, "knob", 10, 10, [](int x, int y, int) { return Disc(x, y, 5, 250, 170, 40); });
    // The standard buttons of the dialogs and the player manager.
    for (const char* name : {"OK", "Cancel", "Yes", "No", "Create", "Delete"}) {
        SavePicture(folder, name, 52, 16, Panel(52, 16, blue[0], blue[1], 200));
        SavePicture(folder, std::string(name) + "MO", 52, 16, Panel(52, 16, light[0], light[1], 255));
    }
    // The scroll bar's arrows: a light triangle on a panel, grey at their end.
    for (const bool up : {true, false}) {
        const std::string name = up ? "arrowup" : "arrowdown";
        auto arrow = [up](Rgb3 top, Rgb3 bottom, int mark) {
            const PixelFn panel = Panel(12, 10, top, bottom, 180);
            return [=](int x, int y, int f) {
                const int row = up ? y - 2 : 7 - y;
                const bool inside = row >= 0 && row < 6 && std::abs(x * 2 + 1 - 12) <= row * 2;
                return inside ? Argb(255, mark, mark, mark) : panel(x, y, f);
            };
        };
        SavePicture(folder, name, 12, 10, arrow(blue[0], blue[1], 230));
        SavePicture(folder, name + "MO", 12, 10, arrow(light[0], light[1], 255));
        SavePicture(folder, name + "_disabled", 12, 10, arrow(grey[0], grey[1], 120));
    }
    WriteWav(folder.File("buttonMO.wav"), 0.03, [](double t) { return std::sin(t * 2 * M_PI * 1320) * 0.3; });
    WriteWav(folder.File("buttonclick.wav"), 0.05, [](double t) { return std::sin(t * 2 * M_PI * 660) * (1 - t / 0.05); });
    // An arrow pointing up-left: white with a black rim.
    a.arrow = MakePicture("arrow", 7, 11, 1, 0, [](int x, int y, int) {
        const int edge = y * 6 / 10;
        if (x > edge) return 0u;
        const bool rim = x == 0 || x == edge || y == 10;
        return rim ? Argb(255, 0, 0, 0) : Argb(255, 255, 255, 255);
    });

    plat::Ref<plat::TPixmap> sheet;
    const auto glyphs = fontfiles::DefaultFontSheet(sheet, [](int row) {
        const int fall = row * 12;
        return Argb(255, 255 - fall, 255 - fall / 2, 255);
    });
    fontfiles::Write(folder.File("demofont"), sheet, glyphs);
    // Unfiltered: the glyphs keep their hard pixels when the window scales them.
    a.font = fw::TBitmapFont::Create(folder.File("demofont"), 0, 0, 0);

    a.slider = MakePicture("slider", 10, 16, 1, 0, Panel(10, 16, {250, 190, 80}, {210, 120, 30}, 250));
    a.managerBackground =
        MakePicture("managerbg", 250, 190, 1, 0, Panel(250, 190, {70, 80, 120}, {40, 46, 80}, 210));
}

Assets MakeAssets(const TempFolder& folder) {
    Assets a;
    // A light tile with a dark rim, so a tint and a shadow both show.
    a.tile = MakePicture("tile", 16, 16, 1, 1, [](int x, int y, int) {
        const bool rim = x < 2 || y < 2 || x > 13 || y > 13;
        return rim ? Argb(255, 60, 60, 80) : Argb(255, 200, 200, 210);
    });
    // Four frames in four colours.
    a.strip = MakePicture("strip", 16, 16, 4, 1, [](int x, int y, int f) {
        static const int colours[4][3] = {{220, 40, 40}, {40, 200, 60}, {50, 90, 230}, {230, 210, 40}};
        const bool rim = x < 1 || y < 1 || x > 14 || y > 14;
        const int* c = colours[f];
        return rim ? Argb(255, 20, 20, 20) : Argb(255, c[0], c[1], c[2]);
    });
    a.halo = MakePicture("halo", 40, 40, 1, 1, [](int x, int y, int) { return Disc(x, y, 20, 255, 255, 255); });
    a.dot = MakePicture("dot", 6, 6, 1, 1, [](int x, int y, int) { return Disc(x, y, 3, 255, 220, 120); });
    a.spark = MakePicture("spark", 4, 4, 1, 1, [](int, int, int) { return Argb(255, 120, 200, 255); });
    // Eight frames of a blast: a ragged fireball that grows, cools and
    // thins out from the middle.
    a.blast = MakePicture("blast", 40, 40, 8, 1, [](int x, int y, int f) {
        const double dx = x + 0.5 - 20, dy = y + 0.5 - 20;
        const double d = std::hypot(dx, dy);
        const double edge = (5 + f * 2.0) * (1 + 0.18 * std::sin(std::atan2(dy, dx) * 7 + f));
        if (d >= edge) return 0u;
        const double t = d / edge;  // 0 middle .. 1 rim
        const double heat = std::clamp(1.2 - t - f * 0.09, 0.0, 1.0);
        const int r = 255;
        const int g = static_cast<int>(60 + 190 * heat);
        const int b = static_cast<int>(20 + 150 * heat * heat);
        const int alpha = f >= 6 && t < 0.4 ? 90 : 255;
        return Argb(alpha, r, g, b);
    });
    // Two pictures to cross-fade: warm and cool, each with a light frame.
    auto framed = [](int r, int g, int b) {
        return [r, g, b](int x, int y, int) {
            const bool rim = x < 4 || y < 4 || x > 195 || y > 115;
            const int shade = ((x / 20 + y / 20) % 2) * 20;
            return rim ? Argb(255, 230, 230, 230) : Argb(255, r + shade, g + shade, b + shade);
        };
    };
    a.pictureA = MakePicture("warm", 200, 120, 1, 1, framed(200, 60, 30));
    a.pictureB = MakePicture("cool", 200, 120, 1, 1, framed(30, 60, 200));
    // The slide: a green landscape with a sun.
    // A little wider than the screen, so it can drift sideways.
    a.slidePicture = MakePicture("slide", 400, 240, 1, 1, [](int x, int y, int) {
        if (std::hypot(x - 280, y - 70) < 24) return Argb(255, 250, 220, 90);
        if (y > 150 + static_cast<int>(12 * std::sin(x / 30.0))) return Argb(255, 40, 150 + (y % 8), 60);
        return Argb(255, 90, 150, 220 - y / 3);
    });
    // Black all over but for a round hole in the middle, twice the screen.
    a.mask = MakePicture("mask", 640, 480, 1, 1, [](int x, int y, int) {
        return std::hypot(x + 0.5 - 320, y + 0.5 - 240) < 40 ? 0u : Argb(255, 0, 0, 0);
    });

    WriteWav(folder.File("beep.wav"), 0.08, [](double t) { return std::sin(t * 2 * M_PI * 880) * (1 - t / 0.08); });
    WriteWav(folder.File("boom.wav"), 0.4, [](double t) {
        static std::uint32_t noise = 12345;
        noise = noise * 1103515245u + 12345u;
        return ((noise >> 16) / 32768.0 - 1) * std::exp(-t * 9);
    });
    a.beep = fw::TGameSound::Create(folder.File("beep.wav"), 0);
    a.boom = fw::TGameSound::Create(folder.File("boom.wav"), 0);
    MakeWidgetFiles(folder, a);
    return a;
}

// --- scenes -------------------------------------------------------------------

// One page of the demo: started once, then a logic tick and a frame at a
// time.  Info() lists what a checker of its shots needs to know.
class Scene {
public:
    virtual ~Scene() = default;
    virtual void Logic() = 0;
    virtual void Draw() = 0;
    virtual std::vector<std::string> Info() const { return {}; }
    // Where the thing of that name is, for the script's pointer.
    virtual bool Target(const std::string&, fw::DrawingPoint&) const { return false; }
    // Where the page's name goes: at the top unless something comes in
    // from there.
    virtual float LabelY() const { return 4; }
};

void Label(const std::string& text, float x, float y) {
    plat::SetColor(230, 230, 230);
    plat::DrawText(text, x - static_cast<float>(plat::TextWidth(text)) / 2, y);
    plat::SetColor(255, 255, 255);
}

std::string Point(const std::string& name, float x, float y) {
    std::ostringstream s;
    s << name << " " << x << " " << y;
    return s.str();
}

class SpriteScene : public Scene {
public:
    explicit SpriteScene(const Assets& a) : assets_(a) {
        const float y = 110;
        tinted_ = fw::TSprite::Create(a.tile, 30, y);
        tinted_->Color = fw::TColor::Create(255, 60, 60, 1);
        shadowed_ = fw::TSprite::Create(a.tile, 80, y);
        shadowed_->SetShadow(1, 4, 4, 0.6f);
        rotated_ = fw::TSprite::Create(a.tile, 130, y);
        rotated_->Rotation = 45;
        scaled_ = fw::TSprite::Create(a.tile, 180, y);
        scaled_->SetScaleXY(2, 0);
        glowing_ = fw::TSprite::Create(a.tile, 235, y);
        glowing_->SetGlow(3, 0, 1.5f, 0.3f, 0.9f);
        animated_ = fw::TSprite::Create(a.strip, 285, y);
        animated_->SetupAnim(4, 800, 1, 0, 0, 0, 1);
        spinner_ = fw::TSprite::Create(a.tile, 160, 185);
        spinner_->SetupRotation(1.5f, 0, 1, 0);
        spinner_->dx = 0.4f;
        flasher_ = fw::TFlasher::Create(100000, 250, 250, 0);
        flasher_->FlashSound = a.beep;
    }
    void Logic() override {
        glowing_->ManageGlow();
        animated_->ManageAnim();
        spinner_->ManageRotation();
        spinner_->Move();
        if (spinner_->x > 300 || spinner_->x < 20) spinner_->dx = -spinner_->dx;
        flasher_->Manage();
    }
    void Draw() override {
        plat::SetClsColor(20, 24, 48);
        plat::Cls();
        for (const auto& s : {tinted_, shadowed_, rotated_, scaled_, animated_, spinner_}) s->Draw();
        // The glow halo: the picture, then a soft disc added over it.
        glowing_->DoDraw();
        glowing_->DrawLight(glowing_->Glow, 1, 0.8f, 0.4f, assets_.halo);
        const char* names[] = {"tint", "shade", "45", "2x", "glow", "anim"};
        const float xs[] = {30, 80, 130, 180, 235, 285};
        for (int i = 0; i < 6; ++i) Label(names[i], xs[i], 140);
        if (flasher_->FlashState) {
            plat::SetColor(255, 220, 0);
            plat::DrawOval(300, 20, 10, 10);
            plat::SetColor(255, 255, 255);
        }
    }
    std::vector<std::string> Info() const override {
        return {Point("tinted", tinted_->x, tinted_->y), Point("shadowed", shadowed_->x, shadowed_->y),
                Point("rotated", rotated_->x, rotated_->y), Point("scaled", scaled_->x, scaled_->y),
                Point("glowing", glowing_->x, glowing_->y), Point("animated", animated_->x, animated_->y),
                "frame " + std::to_string(animated_->frame)};
    }

private:
    const Assets& assets_;
    plat::Ref<fw::TSprite> tinted_, shadowed_, rotated_, scaled_, glowing_, animated_, spinner_;
    plat::Ref<fw::TFlasher> flasher_;
};

class ParticleScene : public Scene {
public:
    explicit ParticleScene(const Assets& a) : assets_(a) {
        particles_ = plat::New<fw::TParticleList>();
        explosions_ = plat::New<fw::TExplosionList>();
        // The fountain: a spray every 10 ms for as long as the scene runs.
        fountain_ = fw::TParticleGenerator::Create(
            110, 215, 1000000, 10,
            [this](fw::TParticleGenerator& g) {
                const bool spark = plat::Rand(0, 3) == 0;
                auto p = particles_->AddNew(static_cast<int>(g.x), static_cast<int>(g.y),
                                            spark ? assets_.spark : assets_.dot,
                                            static_cast<float>(plat::Rnd(-0.5, 0.5)),
                                            static_cast<float>(plat::Rnd(-2.2, -1.6)), 0.025f, 1400,
                                            spark ? 1 : 0, 1, 3, 1, 0, 0, 0);
                p->SetupRotation(3, 0, 1, 1);
            },
            0, 0, 1);
    }
    void Logic() override {
        fountain_->Manage();
        particles_->Manage();
        explosions_->Manage();
        if (ticks_ % 160 == 0) {
            auto boom = explosions_->AddNew(240, 110 + static_cast<float>((ticks_ / 160) % 3) * 30, assets_.blast);
            boom->StartAnim(600, 8);
            boom->dy = -0.05f;
            fw::PlayPoolSound(assets_.boom, 0.8f, 0.3f);
        }
        ++ticks_;
    }
    void Draw() override {
        plat::SetClsColor(10, 10, 20);
        plat::Cls();
        particles_->Draw();
        explosions_->Draw();
        Label("fountain", 110, 222);
        Label("explosion", 240, 222);
    }
    std::vector<std::string> Info() const override {
        std::vector<std::string> out = {"particles " + std::to_string(particles_->Count())};
        for (const auto& e : *explosions_)
            out.push_back(Point("explosion", e->x, e->y) + " " +
                          std::to_string(fw::LerpIndex(e->AnimCounter, e->AnimLength, e->FramesTotal, 0)));
        return out;
    }

private:
    const Assets& assets_;
    plat::Ref<fw::TParticleList> particles_;
    plat::Ref<fw::TExplosionList> explosions_;
    plat::Ref<fw::TParticleGenerator> fountain_;
    int ticks_ = 0;
};

class ShapeScene : public Scene {
public:
    ShapeScene() {
        box_ = fw::TBox::Create(20, 40, 60, 40, fw::TColor::Create(255, 200, 0, 1));
        circle_ = fw::TCircle::Create(140, 60, 22, fw::TColor::Create(0, 200, 255, 1));
        line_ = fw::TLine::Create(200, 40, 300, 90);
        line_->Color = fw::TColor::Create(255, 80, 200, 1);
        velocity_ = fw::TVector::Create(1.3, -0.9);
    }
    void Logic() override {
        // A ball bouncing off the walls of the lower field.
        x_ += velocity_->x;
        y_ += velocity_->y;
        if (x_ < kLeft || x_ > kRight) velocity_->Rebound(*fw::TVector::Create(0, 1));
        if (y_ < kTop || y_ > kBottom) velocity_->Rebound(*fw::TVector::Create(1, 0));
    }
    void Draw() override {
        plat::SetClsColor(30, 30, 30);
        plat::Cls();
        box_->Draw();
        circle_->Draw();
        line_->Draw(true);
        plat::SetColor(120, 120, 120);
        fw::DrawRectOutline(kLeft - 4, kTop - 4, kRight - kLeft + 8, kBottom - kTop + 8);
        auto arrow = fw::VectorScaled(*velocity_, 15);
        plat::SetColor(255, 255, 255);
        arrow->Draw(x_, y_, true);
        plat::SetColor(120, 255, 120);
        plat::DrawOval(static_cast<float>(x_) - 4, static_cast<float>(y_) - 4, 8, 8);
        Label("box, circle, line", 160, 100);
        Label("a vector bouncing off walls", 160, 222);
    }
    std::vector<std::string> Info() const override {
        return {Point("box", box_->X + box_->W / 2, box_->Y + box_->H / 2), Point("circle", circle_->x, circle_->y),
                Point("ball", static_cast<float>(x_), static_cast<float>(y_))};
    }

private:
    static constexpr double kLeft = 20, kRight = 300, kTop = 125, kBottom = 205;
    plat::Ref<fw::TBox> box_;
    plat::Ref<fw::TCircle> circle_;
    plat::Ref<fw::TLine> line_;
    plat::Ref<fw::TVector> velocity_;
    double x_ = 60, y_ = 170;
};

class CrossFadeScene : public Scene {
public:
    explicit CrossFadeScene(const Assets& a) : assets_(a) { Restart(); }
    void Logic() override {
        cross_->Manage();
        if (++ticks_ % 400 == 0) {
            std::swap(first_, second_);
            Restart();
        }
    }
    void Draw() override {
        plat::SetClsColor(0, 0, 0);
        plat::Cls();
        cross_->Draw();
        Label("cross-fade " + std::to_string(static_cast<int>(cross_->Anim->GetRatioInv() * 100 + 0.5)) + "%", 160,
              200);
    }
    std::vector<std::string> Info() const override { return {Point("centre", 160, 100)}; }

private:
    void Restart() {
        cross_ = fw::TCrossFade::Create(first_ ? assets_.pictureB->image : assets_.pictureA->image,
                                        first_ ? assets_.pictureA->image : assets_.pictureB->image, 1000);
        cross_->SetImage1Coords(160, 100);
        cross_->SetImage2Coords(160, 100);
    }
    const Assets& assets_;
    plat::Ref<fw::TCrossFade> cross_;
    bool first_ = false, second_ = true;
    int ticks_ = 0;
};

class SlideScene : public Scene {
public:
    SlideScene(const Assets& a, bool masked) : assets_(a), masked_(masked) { Restart(); }
    void Logic() override {
        if (show_->Manage() == 1) Restart();
    }
    void Draw() override {
        plat::SetClsColor(0, 0, 0);
        plat::Cls();
        show_->Draw();
        Label(masked_ ? "mask reveal" : "slide with letter-box bars", 160, masked_ ? 222 : 226);
    }
    std::vector<std::string> Info() const override { return {Point("centre", 160, 120), Point("corner", 4, 4)}; }

private:
    void Restart() {
        show_ = fw::TSlideShow::Create();
        auto in = fw::TTransitionEffect::Create(1, 1000);
        auto hold = fw::TTransitionEffect::Create(0, 1500);
        auto out = fw::TTransitionEffect::Create(2, 1000);
        if (masked_) {
            in->MaskImage = assets_.mask;
            in->MaskStartSize = 0.5f;
            in->MaskEndSize = 6;
            hold->ZoomSpeed = 0.0005f;
        } else {
            in->ScrollSpeedX = 0.05f;
            hold->ScrollSpeedX = 0.05f;
            show_->LetterBoxHeight = 160;
        }
        auto slide = show_->AddSlide("", 0, 1, in, hold, out, "landscape");
        slide->Image = assets_.slidePicture;
        slide->CentreCoords();
    }
    const Assets& assets_;
    bool masked_;
    plat::Ref<fw::TSlideShow> show_;
};

// --- widget pages ----------------------------------------------------------------------

// The arrow at the shell's pointer (which the game itself keeps switched off).
void DrawArrow(const Assets& a) {
    const fw::DrawingPoint p = fw::PointerInDrawingSpace();
    plat::SetBlend(plat::ALPHABLEND);
    plat::DrawImage(a.arrow->image, p.x, p.y, 0);
}

plat::Ref<fw::TLabel> MakeLabel(const Assets& a, const std::string& text, float x, float y, int alignment,
                                const plat::Ref<fw::TColor>& colour, const plat::Ref<fw::TShadow>& shadow,
                                int wordWrap = 0) {
    auto label = fw::TLabel::CreateSpecial(text, x, y, alignment, wordWrap, 0);
    label->Init(nullptr, colour, shadow, 0, a.font, nullptr, "");
    if (wordWrap) label->PreCalcWordWrap();
    return label;
}

std::string Box(const std::string& name, float x, float y, float w, float h) {
    return Point(name, x, y) + " " + std::to_string(w) + " " + std::to_string(h);
}

// A column of captioned buttons: hover one to see it glow and grow, the
// second is disabled, the third held pressed.
class ButtonScene : public Scene {
public:
    explicit ButtonScene(const Assets& a) : assets_(a) {
        menu_ = fw::TMenu::Create("", "", 0, 0, 0);
        for (const char* caption : {"Start", "Options", "Scores", "Exit"}) {
            auto b = menu_->AddQuickAuto("panel", caption);
            b->SetupCaption(caption, nullptr, fw::TColor::Create(255, 255, 255, 1), fw::TShadow::Create(1, 1, 0.7f),
                            a.font, fw::TColor::Create(255, 235, 120, 1));
            b->SetupScaleOnMO(1.2f, 0.004f, 0.004f);
            b->SetFixedGlowOnMO(0.5f, 0.01f, 1);
            b->SetShadow(1, 2, 2, 0.5f);
            b->SoundClick = a.beep;
        }
        menu_->MakeColumn(10);
        auto options = menu_->FindButton("options");
        options->Disabled = 1;
        options->ClickDisabled = 0;
        options->CaptionDisabledColor = fw::TColor::Create(150, 150, 150, 1);
        auto scores = menu_->FindButton("scores");
        scores->StayDown = 1;
        scores->SetupCaptionDown(fw::TColor::Create(190, 210, 255, 1), 1, 1, 1);
        scores->NoSound = 1;
        scores->SimulateClick();
        scores->NoSound = 0;
    }
    void Logic() override {
        for (const auto& b : *menu_) b->Manage();
    }
    void Draw() override {
        plat::SetClsColor(12, 16, 30);
        plat::Cls();
        menu_->Draw(0, 0);
        Label("hover, disabled, pressed, plain", 160, 222);
        DrawArrow(assets_);
    }
    std::vector<std::string> Info() const override {
        std::vector<std::string> out;
        for (const auto& b : *menu_) out.push_back(Box(plat::Lower(b->name), b->x, b->y, b->w, b->h));
        const fw::DrawingPoint p = fw::PointerInDrawingSpace();
        out.push_back(Point("pointer", p.x, p.y));
        return out;
    }

private:
    const Assets& assets_;
    plat::Ref<fw::TMenu> menu_;
};

// The shell's own loading screen, three steps of eight in, or full with
// its click-here button.
class LoadingScene : public Scene {
public:
    LoadingScene(const Assets& a, bool done) : assets_(a), screen_(fw::Game->LoadingScreen) {
        screen_->SpecialLoad("loadbg.png", "loadbar.png", "loadpanel.png");
        screen_->LoadingBar->Mode = 1;
        screen_->LoadingBar->Centre(150);
        screen_->SetSteps(8);
        screen_->CustomDrawFunction = [this] {
            assets_.font->DrawAligned(screen_->Finished ? "Ready" : "Loading", 160, 120, 3, 1, 1, 0);
        };
        for (int i = 0; i < (done ? 8 : 3); ++i) screen_->Progress();
        if (done) {
            screen_->SetClickHereButton("clickhere", "clickhereMO", 110, 180);
            screen_->ClickHereButton->SetupCaption("Click here", nullptr, fw::TColor::Create(255, 255, 255, 1),
                                                   nullptr, a.font, fw::TColor::Create(255, 235, 120, 1));
        }
    }
    ~LoadingScene() override {
        screen_->CustomDrawFunction = nullptr;
        screen_->Kill();
    }
    void Logic() override {
        if (screen_->ClickHereButton) screen_->ClickHereButton->Manage();
    }
    void Draw() override {
        screen_->Draw();
        DrawArrow(assets_);
    }
    std::vector<std::string> Info() const override {
        const auto& bar = *screen_->LoadingBar;
        std::vector<std::string> out = {Box("bar", static_cast<float>(bar.x), static_cast<float>(bar.y),
                                            static_cast<float>(bar.w), static_cast<float>(bar.h)),
                                        "steps " + std::to_string(bar.CurrentStep)};
        if (const auto& b = screen_->ClickHereButton) out.push_back(Box("button", b->x, b->y, b->w, b->h));
        return out;
    }

private:
    const Assets& assets_;
    plat::Ref<fw::TLoadingScreen> screen_;
};

// A slider with its tool tip, and a text input that takes what is typed.
class WidgetScene : public Scene {
public:
    explicit WidgetScene(const Assets& a) : assets_(a) {
        slider_ = fw::TSlider::CreateSpecial("track", "knob", 110, 70, 4, "volume", 5);
        slider_->SetValue(25);
        slider_->DotY -= 2;
        input_ = plat::New<fw::TTextInput>();
        input_->Init(nullptr, "Abc", 110, 130, a.font);
        input_->DrawDots = 1;
        input_->CursorYOffset = 1;
        tip_ = plat::New<fw::TToolTip>();
        tip_->image = fw::TGameImage::Create(fw::Game->ImagePath + "tipbox.png", -1, 0);
        tip_->Font = fw::TFont::Create(nullptr, fw::TColor::Create(70, 40, 0, 1), nullptr, 0, a.font, nullptr, "");
        tip_->TextDrawWidth = 110;
        tip_->AlwaysShowAboveMouse = 1;
        tip_->SetText("Drag the knob to set the volume");
        volume_ = MakeLabel(a, "Volume", 100, 69, 2, fw::TColor::Create(200, 200, 220, 1), nullptr);
        name_ = MakeLabel(a, "Name", 100, 130, 2, fw::TColor::Create(200, 200, 220, 1), nullptr);
    }
    ~WidgetScene() override {
        if (input_->Active) input_->Finish();
    }
    void Logic() override {
        slider_->Manage();
        input_->Manage();
        tip_->Collide(slider_->MouseOver);
    }
    void Draw() override {
        plat::SetClsColor(24, 28, 40);
        plat::Cls();
        volume_->Draw(0, 0, 1);
        name_->Draw(0, 0, 1);
        slider_->Draw();
        assets_.font->DrawAligned(std::to_string(slider_->Value) + "%", 240, 69, 0, 1, 1, 0);
        input_->Draw();
        tip_->Draw();
        DrawArrow(assets_);
    }
    std::vector<std::string> Info() const override {
        const fw::DrawingPoint p = fw::PointerInDrawingSpace();
        return {Box("slider", slider_->x, slider_->y, slider_->w, slider_->h),
                Point("dot", static_cast<float>(slider_->DotX + 5), static_cast<float>(slider_->DotY + 5)),
                Point("input", static_cast<float>(input_->X), static_cast<float>(input_->Y)),
                "cursor " + std::to_string(input_->CursorOn),
                Box("tip", tip_->x, tip_->y, static_cast<float>(tip_->image->w), static_cast<float>(tip_->image->h)),
                Point("pointer", p.x, p.y)};
    }

private:
    const Assets& assets_;
    plat::Ref<fw::TSlider> slider_;
    plat::Ref<fw::TTextInput> input_;
    plat::Ref<fw::TToolTip> tip_;
    plat::Ref<fw::TLabel> volume_, name_;
};

// Labels in the bitmap font: left, centred and right of one line, one with
// a shadow, and one wrapped to a width.
class TextScene : public Scene {
public:
    explicit TextScene(const Assets& a) {
        const auto white = fw::TColor::Create(235, 235, 255, 1);
        left_ = MakeLabel(a, "Left", 160, 50, 0, white, nullptr);
        centred_ = MakeLabel(a, "Centred", 160, 75, 1, white, nullptr);
        right_ = MakeLabel(a, "Right", 160, 100, 2, white, nullptr);
        shadowed_ = MakeLabel(a, "Shadowed", 160, 130, 1, fw::TColor::Create(255, 200, 80, 1),
                              fw::TShadow::Create(2, 2, 0.9f));
        wrapped_ = MakeLabel(a, "A label wraps its words to the width it is given.", 160, 165, 1,
                             fw::TColor::Create(160, 220, 160, 1), nullptr, 200);
    }
    void Logic() override {}
    void Draw() override {
        plat::SetClsColor(50, 56, 80);
        plat::Cls();
        plat::SetColor(90, 90, 120);
        plat::DrawLine(160, 40, 160, 115);
        plat::SetColor(255, 255, 255);
        for (const auto& l : {left_, centred_, right_, shadowed_, wrapped_}) l->Draw(0, 0, 1);
    }
    std::vector<std::string> Info() const override {
        std::vector<std::string> out;
        const std::pair<const char*, plat::Ref<fw::TLabel>> labels[] = {
            {"left", left_}, {"centred", centred_}, {"right", right_}, {"shadowed", shadowed_}, {"wrapped", wrapped_}};
        for (const auto& [name, l] : labels) out.push_back(Box(name, l->X, l->Y, l->CalcWidth(), l->CalcHeight()));
        out.push_back("lines " + std::to_string(wrapped_->TotalLines));
        return out;
    }

private:
    plat::Ref<fw::TLabel> left_, centred_, right_, shadowed_, wrapped_;
};

// --- dialog pages ----------------------------------------------------------------------

// The shell's pointer is on while a dialog page shows: menus only listen to
// an active pointer.  The demo draws its own arrow, so the shell's pointer
// is a transparent pixel.
class PointerOn {
public:
    PointerOn() {
        fw::Game->Mouse->Image = plat::CreateImage(1, 1, 1, 0);
        fw::Game->Mouse->On();
    }
    ~PointerOn() {
        fw::Game->Mouse->Off();
        fw::Game->Mouse->Image = nullptr;
    }
    PointerOn(const PointerOn&) = delete;
    PointerOn& operator=(const PointerOn&) = delete;
};

// The screen behind the dialogs: one colour (so a dim shows as a known
// shade) under a grid of darker lines.
constexpr Rgb3 kBackdrop = {190, 160, 70};

void DrawBackdrop() {
    plat::SetClsColor(kBackdrop[0], kBackdrop[1], kBackdrop[2]);
    plat::Cls();
    plat::SetColor(150, 120, 50);
    for (int x = 0; x < 320; x += 40) plat::DrawLine(static_cast<float>(x), 0, static_cast<float>(x), 239);
    for (int y = 0; y < 240; y += 40) plat::DrawLine(0, static_cast<float>(y), 319, static_cast<float>(y));
    plat::SetColor(255, 255, 255);
}

std::string Numbers(const std::string& name, std::initializer_list<float> values) {
    std::ostringstream s;
    s << name;
    for (float v : values) s << " " << v;
    return s.str();
}

std::string DialogBox(const std::string& name, const fw::TDialog& d) {
    return Box(name, static_cast<float>(d.x) + d.OffsetX, static_cast<float>(d.y) + d.OffsetY, static_cast<float>(d.w),
               static_cast<float>(d.h));
}

bool ButtonTarget(const fw::TDialog& d, const std::string& name, fw::DrawingPoint& at) {
    const auto b = d.Button(name);
    if (!b) return false;
    at = {b->x + d.OffsetX + static_cast<float>(b->w) / 2, b->y + d.OffsetY + static_cast<float>(b->h) / 2};
    return true;
}

// Captions in the bitmap font on a dialog's buttons.
void CaptionButtons(const fw::TDialog& d, const Assets& a) {
    if (!d.Menu) return;
    static const std::map<std::string, std::string> captions = {{"OK", "OK"},     {"CANCEL", "Cancel"},
                                                                {"YES", "Yes"},   {"NO", "No"},
                                                                {"CREATE", "New"}, {"DELETE", "Delete"}};
    for (const auto& b : *d.Menu) {
        const auto it = captions.find(b->name);
        b->SetupCaption(it == captions.end() ? b->name : it->second, nullptr, fw::TColor::Create(215, 222, 240, 1),
                        fw::TShadow::Create(1, 1, 0.6f), a.font, fw::TColor::Create(255, 255, 255, 1));
    }
}

void DialogLook(fw::TDialog& d, const Assets& a, int r, int g, int b) {
    d.DialogColor = fw::TColor::Create(r, g, b, 1);
    d.Shadow = fw::TShadow::Create(4, 4, 0.5f);
    d.SetupCaption(nullptr, fw::TColor::Create(255, 255, 255, 1), fw::TShadow::Create(1, 1, 0.7f), a.font);
    CaptionButtons(d, a);
}

plat::Ref<fw::TDialogOK> MessageDialog(const Assets& a, const std::string& text) {
    auto box = fw::TDialogOK::Create(text, nullptr, 0, 0, 0);
    box->Gap = 20;
    box->Border = 12;
    DialogLook(*box, a, 150, 50, 50);
    return box;
}

plat::Ref<fw::TDialogTextInput> NamePrompt(const Assets& a) {
    auto prompt = fw::TDialogTextInput::Create("Name your hero", "", 10, nullptr, 200, 0, 0, 0);
    prompt->MenuCreate(1, 20);
    DialogLook(*prompt, a, 60, 100, 80);
    prompt->SetupText(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, 1, a.font);
    prompt->ErrorCheckFunc = [](const std::string& text, std::string& message) {
        if (plat::Trim(text).size() >= 3) return 0;
        message = "Three letters at least!";
        return -1;
    };
    // The refusal sits low, so the refused text stays in sight above it.
    prompt->ErrorDialogFunc = [&a](const std::string& message) {
        auto box = MessageDialog(a, message);
        box->CalcAll();
        box->Centre = 0;
        box->x = (320 - box->w) / 2;
        box->y = 240 - box->h - 8;
        return box;
    };
    prompt->DimWhenShowingDialogs = 1;
    return prompt;
}

// A page that shows one dialog, opening it again a while after it closed.
template <class D>
class DialogScene : public Scene {
public:
    DialogScene(const Assets& a, std::function<plat::Ref<D>()> open, float labelY = 4)
        : assets_(a), open_(std::move(open)), labelY_(labelY) {
        dialog_ = open_();
    }
    ~DialogScene() override { dialog_->Kill(); }
    void Logic() override {
        dialog_->Manage();
        if (!dialog_->Active && ++idle_ > 200) {
            dialog_->Kill();
            dialog_ = open_();
            idle_ = 0;
        }
    }
    void Draw() override {
        DrawBackdrop();
        dialog_->Draw();
        DrawArrow(assets_);
    }
    bool Target(const std::string& name, fw::DrawingPoint& at) const override {
        return ButtonTarget(*dialog_, plat::Upper(name), at);
    }
    float LabelY() const override { return labelY_; }
    std::vector<std::string> Info() const override {
        std::vector<std::string> out = {DialogBox("box", *dialog_),
                                        Numbers("backdrop", {static_cast<float>(kBackdrop[0]),
                                                             static_cast<float>(kBackdrop[1]),
                                                             static_cast<float>(kBackdrop[2])})};
        if (dialog_->DialogColor)
            out.push_back(Numbers("colour", {static_cast<float>(dialog_->DialogColor->R),
                                             static_cast<float>(dialog_->DialogColor->G),
                                             static_cast<float>(dialog_->DialogColor->B)}));
        const float ratio = dialog_->Transitioning == 1 && dialog_->TransitionIn ? dialog_->TransitionIn->GetRatioInv() : 1;
        out.push_back(Numbers("dim", {dialog_->DimBackground * ratio}));
        out.push_back(Numbers("rest", {static_cast<float>(dialog_->y)}));
        if (dialog_->Menu)
            for (const auto& b : *dialog_->Menu)
                out.push_back(Box("button" + plat::Lower(b->name), b->x + dialog_->OffsetX, b->y + dialog_->OffsetY,
                                  static_cast<float>(b->w), static_cast<float>(b->h)));
        AddInfo(out);
        return out;
    }

protected:
    virtual void AddInfo(std::vector<std::string>&) const {}
    const Assets& assets_;
    PointerOn pointer_;
    std::function<plat::Ref<D>()> open_;
    plat::Ref<D> dialog_;
    float labelY_;
    int idle_ = 0;
};

// A message sliding in from the top over a dimming screen.
plat::Ref<fw::TDialogOK> OpenMessage(const Assets& a) {
    auto box = fw::TDialogOK::Create("The bridge is down. Cross at the ford!", nullptr, 180, 0, 0);
    DialogLook(*box, a, 70, 80, 130);
    box->SetTransitions(600, 400, 0.6f, 0, 1, 0);
    box->Start();
    return box;
}

plat::Ref<fw::TDialogYesNo> OpenQuestion(const Assets& a) {
    auto box = fw::TDialogYesNo::Create("Leave the battlefield?", nullptr, 0, 0, 0, 1, 24);
    box->Gap = 30;
    DialogLook(*box, a, 90, 60, 60);
    box->Start();
    return box;
}

// The name prompt, whose refusals show in a message over it.
class TextBoxScene : public DialogScene<fw::TDialogTextInput> {
public:
    explicit TextBoxScene(const Assets& a)
        : DialogScene(a, [&a] {
              auto prompt = NamePrompt(a);
              prompt->Start();
              return prompt;
          }) {}

protected:
    void AddInfo(std::vector<std::string>& out) const override {
        const auto& d = *dialog_;
        out.push_back(Box("field", static_cast<float>(d.x + d.BoxBorderH), d.Text->Y - static_cast<float>(d.BoxBorderV),
                          static_cast<float>(d.w - 2 * d.BoxBorderH), d.Text->CalcHeight() + static_cast<float>(2 * d.BoxBorderV)));
        if (d.DialogOK) {
            out.push_back(DialogBox("error", *d.DialogOK));
            out.push_back(Numbers("errorcolour", {static_cast<float>(d.DialogOK->DialogColor->R),
                                                  static_cast<float>(d.DialogOK->DialogColor->G),
                                                  static_cast<float>(d.DialogOK->DialogColor->B)}));
        }
    }
};

// Fourteen areas in a list of six lines with a scroll bar; the areas not
// reached yet are locked.
class ListScene : public Scene {
public:
    explicit ListScene(const Assets& a) : assets_(a) {
        list_ = fw::TListBox::Create(10, 3, 0, 1, 500);
        list_->SetupFont(nullptr, fw::TColor::Create(235, 235, 255, 1), nullptr, a.font,
                         fw::TColor::Create(255, 235, 120, 1));
        list_->SetCoords(70, 40, 170, static_cast<float>(list_->LineHeight * 6));
        list_->CalcLineHeight();
        list_->SetupBox(fw::TColor::Create(12, 16, 34, 1));
        list_->HighlightCol = fw::TColor::Create(40, 80, 200, 1);
        list_->LockedColor = fw::TColor::Create(110, 110, 125, 1);
        const char* areas[] = {"The beach",  "Palm road",   "The river",  "Old bridge", "Rice fields",
                               "The ford",   "Hill camp",   "Gun nests",  "The swamp",  "Rail yard",
                               "The town",   "Airstrip",    "The gate",   "Fortress"};
        for (int i = 0; i < 14; ++i) {
            list_->Strings.push_back(std::to_string(i + 1) + " " + areas[i]);
            list_->LockedArray.push_back(i >= kLockedFrom ? 1 : 0);
        }
        list_->Limit = 6;
        const auto& box = *list_->Box;
        const int size = static_cast<int>(box.H) - 20;
        auto bar = fw::TScrollBar::Create(a.slider, size, 14 - 6, box.X + box.W + 4, box.Y + 10, 1);
        bar->SetArrows("arrowup", "arrowdown", 100);
        bar->SetBackground(MakePicture("track", 10, size, 1, 0, Panel(10, size, {30, 30, 40}, {45, 45, 60}, 90)),
                           bar->X, bar->Y);
        bar->FixedGlowOnMO = 1;
        list_->ScrollBar = bar;
        list_->SetClickSound(a.beep);
        list_->TopIndex = 3;
        list_->SetIndex(5);
    }
    ~ListScene() override { list_->Kill(); }
    void Logic() override { list_->Manage(); }
    void Draw() override {
        plat::SetClsColor(24, 28, 40);
        plat::Cls();
        list_->Draw();
        Label("selected, locked, scrolled", 160, 222);
        DrawArrow(assets_);
    }
    std::vector<std::string> Info() const override {
        const auto& box = *list_->Box;
        const auto& bar = *list_->ScrollBar;
        return {Box("list", box.X, box.Y, box.W, box.H),
                Numbers("row", {static_cast<float>(list_->LineHeight)}),
                Numbers("top", {static_cast<float>(list_->TopIndex)}),
                Numbers("selected", {static_cast<float>(list_->Index)}),
                Numbers("lockedfrom", {static_cast<float>(kLockedFrom)}),
                Box("slider", bar.X, bar.Y + static_cast<float>(bar.SliderPosition), static_cast<float>(bar.Slider->w),
                    static_cast<float>(bar.Slider->h)),
                Box("track", bar.X, bar.Y, static_cast<float>(bar.Slider->w), static_cast<float>(bar.Size))};
    }

private:
    static constexpr int kLockedFrom = 7;
    const Assets& assets_;
    PointerOn pointer_;
    plat::Ref<fw::TListBox> list_;
};

// The player manager over three profiles of its own in the shell's
// profiles folder.
class PlayersScene : public Scene {
public:
    explicit PlayersScene(const Assets& a) : assets_(a) {
        for (const auto& [name, score] : {std::pair<const char*, int>{"Ada", 1200}, {"Brick", 800}, {"Coyote", 3100}}) {
            auto profile = fw::TProfile::Create(name);
            if (profile->Load() == 1) continue;
            profile->Score = score;
            profile->Save();
        }
        if (!fw::Game->CurrentProfile) {
            fw::Game->CurrentProfile = fw::TProfile::Create("Brick");
            fw::Game->CurrentProfile->Load();
            fw::Game->ProfileName = "Brick";
        }
        Open();
    }
    ~PlayersScene() override { manager_->Kill(); }
    void Logic() override {
        manager_->Manage();
        if (!manager_->Active && ++idle_ > 100) Open();
    }
    void Draw() override {
        DrawBackdrop();
        manager_->Draw();
        DrawArrow(assets_);
    }
    bool Target(const std::string& name, fw::DrawingPoint& at) const override {
        return ButtonTarget(*manager_, plat::Upper(name), at);
    }
    std::vector<std::string> Info() const override {
        const auto& box = *manager_->ListBox->Box;
        std::vector<std::string> out = {DialogBox("box", *manager_), Box("list", box.X, box.Y, box.W, box.H),
                                        Numbers("row", {static_cast<float>(manager_->ListBox->LineHeight)}),
                                        Numbers("selected", {static_cast<float>(manager_->ListBox->Index)}),
                                        Numbers("lines", {static_cast<float>(manager_->ListBox->Count())}),
                                        Numbers("open", {static_cast<float>(manager_->Active)})};
        if (manager_->EnterName) out.push_back(DialogBox("prompt", *manager_->EnterName));
        return out;
    }

private:
    void Open() {
        if (manager_) manager_->Kill();
        manager_ = fw::TPlayerManager::Create("Who is playing?", assets_.managerBackground, 0, 0, 0, 10, "");
        manager_->ListBox->Gap = 3;
        manager_->ListBox->SetupFont(nullptr, fw::TColor::Create(235, 235, 255, 1), nullptr, assets_.font,
                                     fw::TColor::Create(255, 235, 120, 1));
        manager_->ListBox->SetupBox(fw::TColor::Create(12, 16, 34, 1));
        manager_->ListBox->HighlightCol = fw::TColor::Create(40, 80, 200, 1);
        manager_->SetupCaption(nullptr, fw::TColor::Create(255, 255, 255, 1), fw::TShadow::Create(1, 1, 0.7f),
                               assets_.font);
        CaptionButtons(*manager_, assets_);
        const Assets& a = assets_;
        manager_->EnterNamePromptFunc = [&a](int) { return NamePrompt(a); };
        manager_->ErrorDialogFunc = [&a](const std::string& text) { return MessageDialog(a, text); };
        manager_->DialogYesNoFunc = [&a](const std::string& text) {
            auto box = fw::TDialogYesNo::Create(text, nullptr, 0, 0, 0, 1, 24);
            DialogLook(*box, a, 90, 60, 60);
            return box;
        };
        manager_->CreateProfileFunc = [](const std::string& name) { fw::TProfile::Create(name)->Save(); };
        manager_->DimWhenShowingDialogs = 1;
        manager_->Start();
        idle_ = 0;
    }

    const Assets& assets_;
    PointerOn pointer_;
    plat::Ref<fw::TPlayerManager> manager_;
    int idle_ = 0;
};

// --- the demo's screen ----------------------------------------------------------------

class DemoScreen : public fw::TScreen {
public:
    explicit DemoScreen(const Assets& assets) : assets_(assets) { name = "periphery"; }

    const std::vector<std::string>& Names() const { return names_; }

    void Show(const std::string& sceneName) {
        if (std::find(names_.begin(), names_.end(), sceneName) == names_.end()) return;
        current_ = sceneName;
        // The old scene goes first: two pages share the shell's loading screen.
        scene_.reset();
        if (sceneName == "sprites") scene_ = std::make_unique<SpriteScene>(assets_);
        else if (sceneName == "particles") scene_ = std::make_unique<ParticleScene>(assets_);
        else if (sceneName == "shapes") scene_ = std::make_unique<ShapeScene>();
        else if (sceneName == "crossfade") scene_ = std::make_unique<CrossFadeScene>(assets_);
        else if (sceneName == "slide") scene_ = std::make_unique<SlideScene>(assets_, false);
        else if (sceneName == "mask") scene_ = std::make_unique<SlideScene>(assets_, true);
        else if (sceneName == "buttons") scene_ = std::make_unique<ButtonScene>(assets_);
        else if (sceneName == "loading") scene_ = std::make_unique<LoadingScene>(assets_, false);
        else if (sceneName == "loaded") scene_ = std::make_unique<LoadingScene>(assets_, true);
        else if (sceneName == "widgets") scene_ = std::make_unique<WidgetScene>(assets_);
        else if (sceneName == "text") scene_ = std::make_unique<TextScene>(assets_);
        else if (sceneName == "ok")
            scene_ = std::make_unique<DialogScene<fw::TDialogOK>>(assets_, [this] { return OpenMessage(assets_); }, 226);
        else if (sceneName == "yesno")
            scene_ = std::make_unique<DialogScene<fw::TDialogYesNo>>(assets_, [this] { return OpenQuestion(assets_); });
        else if (sceneName == "textbox") scene_ = std::make_unique<TextBoxScene>(assets_);
        else if (sceneName == "listbox") scene_ = std::make_unique<ListScene>(assets_);
        else if (sceneName == "players") scene_ = std::make_unique<PlayersScene>(assets_);
        ticks_ = 0;
        std::cout << "scene " << sceneName << std::endl;
    }
    void Next() {
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == current_) {
                Show(names_[(i + 1) % names_.size()]);
                return;
            }
        Show(names_.front());
    }
    // The pointer at a place of the drawing space, as if it had moved there
    // (a script has no real pointer).
    void SetPointer(float x, float y) {
        scriptedPointer_ = {x, y};
        hasScriptedPointer_ = true;
        ApplyPointer();
    }
    // Ends the scene (its dialogs give the shell back its keys and pointer)
    // while the shell is still there.
    void Close() { scene_.reset(); }
    // The pointer on the named thing of the scene, when it has one.
    void PointAt(const std::string& target) {
        fw::DrawingPoint at;
        if (scene_ && scene_->Target(target, at)) SetPointer(at.x, at.y);
    }
    void Logic() override {
        ApplyPointer();
        ++ticks_;
        if (autoAdvance && ticks_ >= 1000) Next();
        if (scene_) scene_->Logic();
    }
    void Draw() override {
        ApplyPointer();
        if (scene_) scene_->Draw();
        Label(current_, 160, scene_ ? scene_->LabelY() : 4);
    }
    void SpecificKeys() override {
        if (fw::KeyHitCode(plat::KEY_SPACE)) Next();
        if (fw::KeyHitCode('F')) {
            // Out to black and back in, over what is on the screen now.
            fw::Game->ScreenDraw();
            plat::SetClsColor(0, 0, 0);
            fw::StartScreenFade(700, 1, nullptr);
            Draw();
            fw::StartScreenFade(700, 0, nullptr);
            fw::Game->FixedRateLogic->Init();
        }
    }
    std::vector<std::string> Info() const {
        ApplyPointer();
        return scene_ ? scene_->Info() : std::vector<std::string>{};
    }

    bool autoAdvance = false;

private:
    // Window pixels from drawing-space ones: the inverse of the shell's
    // mapping, which is a scale and a shift.
    void ApplyPointer() const {
        if (!hasScriptedPointer_) return;
        const fw::DrawingPoint origin = fw::WindowToDrawingSpace(0, 0);
        const fw::DrawingPoint far = fw::WindowToDrawingSpace(1000, 1000);
        const float sx = (far.x - origin.x) / 1000, sy = (far.y - origin.y) / 1000;
        fw::Game->Mouse->x = static_cast<int>(std::lround((scriptedPointer_.x - origin.x) / sx));
        fw::Game->Mouse->y = static_cast<int>(std::lround((scriptedPointer_.y - origin.y) / sy));
    }

    const Assets& assets_;
    std::vector<std::string> names_ = {"sprites", "particles", "shapes", "crossfade", "slide", "mask",
                                       "buttons", "loading", "loaded", "widgets", "text", "ok", "yesno",
                                       "textbox", "listbox", "players"};
    fw::DrawingPoint scriptedPointer_;
    bool hasScriptedPointer_ = false;
    std::string current_;
    std::unique_ptr<Scene> scene_;
    int ticks_ = 0;
};

void SaveShot(const std::string& path, const DemoScreen& screen) {
    plat::SavePixmapPNG(plat::GrabBackBuffer(), path);
    std::cout << "shot " << path << std::endl;
    for (const std::string& line : screen.Info()) std::cout << line << std::endl;
}

// An event for the shell's pump, as the window would send it.
void Post(int id, int data) {
    plat::TEvent event;
    event.id = id;
    event.data = data;
    plat::PostEvent(event);
}

void Quit() {
    fw::TGame::MakeGoodExit();
    fw::Game->Kill();
    std::cout << "quit" << std::endl;
}

int DemoMain() {
    demo::Begin("VelmarokPeripheryDemo", "Framework demo");

    std::deque<std::string> steps = demo::Script();
    const bool scripted = !steps.empty();
    // A script runs on a clock of its own: the same frames on every run.
    std::unique_ptr<plat::ManualClock> clock;
    if (scripted) clock = std::make_unique<plat::ManualClock>(1000);
    plat::SeedRnd(20240601);

    fw::Game = plat::New<fw::TGame>();
    fw::Game->SetSubPathWrapper("RavoTesk Games/PeripheryDemo");
    fw::Game->CheckGoodExit();
    fw::Game->Init(0);
    fw::Game->ChannelsCreate(16);
    fw::Game->FullScreen = 0;
    fw::ScreenWidth = 800;
    fw::ScreenHeight = 600;
    fw::ErrorReportMode = 1;
    fw::Game->GraphicsCreate();
    plat::SetVirtualResolution(static_cast<float>(fw::VirtualWidth), static_cast<float>(fw::VirtualHeight));
    fw::Game->IgnoreFrameworkKeys = 1;
    fw::Game->IgnoreDebugKey = 1;
    if (scripted) fw::FlipSync = 0;

    TempFolder folder;
    // The widgets load their pictures by name from the shell's folders.
    fw::Game->SetImagePath(folder.File(""));
    fw::Game->SetMenuPath(folder.File(""));
    fw::Game->SetSoundPath(folder.File(""));
    const Assets assets = MakeAssets(folder);
    auto screen = plat::New<DemoScreen>(assets);
    screen->PreStart();
    fw::Game->Mouse->Off();
    screen->Show("sprites");
    fw::FlushInput();
    fw::Game->FixedRateLogic->Init();

    if (!scripted) {
        screen->autoAdvance = true;
        for (;;) {
            if (fw::Game->MainLogicLoop() == -1) break;
            fw::Game->ScreenDraw();
        }
        screen->Close();
        Quit();
        return 0;
    }

    while (!steps.empty()) {
        const std::string step = steps.front();
        steps.pop_front();
        if (step.rfind("scene:", 0) == 0) {
            screen->Show(step.substr(6));
        } else if (step.rfind("ticks:", 0) == 0) {
            for (int i = std::atoi(step.c_str() + 6); i > 0; --i) {
                clock->Advance(5);
                fw::Game->FixedRateLogic->SetDelta(1.0f);
                if (fw::Game->LogicWrapper() == -1) steps.clear();
            }
        } else if (step.rfind("pointer:", 0) == 0) {
            float x = 0, y = 0;
            if (std::sscanf(step.c_str() + 8, "%f:%f", &x, &y) == 2) screen->SetPointer(x, y);
        } else if (step.rfind("point:", 0) == 0) {
            screen->PointAt(step.substr(6));
        } else if (step == "click") {
            Post(plat::EVENT_MOUSEDOWN, 1);
            Post(plat::EVENT_MOUSEUP, 1);
        } else if (step.rfind("key:", 0) == 0) {
            const int key = std::atoi(step.c_str() + 4);
            Post(plat::EVENT_KEYDOWN, key);
            if (key == plat::KEY_BACKSPACE || key == plat::KEY_ENTER || key == plat::KEY_ESCAPE)
                Post(plat::EVENT_KEYCHAR, key);
            Post(plat::EVENT_KEYUP, key);
        } else if (step.rfind("type:", 0) == 0) {
            for (unsigned char c : step.substr(5)) Post(plat::EVENT_KEYCHAR, c);
        } else if (step.rfind("shot:", 0) == 0) {
            fw::Game->ScreenDraw();
            SaveShot(step.substr(5), *screen);
        } else if (step.rfind("screenfade:", 0) == 0) {
            const std::string path = step.substr(11);
            fw::Game->ScreenDraw();
            plat::SetClsColor(0, 0, 0);
            // 50 ms a frame: the fifth frame shows the fade half-way.
            fw::SetBlockingLoopFrameHook([&](int frame) {
                if (frame == 5) SaveShot(path, *screen);
                clock->Advance(50);
            });
            fw::StartScreenFade(500, 1, nullptr);
            fw::SetBlockingLoopFrameHook(nullptr);
        } else if (step == "escape") {
            break;
        }
    }
    screen->Close();
    Quit();
    return 0;
}

}  // namespace

int main() { return plat::RunProgram(DemoMain); }
