// The demo program run as a process: its exit codes, the files it leaves
// and the repair of its settings after a crash.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/io/fs.h"
#include "platform/io/stream.h"

namespace {

namespace fs = std::filesystem;

struct DemoRun {
    int status = -1;  // exit status 0..255
    std::string out;
};

class DemoProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("fwshell-demo-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "home");
        fs::create_directories(root_ / "run");
        fs::create_directories(root_ / "prog");
    }
    void TearDown() override { fs::remove_all(root_); }

    DemoRun Demo(const std::string& script) {
        const fs::path out = root_ / "out.txt";
        const std::string cmd = "cd '" + (root_ / "prog").string() + "' && XDG_DATA_HOME='" +
                                (root_ / "home").string() + "' XDG_RUNTIME_DIR='" + (root_ / "run").string() +
                                "' VELMAROK_DEMO_SCRIPT='" + script + "' timeout 120 '" SHELL_DEMO_PATH
                                "' > '" + out.string() + "' 2> '" + (root_ / "err.txt").string() + "'";
        DemoRun r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        bool ok = false;
        r.out = plat::LoadText(out.string(), &ok);
        return r;
    }
    fs::path DataDir() const { return root_ / "home" / "RavoTesk Games" / "ShellDemo"; }

    fs::path root_;
};

TEST_F(DemoProcessTest, ScreensSwitchPauseFullScreenErrorPanelAndEscapeEndsWithZero) {
    // The demo starts in a window, so that Alt+Enter goes to full screen.
    fs::create_directories(DataDir());
    plat::SaveTextAtomic((DataDir() / "shell_demo.ini").string(), "FULL SCREEN=0\r\n");
    // The space waits for the 500 ms fade-in (which ignores it) with room for
    // a slow start.
    const DemoRun r = Demo("wait:1500,space,wait:1200,pause,wait:100,pause,altenter,wait:100,error,wait:100,escape");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("start A"), std::string::npos);
    EXPECT_NE(r.out.find("start B"), std::string::npos);
    EXPECT_NE(r.out.find("quit"), std::string::npos);
    EXPECT_TRUE(fs::exists(DataDir() / "GoodExit.dat"));
    EXPECT_TRUE(fs::exists(DataDir() / "shell_demo.ini"));
    // Alt+Enter switched the window to full screen (which the settings keep).
    bool ok = false;
    const std::string settings = plat::LoadText((DataDir() / "shell_demo.ini").string(), &ok);
    EXPECT_NE(settings.find("FULL SCREEN=1\r\n"), std::string::npos) << settings;
    // The error panel was logged.
    const std::string log = plat::LoadText((DataDir() / "ErrorLog.txt").string(), &ok);
    EXPECT_NE(log.find("The error panel, shown on demand."), std::string::npos);
}

TEST_F(DemoProcessTest, AFatalErrorAfterTheWindowOpenedEndsWithMinusOne) {
    const DemoRun r = Demo("wait:50,fatal");
    EXPECT_EQ(r.status, 255);
    bool ok = false;
    const std::string log = plat::LoadText((DataDir() / "ErrorLog.txt").string(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(log.rfind("Date: ", 0), 0u);
    EXPECT_NE(log.find("\r\nTime: "), std::string::npos);
    EXPECT_NE(log.find("A fatal error after the window opened"), std::string::npos);
}

TEST_F(DemoProcessTest, AFailureBeforeTheWindowOpensEndsWithMinusOne) {
    fs::remove_all(root_ / "home");
    plat::SaveTextAtomic((root_ / "home").string(), "a file where the data folder should be");
    const DemoRun r = Demo("wait:700,escape");
    EXPECT_EQ(r.status, 255);
    bool ok = false;
    EXPECT_NE(plat::LoadText((root_ / "err.txt").string(), &ok).find("Cannot create shared data folder"),
              std::string::npos);
}

TEST_F(DemoProcessTest, SettingsAreCreatedReloadedAndRepairedAfterACrash) {
    DemoRun r = Demo("wait:700,escape");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("particles=80"), std::string::npos);

    r = Demo("crash");
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(fs::exists(DataDir() / "inichanged.dat"));
    bool ok = false;
    EXPECT_NE(plat::LoadText((DataDir() / "shell_demo.ini").string(), &ok).find("PARTICLES=10\r\n"),
              std::string::npos);

    r = Demo("wait:700,escape");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("particles=80"), std::string::npos) << "the crashed run's change was undone";
    EXPECT_TRUE(fs::exists(DataDir() / "GoodExit.dat"));
    // A clean end after that: the next start keeps the settings as they are.
    r = Demo("wait:700,escape");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_FALSE(fs::exists(DataDir() / "inichanged.dat"));
}

TEST_F(DemoProcessTest, ASecondCopyEndsAtOnceWithZero) {
    ::setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
    plat::SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire("VelmarokShellDemo"));
    const DemoRun r = Demo("wait:700,escape");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("settings"), std::string::npos) << "it never started";
}

}  // namespace
