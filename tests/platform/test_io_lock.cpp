#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

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

TEST(SingleInstance, WithoutARuntimeFolderTheLockIsPerUserInTheTemporaryFolder) {
    ScopedEnv run("XDG_RUNTIME_DIR", nullptr);
    TempDir tmp;
    ScopedEnv temp("TMPDIR", tmp.path().c_str());
    const std::string name = "velmarok-test-" + std::to_string(getpid());
    SingleInstanceLock lock;
    EXPECT_TRUE(lock.Acquire(name));
    EXPECT_TRUE(std::filesystem::exists(tmp / (name + "-" + std::to_string(getuid()) + ".lock")));
}

namespace {

// Where a copy of the program looks for its lock: "" leaves a variable unset.
struct Places {
    std::string runtime, temp, data;
};

void UsePlaces(const Places& p) {
    for (const auto& [name, value] : {std::pair{"XDG_RUNTIME_DIR", p.runtime}, std::pair{"TMPDIR", p.temp},
                                      std::pair{"XDG_DATA_HOME", p.data}}) {
        if (value.empty()) unsetenv(name);
        else setenv(name, value.c_str(), 1);
    }
}

// Whether a copy started in another process with these places may run.
bool AnotherCopyMayRun(const Places& p) {
    pid_t pid = fork();
    if (pid == 0) {
        UsePlaces(p);
        SingleInstanceLock lock;
        _exit(lock.Acquire("Velmmarok") ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// Every copy takes every place that can hold a lock, so two copies started
// with different environments still meet in one of them.
TEST(SingleInstance, CopiesStartedWithDifferentEnvironmentsMeetInOnePlace) {
    TempDir root;
    for (const char* d : {"run1", "run2", "tmp1", "tmp2", "data1", "data2"}) root.MakeDir(d);
    const std::string run1 = root / "run1", run2 = root / "run2", tmp1 = root / "tmp1", tmp2 = root / "tmp2",
                      data1 = root / "data1", data2 = root / "data2", missing = root / "missing";
    root.Put("a-file", "not a folder");
    const std::string file = root / "a-file";
    struct Case {
        const char* what;
        Places first, second;
    };
    const Case cases[] = {
        {"a runtime folder, then none", {run1, tmp1, data1}, {"", tmp1, data1}},
        {"no runtime folder, then one", {"", tmp1, data1}, {run1, tmp1, data1}},
        {"a runtime folder, then a missing one", {run1, tmp1, data1}, {missing, tmp1, data1}},
        {"a runtime folder, then a file in its place", {run1, tmp1, data1}, {file, tmp1, data1}},
        {"they meet in the data folder alone", {run1, missing, data1}, {"", missing, data1}},
        {"they meet in the temporary folder alone", {run1, tmp1, data1}, {run2, tmp1, data2}},
        {"they meet in the runtime folder alone", {run1, tmp1, data1}, {run1, tmp2, data2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnv run("XDG_RUNTIME_DIR", nullptr), temp("TMPDIR", nullptr), data("XDG_DATA_HOME", nullptr);
        UsePlaces(c.first);
        SingleInstanceLock first;
        ASSERT_TRUE(first.Acquire("Velmmarok"));
        EXPECT_TRUE(first.Held());
        EXPECT_FALSE(AnotherCopyMayRun(c.second));
        EXPECT_FALSE(AnotherCopyMayRun(c.first));
        first.Release();
        // Every place given back.
        EXPECT_TRUE(AnotherCopyMayRun(c.second));
        EXPECT_TRUE(AnotherCopyMayRun(c.first));
    }

    // Places that name one file are one place; copies that share no place
    // both run.
    ScopedEnv run("XDG_RUNTIME_DIR", nullptr), temp("TMPDIR", nullptr), data("XDG_DATA_HOME", nullptr);
    UsePlaces({data1, data1, data1});
    SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire("Velmmarok"));
    EXPECT_TRUE(lock.Held());
    EXPECT_FALSE(AnotherCopyMayRun({"", tmp2, data1}));
    EXPECT_TRUE(AnotherCopyMayRun({run2, tmp2, data2}));
    lock.Release();

    // With no place that can hold a lock the program runs without one.
    UsePlaces({missing, missing, missing});
    SingleInstanceLock none;
    EXPECT_TRUE(none.Acquire("Velmmarok"));
    EXPECT_FALSE(none.Held());
}
