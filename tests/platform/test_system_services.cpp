#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>


#include "platform/core/error.h"
#include "platform/sys/system.h"
#include "test_io_tempdir.h"

using namespace plat;
using testutil::ScopedEnv;

TEST(System, NotifyHeadlessCopiesToStderrWithoutWaiting) {
    // Neither the test video driver nor a missing display may open a box
    // that nobody can close: the calls return.
    for (const char* driver : {"offscreen", "dummy", static_cast<const char*>(nullptr)}) {
        ScopedEnv video("SDL_VIDEODRIVER", driver);
        ScopedEnv x11("DISPLAY", driver ? ":0" : nullptr);
        ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
        testing::internal::CaptureStderr();
        Notify("Default ini file restored!");
        Notify("caf\xE9", true);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "Default ini file restored!\ncaf\xC3\xA9\n");
    }
}

TEST(System, PrintWritesALine) {
    testing::internal::CaptureStdout();
    Print("Sorry, unsupported use FMP0.5 or FMP1.0 for now");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Sorry, unsupported use FMP0.5 or FMP1.0 for now\n");
}

TEST(System, NameAndMemory) {
    EXPECT_EQ(OSName().rfind("Linux ", 0), 0u) << OSName();
    EXPECT_GT(OSName().size(), 6u);
    MemoryStatus m = QueryMemory();
    EXPECT_GT(m.totalBytes, 16LL << 20);
    EXPECT_GT(m.availableBytes, 0);
    EXPECT_LE(m.availableBytes, m.totalBytes);
    EXPECT_GT(m.processResidentBytes, 0);
    EXPECT_LT(m.processResidentBytes, m.totalBytes);
}

TEST(System, PriorityChangesNicenessAndIgnoresRefusal) {
    // In a child: niceness sticks to the process.
    pid_t pid = fork();
    if (pid == 0) {
        SetProcessPriority(-2);  // lowering is always allowed
        if (getpriority(PRIO_PROCESS, 0) != 10) _exit(1);
        SetThreadPriority(-1);
        if (getpriority(PRIO_PROCESS, 0) != 5) _exit(2);
        // Raising needs a privilege most players lack: refused quietly then.
        SetProcessPriority(2);
        int nice = getpriority(PRIO_PROCESS, 0);
        if (geteuid() == 0 ? nice != -10 : nice != 5) _exit(3);
        SetProcessPriority(0);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

namespace {
int Fails() { throw RuntimeError("Error loading bitmap Data/Graphics/none.png"); }
int Returns3() { return 3; }
int ThrowsOther() { throw 42; }
}  // namespace

TEST(System, RunProgramTurnsErrorsIntoStderrAndMinusOne) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(Fails), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error loading bitmap Data/Graphics/none.png\n");
    EXPECT_EQ(RunProgram(Returns3), 3);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunProgram(ThrowsOther), -1);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST(System, EndExitsWithTheCode) {
    EXPECT_EXIT(End(0), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(End(-1), testing::ExitedWithCode(255), "");
}
