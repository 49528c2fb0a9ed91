// The settings file and crash recovery with real files in a scratch data
// folder: defaults, loading, bounds, saving, the markers and every way the
// recovery can go.

#include <string>
#include <vector>

#include "framework/ini.h"
#include "platform/core/error.h"
#include "platform/core/text.h"
#include "platform/gfx/display.h"
#include "shell_fixture.h"
#include "test_lib_util.h"

namespace {

using shelltest::fs::exists;
using shelltest::ReadAll;
using shelltest::ShellTest;
using shelltest::WriteAll;
using testlib::FileSizeLimit;

std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::string DefaultFile(const std::string& soundDriver, const std::string& profile = "",
                        const std::string& driver = "0") {
    return Lines({"VERSION NO=0.1", "FULL SCREEN=1", "SCREEN WIDTH=800", "SCREEN HEIGHT=600", "SOUND=1",
                  "MUSIC=1", "SPEECH=1", "SOUND VOLUME=100", "MUSIC VOLUME=100", "SPEECH VOLUME=100",
                  "FADE=1", "PARTICLES=80", "PORTAL SPLASH=0", "PORTAL SPLASH2=0", "INTRO=0", "VSYNC=1",
                  "DRIVER=" + driver, "SOUND DRIVER=" + soundDriver, "FULL SCREEN PROCESS PRIORITY=0",
                  "FULL SCREEN THREAD PRIORITY=0", "WINDOWED PROCESS PRIORITY=0",
                  "WINDOWED THREAD PRIORITY=0", "PROFILE NAME=" + profile, "REGION=0", "SUB-REGION=0"});
}

class SettingsTest : public ShellTest {
protected:
    // A new run of the program: a fresh shell through the start-up steps.
    void NewRun() {
        fw::Game->Kill();
        fw::ScreenWidth = 800;
        fw::ScreenHeight = 600;
        fw::Game = plat::New<fw::TGame>();
        StartShell();
    }
    std::string Settings() { return ReadAll(SettingsPath()); }
    std::string driverName() { return fw::Game->SoundDriver; }
};

TEST_F(SettingsTest, FirstStartCreatesFoldersAndTheDefaultFile) {
    StartShell();
    EXPECT_TRUE(exists(DataDir()));
    EXPECT_TRUE(exists(DataDir() / "profiles"));
    EXPECT_EQ(fw::Game->ProfilePath, (DataDir() / "profiles").string() + "/");
    EXPECT_EQ(fw::Game->SubPath, DataDir().string() + "/");
    EXPECT_EQ(fw::ErrorLogFolder, fw::Game->SubPath);
    EXPECT_EQ(fw::Game->ImagePath, "Data/graphics/");
    EXPECT_EQ(fw::Game->SoundPath, "Data/sound/");
    EXPECT_EQ(SettingsPath().parent_path(), DataDir());
    EXPECT_EQ(SettingsPath().filename().string(), plat::StripDir(plat::AppFile()) + ".ini");
    // Not a Windows XP machine: the driver is forced, whatever was stored.
    EXPECT_EQ(driverName(), "OpenAL Generic Software");
    EXPECT_EQ(Settings(), DefaultFile(driverName()));
    EXPECT_FALSE(exists(DataDir() / "inichanged.dat"));
    EXPECT_TRUE(fw::Game->MusicChannel && fw::Game->SpeechChannel && fw::Game->EscapeChannel);
    EXPECT_EQ(fw::Game->FixedRateLogic->History.size(), 50u);
    EXPECT_EQ(fw::Game->FPS->Label, "FPS     ");
}

TEST_F(SettingsTest, LoadingTakesKnownKeysDropsTheRestAndBoundsValues) {
    WriteAll(DataDir() / (plat::StripDir(plat::AppFile()) + ".ini"),
             "full screen=0\nSCREEN WIDTH=1024\nSCREEN HEIGHT=768\r\nSound Volume=150\n"
             "MUSIC VOLUME=-5\nSPEECH VOLUME=$20\nPARTICLES=%101\nSOUND = 0\nFADE\n"
             "Other=5\nPROFILE NAME=Ann=Lee\nVSYNC=  0x\n");
    StartShell();
    EXPECT_EQ(fw::Game->FullScreen, 0);
    EXPECT_EQ(fw::ScreenWidth, 1024);
    EXPECT_EQ(fw::ScreenHeight, 768);
    EXPECT_EQ(fw::Game->SoundVolume, 100) << "clamped";
    EXPECT_EQ(fw::Game->MusicVolume, 0) << "clamped";
    EXPECT_EQ(fw::Game->SpeechVolume, 32) << "hexadecimal";
    EXPECT_EQ(fw::Game->Particles, 5) << "binary";
    EXPECT_EQ(fw::Game->Sound, 1) << "a blank before '=' is part of the key";
    EXPECT_EQ(fw::Game->Fade, 0) << "a line without '=' sets the empty value";
    EXPECT_EQ(fw::Game->ProfileName, "Ann=Lee");
    EXPECT_EQ(fw::Game->VSync, 0);
    const std::string saved = Settings();
    EXPECT_EQ(saved.find("OTHER"), std::string::npos);
    EXPECT_NE(saved.find("SCREEN WIDTH=1024\r\n"), std::string::npos);
    EXPECT_NE(saved.find("PROFILE NAME=Ann=Lee\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AScreenOfNoSizeFallsBackTo800x600) {
    struct Case {
        const char* width;
        const char* height;
    };
    for (const Case& c : {Case{"abc", "600"}, Case{"1024", "0"}, Case{"-640", "-480"}}) {
        SCOPED_TRACE(std::string(c.width) + "x" + c.height);
        WriteAll(DataDir() / (plat::StripDir(plat::AppFile()) + ".ini"),
                 std::string("SCREEN WIDTH=") + c.width + "\nSCREEN HEIGHT=" + c.height + "\n");
        NewRun();
        EXPECT_EQ(fw::ScreenWidth, 800);
        EXPECT_EQ(fw::ScreenHeight, 600);
    }
}

TEST_F(SettingsTest, TheTemplateSuppliesAFirstStartsValues) {
    WriteAll("data/Default.ini", "SCREEN WIDTH=1024\nSCREEN HEIGHT=768\nMUSIC=0\n");
    StartShell();
    EXPECT_EQ(fw::ScreenWidth, 1024);
    EXPECT_EQ(fw::Game->Music, 0);
    // The file written back holds all 25 keys.
    EXPECT_NE(Settings().find("SUB-REGION=0\r\n"), std::string::npos);
    EXPECT_NE(Settings().find("MUSIC=0\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ChangesMarkTheFileAndAGoodExitClearsTheMark) {
    StartShell();
    fw::Game->ParticlesSet(150, 1);
    EXPECT_EQ(fw::Game->Particles, 100);
    EXPECT_NE(Settings().find("PARTICLES=100\r\n"), std::string::npos);
    EXPECT_TRUE(exists(DataDir() / "inichanged.dat"));
    fw::Game->ParticlesChange(-130);
    EXPECT_EQ(fw::Game->Particles, 0);
    fw::TGame::MakeGoodExit();
    EXPECT_TRUE(exists(DataDir() / "GoodExit.dat"));

    // Two normal runs in a row keep the changed settings.
    NewRun();
    EXPECT_EQ(fw::Game->Particles, 0);
    EXPECT_FALSE(exists(DataDir() / "GoodExit.dat"));
    EXPECT_FALSE(exists(DataDir() / "inichanged.dat"));
    fw::TGame::MakeGoodExit();
    NewRun();
    EXPECT_EQ(fw::Game->Particles, 0);
}

TEST_F(SettingsTest, ACrashAfterAChangeRestoresTheTemplateKeepingTheProfileName) {
    WriteAll("data/Default.ini", "FULL SCREEN=0\nProfile Name=template\nSCREEN WIDTH=640\n");
    const std::string templ = ReadAll("data/Default.ini");
    StartShell();
    fw::Game->ProfileName = "Zoe";
    fw::Game->ParticlesSet(20, 1);
    // The run ends without a good exit; the next one restores.
    NewRun();
    EXPECT_EQ(fw::Game->ProfileName, "Zoe");
    EXPECT_EQ(fw::Game->Particles, 80);
    EXPECT_EQ(fw::Game->FullScreen, 0);
    EXPECT_EQ(fw::ScreenWidth, 640);
    EXPECT_FALSE(exists(DataDir() / "inichanged.dat"));
    EXPECT_EQ(ReadAll("data/Default.ini"), templ) << "the template is only read";
}

TEST_F(SettingsTest, RecoveryWritesTheTemplateLinesWithTheKeptName) {
    StartShell();
    fw::Game->ProfileName = "Zoe";
    fw::Game->IniUpdate(1);
    WriteAll("data/Default.ini", "Full Screen=0\nprofile name=x\nExtra=1\n");
    fw::Game = plat::New<fw::TGame>();
    fw::Game->SetSubPathWrapper("Test Games/Shell");
    fw::Game->CheckGoodExit();
    EXPECT_EQ(Settings(), Lines({"Full Screen=0", "PROFILE NAME=Zoe", "Extra=1"}));
    EXPECT_FALSE(exists(DataDir() / "inichanged.dat"));
}

TEST_F(SettingsTest, RecoveryWithoutATemplateWritesTheDefaults) {
    StartShell();
    fw::Game->ProfileName = "Zoe";
    fw::Game->VSync = 0;
    fw::Game->IniUpdate(1);
    fw::Game = plat::New<fw::TGame>();
    fw::Game->SetSubPathWrapper("Test Games/Shell");
    fw::Game->CheckGoodExit();
    EXPECT_EQ(Settings(), DefaultFile("FreeAudio", "Zoe"));
    NewRun();
    EXPECT_EQ(fw::Game->VSync, 1);
    EXPECT_EQ(fw::Game->ProfileName, "Zoe");
}

TEST_F(SettingsTest, RecoveryFromAReadOnlyTemplate) {
    WriteAll("data/Default.ini", "MUSIC=0\n");
    shelltest::fs::permissions("data/Default.ini", shelltest::fs::perms::owner_read);
    StartShell();
    fw::Game->IniUpdate(1);
    NewRun();
    EXPECT_EQ(fw::Game->Music, 0);
}

TEST_F(SettingsTest, AFailingRecoveryKeepsTheOldFile) {
    StartShell();
    fw::Game->Particles = 33;
    fw::Game->IniUpdate(1);
    const std::string before = Settings();
    fw::Game = plat::New<fw::TGame>();
    fw::Game->SetSubPathWrapper("Test Games/Shell");
    {
        FileSizeLimit limit(16);
        fw::Game->CheckGoodExit();
    }
    EXPECT_EQ(Settings(), before) << "the good copy survives a failed write";
    EXPECT_FALSE(exists(DataDir() / "inichanged.dat")) << "the marker is always removed";
    for (const auto& entry : shelltest::fs::directory_iterator(DataDir()))
        EXPECT_TRUE(entry.path().filename() == SettingsPath().filename() || entry.is_directory())
            << "left behind: " << entry.path();
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeSavedStopsTheStartWithItsMessage) {
    fw::Game->SetSubPathWrapper("Test Games/Shell");
    FileSizeLimit limit(16);
    try {
        fw::Game->Init(0);
        FAIL() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to save file " + SettingsPath().string() + " (File too large)");
    }
}

TEST_F(SettingsTest, ASharedFolderThatCannotBeMadeStopsTheStart) {
    WriteAll(root_ / "blocked", "not a folder");
    ::setenv("XDG_DATA_HOME", (root_ / "blocked").c_str(), 1);
    fw::Game->SetSubPathWrapper("Test Games/Shell");
    try {
        fw::Game->Init(0);
        FAIL() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create shared data folder " + fw::Game->SubPath);
    }
}

TEST_F(SettingsTest, WithoutTheSharedFolderEverythingLivesBesideTheProgram) {
    fw::Game->UseCorrectPath = 0;
    fw::Game->SetSubPathWrapper("Ignored");
    shelltest::fs::create_directories("data");
    EXPECT_EQ(fw::Game->SubPath, "Ignored/");
    EXPECT_EQ(fw::Game->ProfilePath, "Data/profiles/");
    EXPECT_EQ(fw::Game->SettingsFileName(), plat::StripDir(plat::AppFile()));
    fw::TGame::MakeGoodExit();
    EXPECT_TRUE(exists("data/GoodExit.dat"));
}

TEST_F(SettingsTest, ProfileFolderHelpers) {
    StartShell();
    const auto dir = DataDir() / "profiles";
    EXPECT_EQ(fw::Game->ProfileFolderInUse(), 0);
    WriteAll(dir / ".dat", "");
    WriteAll(dir / "notes.txt", "");
    EXPECT_EQ(fw::Game->ProfileFolderInUse(), 0);
    WriteAll(dir / "ann.dat", "x");
    EXPECT_EQ(fw::Game->ProfileFolderInUse(), 1);
    fw::Game->DeleteAllProfiles();
    EXPECT_FALSE(exists(dir / "ann.dat"));
    EXPECT_TRUE(exists(dir / "notes.txt"));
}

TEST_F(SettingsTest, ASoundDriverThePlatformRejectsIsSavedAsNone) {
    StartShell();
    fw::Game->ChangeSoundDriver("DirectSound", 1);
    EXPECT_EQ(fw::Game->SoundDriver, "None");
    EXPECT_EQ(fw::IniReadValue(SettingsPath().string(), "sound driver"), "None");
    EXPECT_TRUE(exists(DataDir() / "inichanged.dat"));
}

TEST_F(SettingsTest, ValuesThatWouldLockThePlayerOutAreRepairedWithTheDamagedCopyKept) {
    struct Case {
        const char* file;
        int fullScreen, width, height;
        const char* named;  // in the message
    };
    const std::vector<Case> cases = {
        {"FULL SCREEN=7\n", 0, 800, 600, "FULL SCREEN=7"},
        {"FULL SCREEN=-1\nSCREEN WIDTH=1024\nSCREEN HEIGHT=768\n", 0, 1024, 768, "FULL SCREEN=-1"},
        {"SCREEN WIDTH=1\nSCREEN HEIGHT=1\n", 1, 800, 600, "SCREEN WIDTH=1, SCREEN HEIGHT=1"},
        {"SCREEN WIDTH=640\nSCREEN HEIGHT=480\n", 1, 800, 600, "SCREEN WIDTH=640"},  // not offered
        {"MUSIC VOLUME=900\n", 1, 800, 600, "MUSIC VOLUME=900"},
        {"\x01\x7f\xff junk =\x02", 1, 800, 600, "not a text file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string damaged = c.file;
        WriteAll(DataDir() / (plat::StripDir(plat::AppFile()) + ".ini"), damaged);
        shelltest::fs::remove(DataDir() / "ErrorLog.txt");
        fw::Game->Kill();
        fw::Game = plat::New<fw::TGame>();
        fw::Game->ScreenSizes = {{800, 600}, {1024, 768}};
        StartShell();
        EXPECT_EQ(fw::Game->FullScreen, c.fullScreen);
        EXPECT_EQ(fw::ScreenWidth, c.width);
        EXPECT_EQ(fw::ScreenHeight, c.height);
        // The repaired values are what the file holds now; the damaged copy
        // is kept beside it, and the log says what happened.
        EXPECT_EQ(fw::IniReadValue(SettingsPath().string(), "full screen"), std::to_string(c.fullScreen));
        EXPECT_EQ(fw::IniReadValue(SettingsPath().string(), "screen width"), std::to_string(c.width));
        EXPECT_EQ(ReadAll(SettingsPath().string() + ".bad"), damaged);
        const std::string log = ReadAll(DataDir() / "ErrorLog.txt");
        EXPECT_NE(log.find(SettingsPath().string() + " was damaged ("), std::string::npos) << log;
        EXPECT_NE(log.find(c.named), std::string::npos) << log;
        EXPECT_NE(log.find("the damaged file is kept as " + SettingsPath().string() + ".bad"), std::string::npos);

        // The next start finds nothing to repair.
        shelltest::fs::remove(DataDir() / "ErrorLog.txt");
        NewRun();
        EXPECT_FALSE(exists(DataDir() / "ErrorLog.txt"));
        EXPECT_EQ(ReadAll(SettingsPath().string() + ".bad"), damaged);
    }
}

TEST_F(SettingsTest, ASizeLargerThanTheDesktopIsRepairedWhenTheGraphicsOpen) {
    WriteAll(DataDir() / (plat::StripDir(plat::AppFile()) + ".ini"), "FULL SCREEN=0\nSCREEN WIDTH=100000\nSCREEN HEIGHT=600\n");
    StartShell();
    fw::Game->GraphicsCreate();
    EXPECT_EQ(fw::ScreenWidth, 800);
    EXPECT_EQ(plat::GraphicsWidth(), 800);
    EXPECT_EQ(fw::IniReadValue(SettingsPath().string(), "screen width"), "800");
    // The desktop is measured after the start-up wrote the file back: the
    // copy is that file, with the size that did not fit.
    EXPECT_NE(ReadAll(SettingsPath().string() + ".bad").find("SCREEN WIDTH=100000\r\n"), std::string::npos);
    EXPECT_NE(ReadAll(DataDir() / "ErrorLog.txt").find("(SCREEN WIDTH=100000, SCREEN HEIGHT=600)"), std::string::npos);
    plat::EndGraphics();
}

TEST_F(SettingsTest, AWindowThatCannotBeOpenedRestoresTheDefaultsForTheNextStart) {
    WriteAll(DataDir() / (plat::StripDir(plat::AppFile()) + ".ini"),
             "FULL SCREEN=0\nSCREEN WIDTH=1024\nSCREEN HEIGHT=768\nPROFILE NAME=Zoe\n");
    StartShell();
    ASSERT_EQ(fw::ScreenWidth, 1024);
    plat::RefuseGraphicsForTests(false, true);
    try {
        fw::Game->GraphicsCreate();
        ADD_FAILURE() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create Windowed Mode at 1024x768 60Hz");
    }
    plat::RefuseGraphicsForTests(false, false);
    EXPECT_EQ(Settings(), DefaultFile("FreeAudio", "Zoe")) << "the defaults, the profile name kept";

    // The second start opens its window.
    NewRun();
    EXPECT_EQ(fw::ScreenWidth, 800);
    fw::Game->GraphicsCreate();
    EXPECT_TRUE(plat::GraphicsOpen());
    plat::EndGraphics();
}

}  // namespace
