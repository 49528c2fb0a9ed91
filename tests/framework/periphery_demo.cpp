// A small program that shows the framework's sprites and effects at work,
// in the game's own set-up (320 x 240 drawn into an 800 x 600 window).  It
// runs one scene at a time: sprites, particles, shapes, cross-fade, slide,
// mask.  Live, the scenes change every five seconds; Space shows the next
// one, F fades the screen out and in again, Escape quits.  Now and then a
// sound plays (the flasher of the sprites, the explosions of the particles).
//
// VELMAROK_DEMO_SCRIPT drives it without a person, on a clock of its own so
// every run draws the same frames: a comma-separated list of steps,
// "scene:NAME" (start a scene), "ticks:N" (run N logic ticks of 5 ms),
// "shot:PATH" (draw a frame and save it as PNG), "screenfade:PATH" (fade the
// screen out, saving the frame half-way), "escape" (quit).  After each shot
// it prints "shot PATH" and the positions a checker needs, one per line.
//
// The pictures and sounds are made here, the sounds in a temporary folder
// that is removed at the end.

#include <unistd.h>

#include <cmath>
#include <cstdint>
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
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/fade.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/particles.h"
#include "framework/shapes.h"
#include "framework/slides.h"
#include "framework/space.h"
#include "framework/sprite.h"
#include "framework/system.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"
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
    plat::Ref<fw::TGameSound> beep, boom;
};

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

// --- the demo's screen ----------------------------------------------------------------

class DemoScreen : public fw::TScreen {
public:
    explicit DemoScreen(const Assets& assets) : assets_(assets) { name = "periphery"; }

    const std::vector<std::string>& Names() const { return names_; }

    void Show(const std::string& sceneName) {
        current_ = sceneName;
        if (sceneName == "sprites") scene_ = std::make_unique<SpriteScene>(assets_);
        else if (sceneName == "particles") scene_ = std::make_unique<ParticleScene>(assets_);
        else if (sceneName == "shapes") scene_ = std::make_unique<ShapeScene>();
        else if (sceneName == "crossfade") scene_ = std::make_unique<CrossFadeScene>(assets_);
        else if (sceneName == "slide") scene_ = std::make_unique<SlideScene>(assets_, false);
        else if (sceneName == "mask") scene_ = std::make_unique<SlideScene>(assets_, true);
        else return;
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
    void Logic() override {
        ++ticks_;
        if (autoAdvance && ticks_ >= 1000) Next();
        if (scene_) scene_->Logic();
    }
    void Draw() override {
        if (scene_) scene_->Draw();
        Label(current_, 160, 4);
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
    std::vector<std::string> Info() const { return scene_ ? scene_->Info() : std::vector<std::string>{}; }

    bool autoAdvance = false;

private:
    const Assets& assets_;
    std::vector<std::string> names_ = {"sprites", "particles", "shapes", "crossfade", "slide", "mask"};
    std::string current_;
    std::unique_ptr<Scene> scene_;
    int ticks_ = 0;
};

void SaveShot(const std::string& path, const DemoScreen& screen) {
    plat::SavePixmapPNG(plat::GrabBackBuffer(), path);
    std::cout << "shot " << path << std::endl;
    for (const std::string& line : screen.Info()) std::cout << line << std::endl;
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
    Quit();
    return 0;
}

}  // namespace

int main() { return plat::RunProgram(DemoMain); }
