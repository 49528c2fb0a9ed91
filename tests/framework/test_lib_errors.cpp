// Error reporting: the system-box path before the window exists, the
// in-game panel (layout checked in the pixels and in the recorded calls),
// "ErrorLog.txt", and the exit code of a fatal report.

#include <gtest/gtest.h>

#include <regex>

#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/input.h"
#include "test_lib_util.h"

namespace {

using testlib::ReadAll;

std::uint32_t Rgb(const plat::Ref<plat::TPixmap>& p, int x, int y) { return p->Read(x, y) & 0xFFFFFFu; }

class ErrorPanel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fw::ScreenWidth = 800;
        fw::ScreenHeight = 600;
        ASSERT_TRUE(plat::Graphics(800, 600, 0));
    }
    static void TearDownTestSuite() { plat::EndGraphics(); }
    void SetUp() override {
        fw::ErrorReportMode = 1;
        fw::ErrorLogFolder = dir.Dir();
        fw::InputMode = 0;
        plat::SetVirtualResolution(320, 240);
        plat::SetClsColor(0, 0, 255);
        plat::Cls();
    }
    void TearDown() override {
        fw::SetMessageBoxFrameHook(nullptr);
        fw::ErrorReportMode = 0;
        fw::ErrorLogFolder.clear();
    }
    testlib::TempDir dir;
};

TEST_F(ErrorPanel, PanelLayoutInWindowPixels) {
    plat::Ref<plat::TPixmap> shot;
    int frames = 0;
    fw::SetMessageBoxFrameHook([&](int frame) {
        frames = frame + 1;
        if (frame == 1) {
            shot = plat::GrabBackBuffer();
            plat::SimulateKeyPress(plat::KEY_SPACE);
        }
    });
    fw::ReportError("Error loading bitmap Data/Graphics/missing.png", 0);
    ASSERT_TRUE(shot);
    EXPECT_EQ(frames, 2) << "the key that closes the panel is the one pressed";
    plat::SavePixmapPNG(shot, dir / "panel.png");
    if (const char* keep = std::getenv("FWLIB_KEEP_PANEL")) plat::SavePixmapPNG(shot, keep);
    ASSERT_EQ(shot->width, 800);
    ASSERT_EQ(shot->height, 600);
    const std::uint32_t blue = 0x0000FF, black = 0, body = 0x969696, frame = 0xDCDCC8;
    // Body 100..699 x 250..349 with its frame; shadow 104..703 x 254..353.
    EXPECT_EQ(Rgb(shot, 99, 300), blue);
    EXPECT_EQ(Rgb(shot, 100, 300), frame);
    EXPECT_EQ(Rgb(shot, 699, 300), frame);
    EXPECT_EQ(Rgb(shot, 400, 250), frame);
    EXPECT_EQ(Rgb(shot, 400, 349), frame);
    EXPECT_EQ(Rgb(shot, 110, 340), body);
    EXPECT_EQ(Rgb(shot, 400, 249), blue);
    EXPECT_EQ(Rgb(shot, 700, 300), black);
    EXPECT_EQ(Rgb(shot, 703, 353), black);
    EXPECT_EQ(Rgb(shot, 704, 353), blue);
    EXPECT_EQ(Rgb(shot, 703, 354), blue);
    EXPECT_EQ(Rgb(shot, 102, 352), blue);
    // The virtual resolution the game drew with is back.
    EXPECT_FLOAT_EQ(plat::VirtualResolutionWidth(), 320);
    EXPECT_EQ(fw::InputMode, 0);
}

TEST_F(ErrorPanel, TextLinesAndPrompt) {
    std::vector<plat::DrawRecord> texts;
    fw::SetMessageBoxFrameHook([&](int frame) {
        if (frame == 0) {
            for (const auto& r : plat::RecordedCalls())
                if (r.kind == plat::DrawRecord::TEXT) texts.push_back(r);
            plat::SimulateMouseButton(1, true);
            plat::SimulateMouseButton(1, false);
        }
    });
    plat::StartRecording();
    plat::ClearRecordedCalls();
    const std::string longWord(100, 'w');
    fw::ReportError("First line\r\nSecond line " + longWord, 0);
    plat::StopRecording();

    // Each line twice (shadow, then text), the long word on its own line.
    std::vector<std::string> shown;
    for (std::size_t i = 1; i < texts.size(); i += 2) shown.push_back(texts[i].text);
    EXPECT_EQ(shown, (std::vector<std::string>{"First line", "Second line", longWord, "<press any key>"}));
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_FLOAT_EQ(texts[1].y, 260);
    EXPECT_FLOAT_EQ(texts[3].y, 268);
    EXPECT_FLOAT_EQ(texts[0].y, 261);
    EXPECT_FLOAT_EQ(texts[0].x, 400 - 5 * 8 + 1);
    EXPECT_EQ(texts[1].r, 0);
    EXPECT_EQ(texts[1].g, 220);
    EXPECT_EQ(texts[1].b, 220);
    EXPECT_FLOAT_EQ(texts[7].y, 250 + 100 - 8 - 10);
    EXPECT_EQ(texts[7].g, 220);
    EXPECT_EQ(texts[7].b, 0);
}

TEST_F(ErrorPanel, MessageStaysReadableWhateverTheTextAlpha) {
    std::vector<plat::DrawRecord> texts;
    fw::SetMessageBoxFrameHook([&](int frame) {
        if (frame == 0) {
            for (const auto& r : plat::RecordedCalls())
                if (r.kind == plat::DrawRecord::TEXT) texts.push_back(r);
            plat::SimulateKeyPress(65);
        }
    });
    fw::TextAlpha = 0.0f;  // as a fading widget may leave it
    plat::StartRecording();
    plat::ClearRecordedCalls();
    fw::ReportError("Error loading file Data/x.txt", 0);
    plat::StopRecording();
    EXPECT_FLOAT_EQ(fw::TextAlpha, 0.0f) << "the caller's text alpha comes back";
    fw::TextAlpha = 1.0f;
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_FLOAT_EQ(texts[0].alpha, 0.5f) << "shadow";
    EXPECT_FLOAT_EQ(texts[1].alpha, 1.0f) << "message";
    EXPECT_FLOAT_EQ(texts[3].alpha, 1.0f) << "prompt";
}

TEST_F(ErrorPanel, ErrorLogHoldsDateTimeAndMessage) {
    fw::SetMessageBoxFrameHook([](int) { plat::SimulateKeyPress(plat::KEY_ENTER); });
    fw::ReportError("Failed to save file /x/y.ini", 0);
    const std::string log = ReadAll(dir / "ErrorLog.txt");
    EXPECT_TRUE(std::regex_match(
        log, std::regex("Date: \\d\\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4}\r\n"
                        "Time: \\d\\d:\\d\\d:\\d\\d\r\n"
                        "Failed to save file /x/y\\.ini\r\n")))
        << log;
    // The next report replaces the log.
    fw::ReportError("second", 0);
    EXPECT_NE(ReadAll(dir / "ErrorLog.txt").find("\r\nsecond\r\n"), std::string::npos);
    EXPECT_EQ(ReadAll(dir / "ErrorLog.txt").find("y.ini"), std::string::npos);
}

TEST_F(ErrorPanel, PolledModeOfTheCallerComesBack) {
    fw::UseFrameworkInput();
    fw::SetMessageBoxFrameHook([](int) { plat::SimulateKeyPress(65); });
    fw::ReportError("x", 0);
    EXPECT_EQ(fw::InputMode, 1);
    fw::FlushAllInput();
}

TEST_F(ErrorPanel, FatalReportEndsWithMinusOne) {
    // The child process runs this test again from the start, so the log
    // goes to a folder both know by name.
    const std::string logDir = (std::filesystem::current_path() / "fwlib-fatal-report").string() + "/";
    std::filesystem::remove_all(logDir);
    std::filesystem::create_directories(logDir);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            fw::ErrorLogFolder = logDir;
            fw::SetMessageBoxFrameHook([](int) { plat::SimulateKeyPress(65); });
            fw::ReportError("Error loading sample Data/sound/none.wav", 1);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_NE(ReadAll(logDir + "ErrorLog.txt").find("\r\nError loading sample Data/sound/none.wav\r\n"),
              std::string::npos);
    std::filesystem::remove_all(logDir);
}

TEST_F(ErrorPanel, PanelShownDirectlyStillHearsTheKey) {
    // A caller that did not switch to polled input still gets its panel closed.
    fw::InputMode = 0;
    fw::SetMessageBoxFrameHook([](int frame) {
        if (frame == 2) plat::SimulateKeyPress(65);
    });
    fw::ShowMessageBox("Profile limit reached", 400, 100);
    EXPECT_EQ(fw::InputMode, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "ErrorLog.txt")) << "only ReportError logs";
}

TEST(ErrorReport, BeforeTheWindowRaisesWithTheMessageAndLogsNothing) {
    testlib::TempDir dir;
    fw::ErrorLogFolder = dir.Dir();
    for (int mode : {0, 1}) {  // mode 1 without a window reports the same way
        fw::ErrorReportMode = mode;
        try {
            fw::ReportError("Cannot create shared data folder /x/", 1);
            FAIL();
        } catch (const plat::RuntimeError& e) {
            EXPECT_STREQ(e.what(), "Cannot create shared data folder /x/");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "ErrorLog.txt"));
    fw::ErrorLogFolder.clear();
    fw::ErrorReportMode = 0;
}

TEST(ErrorReport, ReportExceptionLogsWithTheStartupStage) {
    testlib::TempDir dir;
    fw::ErrorLogFolder = dir.Dir();
    fw::StartupStage = 4;
    fw::ReportException(std::make_exception_ptr(plat::RuntimeError("no font")));
    EXPECT_NE(ReadAll(dir / "ErrorLog.txt").find("\r\n(4) no font\r\n"), std::string::npos);
    fw::StartupStage = 0;
    fw::ReportException(std::make_exception_ptr(plat::RuntimeError("plain")));
    EXPECT_NE(ReadAll(dir / "ErrorLog.txt").find("\r\nplain\r\n"), std::string::npos);
    fw::ErrorLogFolder.clear();
}

}  // namespace
