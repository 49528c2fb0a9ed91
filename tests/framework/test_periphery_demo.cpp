// The demo of sprites and effects run as a process on its own clock: each
// scene shot as PNG, and pixels of each shot checked where the demo says
// its things are.

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// Pixels of the drawing-space rectangle (x0, y0)-(x1, y1) that pass `test`,
// sampled a drawing-space pixel apart.
template <class Test>
int CountIn(const Shot& shot, float x0, float y0, float x1, float y1, Test test) {
    int n = 0;
    for (float y = y0; y < y1; y += 1)
        for (float x = x0; x < x1; x += 1) n += test(shot.At(x + 0.5f, y + 0.5f)) ? 1 : 0;
    return n;
}

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

TEST_F(PeripheryDemo, WidgetPagesDrawWhatTheyShow) {
    ASSERT_EQ(Run("scene:buttons,pointer:160:75,ticks:100,shot:buttons,"
                  "scene:loading,ticks:10,shot:loading,"
                  "scene:loaded,pointer:150:190,ticks:50,shot:loaded,"
                  "scene:widgets,pointer:140:73,ticks:120,shot:widgets,"
                  "scene:text,ticks:5,shot:text,escape"),
              0)
        << testlib::ReadAll(dir / "err.txt");
    if (HasFailure()) return;
    auto white = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    auto yellow = [](Rgb c) { return c.r > 200 && c.g > 180 && c.b < 160; };

    // Buttons, each 100 x 20: hovered, disabled, pressed, plain.
    const Shot& buttons = Get("buttons");
    ASSERT_TRUE(buttons.pixels);
    const auto& start = buttons.info.at("start");
    const auto& plainButton = buttons.info.at("exit");
    EXPECT_GT(Brightness(buttons.AtInfo("start", -5, 10)), 300) << "the hovered button has grown past its edge";
    EXPECT_LT(Brightness(buttons.AtInfo("exit", -5, 10)), 100) << "the plain one has not";
    EXPECT_GT(Brightness(buttons.AtInfo("start", 8, 15)), Brightness(buttons.AtInfo("exit", 8, 15)) + 150)
        << "hover look and glow";
    const Rgb disabled = buttons.AtInfo("options", 8, 10);
    EXPECT_LT(std::abs(disabled.r - disabled.b), 20) << "the disabled look is grey";
    const Rgb plain = buttons.AtInfo("exit", 8, 10);
    EXPECT_GT(plain.b, plain.r + 40) << "the plain look is blue";
    EXPECT_LT(Brightness(buttons.AtInfo("scores", 8, 3)), Brightness(buttons.AtInfo("scores", 8, 16)))
        << "the pressed look is lit from below";
    EXPECT_GT(Brightness(buttons.AtInfo("exit", 8, 3)), Brightness(buttons.AtInfo("exit", 8, 16)));
    EXPECT_GT(CountIn(buttons, plainButton[0] + 30, plainButton[1] + 4, plainButton[0] + 70, plainButton[1] + 16, white), 10)
        << "the caption in the bitmap font";
    EXPECT_GT(CountIn(buttons, start[0] + 25, start[1] + 2, start[0] + 75, start[1] + 18, yellow), 10)
        << "the hovered caption in its hover colour";

    // The bar, 200 x 12: three steps of eight, then full.
    const Shot& loading = Get("loading");
    ASSERT_TRUE(loading.pixels);
    EXPECT_EQ(loading.info.at("steps").at(0), 3);
    const Rgb done = loading.AtInfo("bar", 200 * 0.3f, 6);
    EXPECT_GT(done.g, done.r + 60) << "the revealed part";
    const Rgb todo = loading.AtInfo("bar", 200 * 0.5f, 6);
    EXPECT_LT(std::abs(todo.r - todo.g), 15) << "the empty bar under the rest";
    EXPECT_LT(Brightness(todo), 200);
    EXPECT_GT(CountIn(loading, 130, 116, 190, 124, white), 10) << "the loading panel's text";
    const Shot& loaded = Get("loaded");
    ASSERT_TRUE(loaded.pixels);
    EXPECT_EQ(loaded.info.at("steps").at(0), 8);
    const Rgb full = loaded.AtInfo("bar", 200 * 0.9f, 6);
    EXPECT_GT(full.b, 150);
    EXPECT_GT(full.g, 150) << "the final picture";
    const auto& button = loaded.info.at("button");
    EXPECT_GT(CountIn(loaded, button[0] + 5, button[1] + 4, button[0] + 95, button[1] + 16, yellow), 10)
        << "the click-here button under the pointer";

    // Slider at 25 %, the text input, the tool tip above the pointer.
    const Shot& widgets = Get("widgets");
    ASSERT_TRUE(widgets.pixels);
    const Rgb dot = widgets.AtInfo("dot");
    EXPECT_GT(dot.r, 200);
    EXPECT_LT(dot.b, 100) << "the knob";
    const auto& slider = widgets.info.at("slider");
    EXPECT_NEAR(widgets.info.at("dot").at(0), slider[0] + 4 + (slider[2] - 8) * 0.25f, 1) << "a quarter along";
    const auto& input = widgets.info.at("input");
    EXPECT_GT(CountIn(widgets, input[0], input[1], input[0] + 24, input[1] + 8, white), 15) << "Abc";
    EXPECT_EQ(widgets.info.at("cursor").at(0), 1);
    auto cyan = [](Rgb c) { return c.r < 100 && c.g > 180 && c.b > 180; };
    EXPECT_GT(CountIn(widgets, input[0] + 24, input[1], input[0] + 32, input[1] + 10, cyan), 3) << "the cursor";
    auto grey = [](Rgb c) { return Brightness(c) > 280 && Brightness(c) < 480; };
    EXPECT_GT(CountIn(widgets, input[0] + 32, input[1], input[0] + 80, input[1] + 9, grey), 5) << "the dots";
    const auto& tip = widgets.info.at("tip");
    const Rgb box = widgets.AtInfo("tip", 3, 3);
    EXPECT_GT(box.r, 200);
    EXPECT_GT(box.g, 180);
    EXPECT_LT(box.b, 210) << "the tool tip's box";
    EXPECT_LE(tip[1] + tip[3], widgets.info.at("pointer").at(1)) << "above the pointer";
    auto dark = [](Rgb c) { return Brightness(c) < 250; };
    EXPECT_GT(CountIn(widgets, tip[0] + 5, tip[1] + 5, tip[0] + tip[2] - 5, tip[1] + tip[3] - 5, dark), 20)
        << "its text";

    // Left, centred and right of x = 160, a shadow, two wrapped lines.
    const Shot& text = Get("text");
    ASSERT_TRUE(text.pixels);
    auto lit = [](Rgb c) { return Brightness(c) > 550; };
    auto litBeside = [&](const char* name, float from, float to) {
        const auto& v = text.info.at(name);
        return CountIn(text, from, v[1], to, v[1] + 8, lit);
    };
    const float leftW = text.info.at("left").at(2), rightW = text.info.at("right").at(2);
    EXPECT_GT(litBeside("left", 160, 160 + leftW), 10);
    EXPECT_EQ(litBeside("left", 150 - leftW, 159), 0) << "nothing left of the line";
    EXPECT_GT(litBeside("right", 160 - rightW, 160), 10);
    EXPECT_EQ(litBeside("right", 162, 162 + rightW), 0) << "nothing right of the line";
    EXPECT_GT(litBeside("centred", 130, 159), 10);
    EXPECT_GT(litBeside("centred", 161, 190), 10);
    const auto& shadowed = text.info.at("shadowed");
    auto shade = [](Rgb c) { return Brightness(c) < 80; };
    EXPECT_GT(CountIn(text, shadowed[0] - 30, shadowed[1] + 8, shadowed[0] + 34, shadowed[1] + 10, shade), 5)
        << "the shadow under the text";
    EXPECT_EQ(text.info.at("lines").at(0), 2);
}

TEST_F(PeripheryDemo, DialogPagesDrawWhatTheyShowAndTheManagerSavesANewPlayer) {
    ASSERT_EQ(Run("scene:ok,ticks:60,shot:ok,"
                  "scene:yesno,ticks:5,point:yes,ticks:30,shot:yesno,"
                  "scene:textbox,ticks:5,type:Al,ticks:5,key:13,ticks:5,shot:textbox,"
                  "scene:listbox,ticks:5,shot:listbox,"
                  "scene:players,ticks:5,shot:players,point:create,ticks:2,click,ticks:5,type:Zed,ticks:10,"
                  "key:13,ticks:150,shot:chosen,escape"),
              0)
        << testlib::ReadAll(dir / "err.txt");
    if (HasFailure()) return;
    auto near = [](Rgb c, float r, float g, float b, int tolerance) {
        return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance && std::abs(c.b - b) <= tolerance;
    };
    auto dimmed = [&](const Shot& shot, float x, float y, float dim) {
        const auto& back = shot.info.at("backdrop");
        const float keep = 1 - dim;
        return near(shot.At(x, y), back[0] * keep, back[1] * keep, back[2] * keep, 6);
    };

    // Half-way in from the top over a screen dimmed to 0.6 x 0.5.
    const Shot& ok = Get("ok");
    ASSERT_TRUE(ok.pixels);
    EXPECT_FLOAT_EQ(ok.info.at("dim").at(0), 0.3f);
    EXPECT_TRUE(dimmed(ok, 5, 235, 0.3f)) << "the dimmed screen";
    const auto& box = ok.info.at("box");
    const float rest = ok.info.at("rest").at(0);
    EXPECT_NEAR(box[1], rest - (rest + box[3]) / 2, 1) << "half-way between above the screen and its place";
    const auto& colour = ok.info.at("colour");
    EXPECT_TRUE(near(ok.At(box[0] + 10, box[1] + box[3] - 10), colour[0], colour[1], colour[2], 8)) << "the box";
    EXPECT_TRUE(dimmed(ok, 150, box[1] + box[3] + 20, 0.3f)) << "under it";

    // The pointer on Yes: its hover look; nothing dimmed.
    const Shot& yesno = Get("yesno");
    ASSERT_TRUE(yesno.pixels);
    EXPECT_GT(Brightness(yesno.AtInfo("buttonyes", 3, 3)), Brightness(yesno.AtInfo("buttonno", 3, 3)) + 60);
    EXPECT_TRUE(dimmed(yesno, 5, 235, 0));
    const auto& question = yesno.info.at("box");
    const auto& questionColour = yesno.info.at("colour");
    EXPECT_TRUE(near(yesno.At(question[0] + 10, question[1] + question[3] - 10), questionColour[0], questionColour[1],
                     questionColour[2], 8));

    // Two letters refused: the error box over the text box dimmed by half.
    const Shot& textbox = Get("textbox");
    ASSERT_TRUE(textbox.pixels);
    ASSERT_TRUE(textbox.info.count("error")) << "the error box is open";
    const auto& error = textbox.info.at("error");
    const auto& errorColour = textbox.info.at("errorcolour");
    EXPECT_TRUE(near(textbox.At(error[0] + 6, error[1] + error[3] - 6), errorColour[0], errorColour[1], errorColour[2], 8));
    const auto& prompt = textbox.info.at("box");
    const auto& promptColour = textbox.info.at("colour");
    ASSERT_LT(prompt[1] + 6, error[1]);
    EXPECT_TRUE(near(textbox.At(prompt[0] + 6, prompt[1] + 6), promptColour[0] / 2, promptColour[1] / 2,
                     promptColour[2] / 2, 6))
        << "the text box under the dim";
    EXPECT_TRUE(dimmed(textbox, 5, 235, 0.5f));

    // Lines 3..8 of 14: the selection bar on line 5, lines from 7 locked,
    // the slider three eighths down its track.
    const Shot& list = Get("listbox");
    ASSERT_TRUE(list.pixels);
    const auto& lb = list.info.at("list");
    const float row = list.info.at("row").at(0), top = list.info.at("top").at(0);
    const float selectedRow = list.info.at("selected").at(0) - top;
    const Rgb bar = list.At(lb[0] + lb[2] - 10, lb[1] + (selectedRow + 0.5f) * row);
    EXPECT_GT(bar.b, 150);
    EXPECT_LT(bar.r, 80) << "the selection bar";
    EXPECT_LT(Brightness(list.At(lb[0] + lb[2] - 10, lb[1] + row / 2)), 100) << "no bar on another line";
    auto white = [](Rgb c) { return Brightness(c) > 600; };
    auto grey = [](Rgb c) { return Brightness(c) > 250 && Brightness(c) < 450 && std::abs(c.r - c.b) < 40; };
    const float lockedRow = list.info.at("lockedfrom").at(0) - top;
    EXPECT_GT(CountIn(list, lb[0], lb[1], lb[0] + lb[2], lb[1] + row, white), 20) << "an open line";
    EXPECT_EQ(CountIn(list, lb[0], lb[1] + lockedRow * row, lb[0] + lb[2], lb[1] + (lockedRow + 1) * row, white), 0);
    EXPECT_GT(CountIn(list, lb[0], lb[1] + lockedRow * row, lb[0] + lb[2], lb[1] + (lockedRow + 1) * row, grey), 20)
        << "a locked line";
    const auto& slider = list.info.at("slider");
    const auto& track = list.info.at("track");
    const Rgb knob = list.At(slider[0] + 5, slider[1] + 8);
    EXPECT_GT(knob.r, 200);
    EXPECT_LT(knob.b, 120) << "the slider";
    EXPECT_NEAR(slider[1] - track[1], (track[3] - slider[3]) * 3 / 8, 1) << "part-way down";

    // Three players with Brick chosen; then Zed created and chosen.
    const Shot& players = Get("players");
    ASSERT_TRUE(players.pixels);
    EXPECT_EQ(players.info.at("lines").at(0), 3);
    EXPECT_EQ(players.info.at("selected").at(0), 1);
    const auto& pl = players.info.at("list");
    const float playerRow = players.info.at("row").at(0);
    EXPECT_GT(players.At(pl[0] + pl[2] - 10, pl[1] + 1.5f * playerRow).b, 150) << "Brick's bar";
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(CountIn(players, pl[0], pl[1] + static_cast<float>(i) * playerRow, pl[0] + pl[2],
                          pl[1] + static_cast<float>(i + 1) * playerRow, [](Rgb c) { return Brightness(c) > 550; }),
                  10)
            << "name " << i;
    const Shot& chosen = Get("chosen");
    ASSERT_TRUE(chosen.pixels);
    EXPECT_EQ(chosen.info.at("lines").at(0), 4);
    EXPECT_EQ(chosen.info.at("selected").at(0), 3);
    EXPECT_GT(chosen.At(pl[0] + pl[2] - 10, pl[1] + 3.5f * playerRow).b, 150) << "Zed's bar";

    // Zed's profile: a whole record, written by renaming a finished file
    // into the profiles folder of the data home; the settings name him.
    const fs::path data = fs::path(dir.Dir()) / "home" / "RavoTesk Games" / "PeripheryDemo";
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(data / "profiles")) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Ada.dat", "Brick.dat", "Coyote.dat", "Zed.dat"}));
    const std::string zed = testlib::ReadAll((data / "profiles" / "Zed.dat").string());
    ASSERT_EQ(zed.size(), 440u);
    auto intAt = [&](std::size_t at) {
        std::uint32_t u = 0;
        for (std::size_t i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(zed[at + i])) << (8 * i);
        return static_cast<int>(u);
    };
    const int expected[] = {5920318, 9107721, 12295121, 15482526, 18669925};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(intAt(i * 4), expected[i]) << "scrambled field " << i;
    EXPECT_EQ(intAt(32), 1) << "tips on";
    EXPECT_EQ(intAt(36), 1) << "instructions on";
    EXPECT_EQ(zed.substr(40), std::string(400, '\0')) << "no hints shown";
    bool named = false;
    for (const auto& e : fs::directory_iterator(data))
        if (e.path().extension() == ".ini") named |= testlib::ReadAll(e.path().string()).find("PROFILE NAME=Zed") != std::string::npos;
    EXPECT_TRUE(named) << "the settings keep the chosen player";
}

}  // namespace
