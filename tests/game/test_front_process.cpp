// The built program itself, started as a separate process with its own
// temporary per-user folders: exit codes, the files of a run, a second copy,
// and a missing game font.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/io/fs.h"
#include "tests/game/test_front_fixture.h"
#include "tests/platform/test_io_tempdir.h"

extern char** environ;

namespace {

struct Outcome {
    int exitCode = -1000;
    std::string errors;  // the error output
};

// Runs `program` with the test's environment plus `extra` (NAME=value).
Outcome RunProgram(const std::string& program, const std::vector<std::string>& extra) {
    testutil::TempDir scratch;
    const std::string errPath = scratch / "stderr.txt";
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const std::string& v : extra) env.push_back(v);
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) return outcome;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    outcome.errors = testutil::Slurp(errPath);
    return outcome;
}

std::string Program() { return fronttest::ProgramFolder() + "/velmarok"; }

class FrontProcess : public ::testing::Test {
protected:
    testutil::TempDir data, runtime;
    std::vector<std::string> Env(int frames) const {
        return {"XDG_DATA_HOME=" + data.path(), "XDG_RUNTIME_DIR=" + runtime.path(),
                "VELMAROK_QUIT_AFTER_FRAMES=" + std::to_string(frames)};
    }
    std::string Shared() const { return data.path() + "/RavoTesk Games/VelmarokDozidu/"; }
};

TEST_F(FrontProcess, ARunEndsWithExitCodeZeroAndLeavesItsFiles) {
    const Outcome run = RunProgram(Program(), Env(3));
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    for (const char* file : {"velmarok.ini", "velmarok.dat", "Keys.ini", "GoodExit.dat"})
        EXPECT_TRUE(std::filesystem::exists(Shared() + file)) << file;
    // A second run finds them and starts the same way.
    EXPECT_EQ(RunProgram(Program(), Env(3)).exitCode, 0);
}

TEST_F(FrontProcess, ASecondCopyEndsAtOnceWithoutTouchingAnything) {
    testutil::ScopedEnv sameRuntime("XDG_RUNTIME_DIR", runtime.path().c_str());
    plat::SingleInstanceLock firstCopy;
    ASSERT_TRUE(firstCopy.Acquire("Velmmarok"));
    // Were it to start, it would make its folders and run these frames.
    const Outcome second = RunProgram(Program(), Env(30));
    EXPECT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_FALSE(std::filesystem::exists(Shared())) << "the second copy started up";
}

TEST_F(FrontProcess, AMissingBitmapFontStopsWithErrorFont) {
    // The program in a folder of its own whose data lacks the font picture.
    testutil::TempDir folder;
    std::filesystem::copy_file(Program(), folder / "velmarok");
    std::filesystem::permissions(folder / "velmarok", std::filesystem::perms::owner_all);
    const std::filesystem::path sourceData = fronttest::ProgramFolder() + "/Data";
    for (const auto& entry : std::filesystem::directory_iterator(sourceData)) {
        const auto target = std::filesystem::path(folder / "Data") / entry.path().filename();
        std::filesystem::create_directories(target.parent_path());
        if (entry.path().filename() != "Graphics") {
            std::filesystem::create_symlink(entry.path(), target);
            continue;
        }
        std::filesystem::create_directories(target);
        for (const auto& picture : std::filesystem::directory_iterator(entry.path()))
            if (picture.path().filename() != "8x8_VelmarokFont.png")
                std::filesystem::create_symlink(picture.path(), target / picture.path().filename());
    }
    const Outcome run = RunProgram(folder / "velmarok", Env(3));
    EXPECT_EQ(run.exitCode, 255) << run.errors;  // -1
    EXPECT_NE(run.errors.find("Error font"), std::string::npos) << run.errors;
}

}  // namespace
