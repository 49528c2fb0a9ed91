#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/io/fs.h"
#include "test_io_tempdir.h"

using namespace plat;
using testutil::ScopedEnv;
using testutil::TempDir;

namespace {

// Runs `body` in a child process and returns its exit code.
int InChild(bool (*body)()) {
    pid_t pid = fork();
    if (pid == 0) _exit(body() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool TakeLock() {
    SingleInstanceLock lock;
    return lock.Acquire("Velmmarok");
}

}  // namespace

TEST(SingleInstance, SecondProcessFailsAndTheLockGoesWithItsHolder) {
    TempDir tmp;
    ScopedEnv run("XDG_RUNTIME_DIR", tmp.path().c_str());

    SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire("Velmmarok"));
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(lock.Acquire("Velmmarok"));  // holding it already
    EXPECT_TRUE(std::filesystem::exists(tmp / "Velmmarok.lock"));
    EXPECT_EQ(InChild(TakeLock), 1);
    lock.Release();
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(InChild(TakeLock), 0);

    // A holder killed without any clean-up still frees the lock.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    if (holder == 0) {
        SingleInstanceLock mine;
        char ok = mine.Acquire("Velmmarok") ? 'y' : 'n';
        if (write(ready[1], &ok, 1) != 1) _exit(2);
        for (;;) pause();
    }
    char got = 0;
    ASSERT_EQ(read(ready[0], &got, 1), 1);
    EXPECT_EQ(got, 'y');
    SingleInstanceLock second;
    EXPECT_FALSE(second.Acquire("Velmmarok"));
    EXPECT_FALSE(second.Held());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(second.Acquire("Velmmarok"));
    EXPECT_TRUE(second.Held());
    close(ready[0]);
    close(ready[1]);
}

TEST(SingleInstance, WithoutARuntimeFolderTheLockIsPerUserInTmp) {
    ScopedEnv run("XDG_RUNTIME_DIR", nullptr);
    std::string name = "velmarok-test-" + std::to_string(getpid());
    std::string file = "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
    {
        SingleInstanceLock lock;
        EXPECT_TRUE(lock.Acquire(name));
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    std::filesystem::remove(file);
}
