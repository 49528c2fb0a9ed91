// Image and sound banks with real PNG and WAV files: names, paths and
// extensions, strips, sizes, and the exact texts of missing entries.

#include <gtest/gtest.h>

#include "framework/banks.h"
#include "framework/errors.h"
#include "platform/core/error.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/io/fs.h"
#include "test_lib_util.h"

namespace {

using testlib::TempDir;

void WritePng(const std::string& path, int w, int h, std::uint32_t argb = 0xFF336699u) {
    auto p = plat::CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->Write(x, y, argb + static_cast<std::uint32_t>(x));
    ASSERT_TRUE(plat::SavePixmapPNG(p, path));
}

// The text of the error a call raises (ErrorReportMode 0), "" when none.
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const plat::RuntimeError& e) {
        return e.what();
    }
    return "";
}

class Banks : public ::testing::Test {
protected:
    void SetUp() override {
        fw::ErrorReportMode = 0;
        fw::ErrorLogFolder = dir.Dir();
        std::filesystem::create_directories(dir / "gfx");
        std::filesystem::create_directories(dir / "snd");
        gfx = dir / "gfx";
        images.SetPath(gfx);
        sounds.SetPath(dir / "snd");
    }
    void TearDown() override {
        EXPECT_FALSE(std::filesystem::exists(dir / "ErrorLog.txt"))
            << "before the window opens nothing is logged";
        fw::ErrorLogFolder.clear();
    }
    TempDir dir;
    std::string gfx;
    fw::TImageBank images;
    fw::TSoundBank sounds;
};

TEST_F(Banks, SetPathEnsuresOneTrailingSeparator) {
    EXPECT_EQ(images.Path, gfx + "/");
    fw::TImageBank b;
    b.SetPath("gfx");
    EXPECT_EQ(b.Path, "gfx/");
    b.SetPath("gfx\\");
    EXPECT_EQ(b.Path, "gfx\\");
    EXPECT_EQ(b.Ext, ".png");
    EXPECT_EQ(sounds.Ext, ".wav");
}

TEST_F(Banks, ImagesAreFiledUnderUpperCasedNames) {
    WritePng(gfx + "/ship.png", 8, 6);
    WritePng(gfx + "/ship.bmp", 3, 3);  // a PNG under another extension
    images.Load("ship", "", -1, 0);
    images.Load("ship.bmp", "Boat", -1, 0);
    ASSERT_EQ(images.Count(), 2);
    for (const char* name : {"ship", "Ship", "SHIP"}) EXPECT_EQ(images.Find(name)->w, 8) << name;
    EXPECT_EQ(images.Find("boat")->w, 3);
    EXPECT_EQ(images.Find("BOAT")->name, "BOAT");
    EXPECT_EQ(images.FindTImage("ship"), images.Find("SHIP")->image);
    EXPECT_EQ(images.FindTImage("nothing"), nullptr);

    // A second load under an existing name replaces the entry.
    WritePng(gfx + "/other.png", 5, 5);
    images.Load("other", "ship", -1, 0);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Find("ship")->w, 5);
}

TEST_F(Banks, SubFoldersStayInTheUrl) {
    std::filesystem::create_directories(gfx + "/hud");
    WritePng(gfx + "/hud/bar.png", 4, 2);
    images.Load("hud/bar", "", -1, 0);
    EXPECT_EQ(images.Find("BAR")->h, 2);
}

TEST_F(Banks, MissingEntriesReportTheExactTexts) {
    EXPECT_EQ(ErrorOf([&] { images.Load("nope", "", -1, 0); }), "Error loading bitmap " + gfx + "/nope.png");
    EXPECT_EQ(ErrorOf([&] { images.Load("ship.bmp", "Boat", -1, 0); }),
              "Error loading bitmap " + gfx + "/ship.bmp");
    EXPECT_EQ(ErrorOf([&] { images.LoadAnim("strip", 4, 4, 0, 2, -1, 1); }),
              "Error loading anim bitmap " + gfx + "/strip.png");
    EXPECT_EQ(ErrorOf([&] { images.Find("hero"); }), "Image 'HERO' was Not found in the ImageBank");
    EXPECT_EQ(ErrorOf([&] { sounds.Find("Boom"); }), "Sound 'BOOM' was not found in the SoundBank");
    EXPECT_EQ(ErrorOf([&] { sounds.Load("boom", 1, 1, "", 0); }),
              "Error loading sample " + dir / "snd/boom.wav");
    EXPECT_EQ(ErrorOf([&] { fw::OpenFileOrDie(dir / "none.txt"); }), "Error loading file " + dir / "none.txt");
    // Not an image at all.
    testlib::WriteAll(gfx + "/junk.png", "not a picture");
    EXPECT_EQ(ErrorOf([&] { images.Load("junk", "", -1, 0); }), "Error loading bitmap " + gfx + "/junk.png");
}

TEST_F(Banks, StripsAlwaysGetTheBankExtension) {
    // 200 x 50 holds two cells of 100 x 50.
    WritePng(gfx + "/walk.png.png", 200, 50);
    images.LoadAnim("walk.png", 100, 50, 0, 2, -1, 1);
    auto entry = images.Find("walk.png");
    EXPECT_EQ(entry->name, "WALK.PNG");
    ASSERT_TRUE(entry->image);
    EXPECT_EQ(entry->image->Frames(), 2);
    EXPECT_EQ(entry->w, 100);
    EXPECT_EQ(entry->h, 50);
    EXPECT_EQ(entry->midhandled, 1);
    EXPECT_FLOAT_EQ(plat::ImageXHandle(entry->image), 50);
    EXPECT_FLOAT_EQ(plat::ImageYHandle(entry->image), 25);
    EXPECT_EQ(entry->CalcRAM(), 40000);
    EXPECT_EQ(entry->CalcVRAM(), 128 * 4 * 64 * 2);
    EXPECT_EQ(images.CalcRAM(), 40000 / 1024);
    EXPECT_EQ(images.CalcVRAM(), 65536 / 1024);

    // A mid-handle value other than 1 means the top-left corner here.
    images.LoadAnim("walk.png", 100, 50, 1, 1, -1, 2);
    EXPECT_EQ(images.Find("walk.png")->midhandled, 0);
}

TEST_F(Banks, HalvesAreWholeNumbers) {
    WritePng(gfx + "/odd.png", 101, 51);
    images.Load("odd", "", -1, 1);
    auto e = images.Find("odd");
    EXPECT_FLOAT_EQ(e->w2, 50.0f);
    EXPECT_FLOAT_EQ(e->h2, 25.0f);
    EXPECT_EQ(e->midhandled, 1);
    images.LoadNoMid("odd", "odd2", -1);
    EXPECT_EQ(images.Find("ODD2")->midhandled, 0);
    EXPECT_FLOAT_EQ(plat::ImageXHandle(images.Find("ODD2")->image), 0);
}

TEST_F(Banks, CreateAutoAndCreateFromImage) {
    WritePng(gfx + "/cells.png", 20, 10);
    auto single = fw::TGameImage::CreateAuto(gfx + "/cells.png", 10, 10, 0, 1, -1, 0);
    EXPECT_EQ(single->image->Frames(), 1);
    EXPECT_EQ(single->w, 20);
    auto strip = fw::TGameImage::CreateAuto(gfx + "/cells.png", 10, 10, 0, 2, -1, 0);
    EXPECT_EQ(strip->image->Frames(), 2);
    EXPECT_EQ(strip->w, 10);

    auto menu = fw::TGameImage::CreateFromImage(single->image, "Menu", 0);
    EXPECT_EQ(menu->name, "Menu") << "kept as given";
    images.Insert(menu->name, menu);
    EXPECT_EQ(ErrorOf([&] { images.Find("Menu"); }), "Image 'MENU' was Not found in the ImageBank");
}

TEST_F(Banks, SoundsLoadWithPitchAndVolume) {
    testlib::WriteBytes(dir / "snd/Boom.wav", testlib::MakeWav(std::vector<std::int16_t>(100, 1000)));
    sounds.Load("Boom", 1.5f, 0.25f, "", 0);
    sounds.Load("Boom.wav", 1.0f, 1.0f, "bang", plat::SOUND_LOOP);
    auto boom = sounds.Find("boom");
    EXPECT_EQ(boom->name, "BOOM");
    EXPECT_FLOAT_EQ(boom->pitch, 1.5f);
    EXPECT_FLOAT_EQ(boom->volume, 0.25f);
    ASSERT_TRUE(boom->sound);
    EXPECT_EQ(boom->sound->Frames(), 100);
    EXPECT_EQ(sounds.Find("BANG")->name, "BANG");
    EXPECT_EQ(sounds.Count(), 2);
}

}  // namespace
