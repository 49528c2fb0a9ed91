// The demo of sprites and effects run as a process on its own clock: each
// scene shot as PNG, and pixels of each shot checked where the demo says
// its things are.

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gfx/pixmap.h"
#include "platform/io/stream.h"
#include "test_lib_util.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
    int r, g, b;
};

// A shot with the positions the demo printed after it, in 320 x 240
// drawing-space units.
struct Shot {
    plat::Ref<plat::TPixmap> pixels;
    std::map<std::string, std::vector<float>> info;

    Rgb At(float x, float y) const {
        const int px = static_cast<int>(x * static_cast<float>(pixels->width) / 320.0f);
        const int py = static_cast<int>(y * static_cast<float>(pixels->height) / 240.0f);
        const std::uint32_t c = pixels->Read(px, py);
        return {static_cast<int>((c >> 16) & 255), static_cast<int>((c >> 8) & 255), static_cast<int>(c & 255)};
    }
    Rgb AtInfo(const std::string& name, float dx = 0, float dy = 0) const {
        const auto& v = info.at(name);
        return At(v.at(0) + dx, v.at(1) + dy);
    }
};

int Brightness(Rgb c) { return c.r + c.g + c.b; }

class PeripheryDemo : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(fs::path(dir.Dir()) / "home");
        fs::create_directories(fs::path(dir.Dir()) / "run");
        fs::create_directories(fs::path(dir.Dir()) / "shots");
    }

    // Runs the demo with `script` ("shot:NAME" saves into the shots folder)
    // and reads the shots back.  Returns the exit status.
    int Run(const std::string& script) {
        std::string steps;
        std::stringstream in(script);
        std::string step;
        while (std::getline(in, step, ',')) {
            const std::size_t colon = step.find(':');
            if (colon != std::string::npos && (step.rfind("shot:", 0) == 0 || step.rfind("screenfade:", 0) == 0))
                step = step.substr(0, colon + 1) + dir / ("shots/" + step.substr(colon + 1) + ".png");
            steps += (steps.empty() ? "" : ",") + step;
        }
        const std::string cmd = "cd '" + dir.Dir() + "' && XDG_DATA_HOME='" + dir / "home" + "' XDG_RUNTIME_DIR='" +
                                dir / "run" + "' VELMAROK_DEMO_SCRIPT='" + steps + "' timeout 120 '" +
                                PERIPHERY_DEMO_PATH "' > '" + dir / "out.txt" + "' 2> '" + dir / "err.txt" + "'";
        const int raw = std::system(cmd.c_str());
        ReadShots();
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    void ReadShots() {
        std::stringstream out(testlib::ReadAll(dir / "out.txt"));
        std::string line;
        Shot* current = nullptr;
        while (std::getline(out, line)) {
            std::stringstream words(line);
            std::string name;
            words >> name;
            if (name == "shot") {
                std::string path;
                words >> path;
                const std::string key = fs::path(path).stem().string();
                shots[key].pixels = plat::LoadPixmap(path);
                current = &shots[key];
            } else if (current && name != "scene" && name != "quit") {
                float v = 0;
                while (words >> v) current->info[name].push_back(v);
            }
        }
    }

    const Shot& Get(const std::string& name) {
        const Shot& s = shots[name];
        EXPECT_TRUE(s.pixels) << "no shot " << name << "\n" << testlib::ReadAll(dir / "err.txt");
        return s;
    }

    testlib::TempDir dir;
    std::map<std::string, Shot> shots;
};

TEST_F(PeripheryDemo, EverySceneDrawsWhatItShows) {
    ASSERT_EQ(Run("scene:sprites,ticks:300,shot:sprites,"
                  "scene:particles,ticks:250,shot:particles,"
                  "scene:shapes,ticks:400,shot:shapes,screenfade:screenfade,"
                  "scene:crossfade,ticks:100,shot:crossfade,"
                  "scene:slide,ticks:100,shot:slide,"
                  "scene:mask,ticks:100,shot:mask,escape"),
              0)
        << testlib::ReadAll(dir / "err.txt");
    if (HasFailure()) return;

    const Shot& sprites = Get("sprites");
    ASSERT_TRUE(sprites.pixels);
    const Rgb background = sprites.At(5, 60);
    const Rgb tinted = sprites.AtInfo("tinted");
    EXPECT_GT(tinted.r, 150);
    EXPECT_LT(tinted.g, 80) << "the light tile tinted red";
    EXPECT_LT(Brightness(sprites.AtInfo("shadowed", 10, 10)), Brightness(background)) << "the shadow beside it";
    EXPECT_GT(Brightness(sprites.AtInfo("rotated", 0, -7)), 300) << "a corner of the tile turned 45 degrees";
    EXPECT_LT(Brightness(sprites.AtInfo("rotated", -7, -7)), 200) << "where the unturned corner was";
    EXPECT_GT(Brightness(sprites.AtInfo("scaled", 12, 0)), 300) << "twice the size";
    EXPECT_GT(Brightness(sprites.AtInfo("glowing", 12, 0)), Brightness(background) + 60) << "the halo around it";
    EXPECT_GT(Brightness(sprites.AtInfo("glowing")), Brightness(sprites.AtInfo("shadowed"))) << "brighter than plain";
    // 300 ticks into a 160-tick loop of four frames: frame 3 (yellow).
    EXPECT_EQ(sprites.info.at("frame").at(0), 3);
    const Rgb frame = sprites.AtInfo("animated");
    EXPECT_GT(frame.r, 180);
    EXPECT_GT(frame.g, 160);
    EXPECT_LT(frame.b, 100);

    const Shot& particles = Get("particles");
    ASSERT_TRUE(particles.pixels);
    int lit = 0;
    for (int y = 60; y < 215; y += 2)
        for (int x = 60; x < 160; x += 2) lit += Brightness(particles.At(static_cast<float>(x), static_cast<float>(y))) > 200;
    EXPECT_GT(lit, 40) << "a fountain of particles above the emitter";
    EXPECT_GT(particles.info.at("particles").at(0), 50);
    const auto& boom = particles.info.at("explosion");
    EXPECT_GT(boom.at(2), 0) << "the explosion is part-way";
    EXPECT_LT(boom.at(2), 7);
    EXPECT_GT(particles.At(boom.at(0), boom.at(1)).r, 200) << "its hot middle";

    const Shot& shapes = Get("shapes");
    ASSERT_TRUE(shapes.pixels);
    const Rgb box = shapes.AtInfo("box");
    EXPECT_GT(box.r, 230);
    EXPECT_GT(box.g, 180);
    EXPECT_LT(box.b, 40);
    const Rgb circle = shapes.AtInfo("circle");
    EXPECT_GT(circle.b, 230);
    EXPECT_LT(circle.r, 40);
    const Rgb ball = shapes.AtInfo("ball");
    EXPECT_GT(ball.g, 200) << "the ball where the vector took it";
    EXPECT_LT(ball.b, 160);
    const auto& at = shapes.info.at("ball");
    EXPECT_GE(at[0], 15);
    EXPECT_LE(at[0], 305);
    EXPECT_GE(at[1], 120);
    EXPECT_LE(at[1], 210) << "kept inside the walls";

    const Shot& screenfade = Get("screenfade");
    ASSERT_TRUE(screenfade.pixels);
    const Rgb half = screenfade.AtInfo("box");
    EXPECT_NEAR(half.r, 128, 20) << "the screen half faded out";
    EXPECT_NEAR(half.g, 100, 20);

    const Shot& cross = Get("crossfade");
    ASSERT_TRUE(cross.pixels);
    const Rgb mix = cross.AtInfo("centre", 1, 1);
    EXPECT_NEAR(mix.r, mix.b, 30) << "half warm, half cool";
    EXPECT_GT(mix.r, 90);

    const Shot& slide = Get("slide");
    ASSERT_TRUE(slide.pixels);
    EXPECT_EQ(Brightness(slide.At(160, 20)), 0) << "the top bar";
    EXPECT_EQ(Brightness(slide.At(160, 225)), 0) << "the bottom bar";
    const Rgb sky = slide.At(100, 60);
    EXPECT_GT(sky.b, 60) << "the picture half-way in from black";
    EXPECT_LT(sky.b, 150);

    const Shot& mask = Get("mask");
    ASSERT_TRUE(mask.pixels);
    EXPECT_GT(Brightness(mask.AtInfo("centre")), 150) << "the picture shows through the hole";
    EXPECT_EQ(Brightness(mask.AtInfo("corner")), 0) << "the mask covers the rest";
}

}  // namespace
