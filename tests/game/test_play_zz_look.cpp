// TEMPORARY: frames for looking at the front layer over the hero.
#include "test_play_fixture.h"
#include "platform/gfx/display.h"
#include "platform/gfx/pixmap.h"
namespace playtest {
namespace {
class LookTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        plat::Graphics(960, 720, 0, 60);
        plat::SetVirtualResolution(320, 240);
        open_ = plat::GraphicsOpen();
    }
    void TearDown() override {
        if (open_) plat::EndGraphics();
        PlayTest::TearDown();
    }
    void Save(const std::string& name) {
        Frame();
        auto pixmap = plat::GrabPixmap(0, 0, 0, 0);
        const fs::path folder = "/work/wt/q1/build/review/look";
        fs::create_directories(folder);
        plat::SavePixmapPNG(pixmap, (folder / name).string());
        plat::Flip(0);
    }
    bool open_ = false;
};
TEST_F(LookTest, Frames) {
    const char* spec = std::getenv("LOOK");
    if (!spec) GTEST_SKIP();
    int area, view, x, y;
    std::string s = spec;
    size_t pos = 0;
    int n = 0;
    while (std::sscanf(s.c_str() + pos, "%d:%d:%d:%d", &area, &view, &x, &y) == 4) {
        StartArea(area);
        Frame();
        game::ViewTop = view;
        game::Hero->x = x;
        game::Hero->y = y;
        game::Hero->estado = 40;
        Save("look" + std::to_string(n) + ".png");
        game::Hero->x = -200;
        Save("look" + std::to_string(n++) + "-empty.png");
        pos = s.find(',', pos);
        if (pos == std::string::npos) break;
        ++pos;
    }
}
}  // namespace
}  // namespace playtest
