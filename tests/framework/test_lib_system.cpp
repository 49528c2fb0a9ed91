// System and window helpers: the version tables, the release name of a
// debug build, window centring, the mode query and the neutral answers of
// the desktop-only items.

#include <gtest/gtest.h>

#include "framework/system.h"
#include "platform/gfx/display.h"
#include "platform/io/fs.h"
#include "test_lib_util.h"

namespace {

TEST(System, DirectXVersionTable) {
    const std::pair<const char*, const char*> cases[] = {
        {"4.09.00.0904", "9.0c"}, {"4.09.0000.0904", "9.0c"}, {"4.09.00.0905", ""},
        {"4.06.02.0436", "6.0"},  {"4.02.0095", "1.0"},       {"4.07.00.0716", "7.0a"},
        {"4.08.01.0810", "8.1"},  {"", ""},
    };
    for (auto [text, version] : cases) EXPECT_EQ(fw::DirectXVersionFromText(text), version) << text;
    EXPECT_TRUE(fw::DirectXVersionOk(""));
    EXPECT_TRUE(fw::DirectXVersionOk("9.0c"));
    EXPECT_FALSE(fw::DirectXVersionOk("6.0"));
    EXPECT_FALSE(fw::DirectXVersionOk("1.0"));
    EXPECT_EQ(fw::DirectXVersion(), "");
    EXPECT_TRUE(fw::DirectXVersionOk());
}

TEST(System, WindowsVersionTable) {
    struct Case {
        int id, major, minor;
        const char* name;
    } cases[] = {
        {0, 3, 1, "Win32s"},       {2, 5, 0, "Windows 2000"}, {2, 5, 1, "Windows XP"},
        {2, 5, 2, "Windows XP"},   {2, 6, 0, "Windows Vista"}, {2, 6, 1, "Windows 7"},
        {2, 6, 2, "Windows NT"},   {1, 4, 0, "Windows 95"},   {1, 4, 10, "Windows 98"},
        {1, 4, 90, "Windows ME"},  {1, 4, 50, ""},            {3, 1, 1, ""},
    };
    for (const Case& c : cases) {
        fw::TOSVersionInfoEx info;
        info.dwPlatformId = c.id;
        info.dwVerMajor = c.major;
        info.dwVerMinor = c.minor;
        EXPECT_EQ(fw::WindowsVersionName(info), c.name) << c.id << " " << c.major << "." << c.minor;
    }
    EXPECT_FALSE(fw::WindowsVersionName().empty());

    // Records start zeroed apart from their size fields.
    const fw::TOSVersionInfoEx fresh;
    EXPECT_EQ(fresh.dwOSVersionInfoSize, 156);
    EXPECT_EQ(fresh.dwPlatformId, 0);
    EXPECT_EQ(fresh.dwVerMajor + fresh.dwVerMinor + fresh.dwBuildNumber, 0);
    EXPECT_EQ(fw::TWindowInfo().cbSize, 60);
    EXPECT_EQ(fw::TWindowInfo().dwWindowStatus, 0);
}

TEST(System, ReleaseExeName) {
    EXPECT_EQ(fw::ReleaseExeName("C:/x/game.debug.exe"), "C:/x/game.exe");
    EXPECT_EQ(fw::ReleaseExeName("C:/x/game.exe"), "C:/x/game.exe");
    EXPECT_EQ(fw::ReleaseExeName("/opt/velmarok/velmarok.debug"), "/opt/velmarok/velmarok");
    EXPECT_EQ(fw::ReleaseExeName("/opt/velmarok/velmarok"), "/opt/velmarok/velmarok");
    // Names too short to carry the suffix stay as they are.
    EXPECT_EQ(fw::ReleaseExeName(".debug"), ".debug");
    EXPECT_EQ(fw::ReleaseExeName("/x/.debug"), "/x/.debug");
    EXPECT_EQ(fw::ReleaseExeName("debug"), "debug");
    EXPECT_EQ(fw::ReleaseExeName(""), "");
    EXPECT_EQ(fw::ReleaseExeName(), fw::ReleaseExeName(plat::AppFile()));
}

TEST(System, CenteredWindowPosition) {
    int x = 0, y = 0;
    fw::CenteredWindowPosition(1280, 1024, 806, 625, x, y);
    EXPECT_EQ(x, 237);
    EXPECT_EQ(y, 200);
}

TEST(System, CenterWindowTakesEachHalfOnItsOwn) {
    // An odd window height on an even desktop: desktop / 2 - window / 2 is one
    // pixel lower than (desktop - window) / 2.
    ASSERT_TRUE(plat::Graphics(806, 625, 0));
    const int dw = plat::DesktopWidth(), dh = plat::DesktopHeight();
    ASSERT_GT(dw, 0);
    ASSERT_GT(dh, 0);
    fw::CenterWindow(plat::WindowHandle());
    int x = 0, y = 0, w = 0, h = 0;
    plat::GetWindowRect(x, y, w, h);
    int ex = 0, ey = 0;
    fw::CenteredWindowPosition(dw, dh, w, h, ex, ey);
    EXPECT_EQ(x, ex);
    EXPECT_EQ(y, ey);
    EXPECT_EQ(fw::WindowRect(plat::WindowHandle())->L, ex);
    plat::EndGraphics();
}

TEST(System, GraphicsModeExactExists) {
    plat::SetGraphicsModesForTests({{800, 600, 32, 60}, {1024, 768, 16, 75}});
    EXPECT_EQ(fw::GraphicsModeExactExists(800, 600, 32, 60), 1);
    EXPECT_EQ(fw::GraphicsModeExactExists(800, 600, 24, 60), 0) << "exact: no 24-for-32 answer";
    EXPECT_EQ(fw::GraphicsModeExactExists(1024, 768, 16, 60), 0);
    EXPECT_EQ(fw::GraphicsModeExactExists(1024, 768, 16, 75), 1);
    plat::ClearGraphicsModesForTests();
}

TEST(System, FoldersAndNeutralAnswers) {
    testlib::TempDir dir;
    EXPECT_EQ(fw::SpecialFolderPath(35), plat::UserDataFolder());
    EXPECT_EQ(fw::SpecialFolderPath(12345), "");
    EXPECT_EQ(fw::GrantFileAccess(dir.Dir()), 1);
    EXPECT_EQ(fw::GrantFileAccess(dir / "missing"), 0);
    EXPECT_TRUE(fw::FileExists(dir.Dir()));
    EXPECT_FALSE(fw::FileExists(dir / "missing"));
    int total = -1, free = -1;
    fw::GetVideoMemory(total, free);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(free, 0);
    auto mem = fw::MemoryStatus();
    EXPECT_EQ(mem->dwLength, 32);
    EXPECT_GT(mem->dwTotalPhys, 0);
    EXPECT_GE(mem->dwMemoryLoad, 0);
    EXPECT_LE(mem->dwMemoryLoad, 100);
    auto p = fw::CreatePoint();
    EXPECT_EQ(p->X, 0);
    p->Set(3, 4);
    EXPECT_EQ(p->Y, 4);
    // No window: the window queries answer with empty records.
    EXPECT_EQ(fw::IsWindowActive(0), 0);
    EXPECT_EQ(fw::WindowRect(0)->R, 0);
}

}  // namespace
