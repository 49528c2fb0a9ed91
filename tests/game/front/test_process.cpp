// The built program itself, started as a separate process with its own
// temporary per-user folders: exit codes, the files of a run, a second copy,
// and a missing game font.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/io/fs.h"
#include "tests/game/front/fixture.h"
#include "tests/platform/test_io_tempdir.h"

extern char** environ;

namespace {

struct Outcome {
    int exitCode = -1000;
    std::string errors;  // the error output
};

// Starts `program` with the test's environment plus `extra` (NAME=value),
// its error output going to `errPath`; 0 when it cannot be started.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& extra, const std::string& errPath) {
    // A variable of `extra` replaces the test's own of that name.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        const std::string name = var.substr(0, var.find('=') + 1);
        bool replaced = false;
        for (const std::string& v : extra) replaced = replaced || v.rfind(name, 0) == 0;
        if (!replaced) env.push_back(var);
    }
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
    const bool started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : 0;
}

// Runs `program` to its end (see StartProgram).
Outcome RunProgram(const std::string& program, const std::vector<std::string>& extra) {
    testutil::TempDir scratch;
    const std::string errPath = scratch / "stderr.txt";
    Outcome outcome;
    const pid_t pid = StartProgram(program, extra, errPath);
    if (pid == 0) return outcome;
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    outcome.errors = testutil::Slurp(errPath);
    // On a loaded machine the leak check at the program's exit now and then
    // crashes in its tracer, which changes the exit code: the program's own
    // result is then unknown.  ./run-tests runs such a test again when it
    // reads this line.
    if (outcome.errors.find("Tracer caught signal") != std::string::npos &&
        outcome.errors.find("LeakSanitizer has encountered a fatal error") != std::string::npos)
        ADD_FAILURE() << "A started program's exit-time leak check crashed (LeakSanitizer's tracer): "
                         "its result is unknown";
    return outcome;
}

std::string Program() { return fronttest::ProgramFolder() + "/velmarok"; }

// A folder holding a copy of the program and its data as links, except the
// data files given: each replaced by the bytes given, or left out when
// `missing`.  Returns the program's path.
std::string ProgramWithData(const testutil::TempDir& folder, const std::string& file, const std::string& bytes,
                            bool missing = false) {
    namespace fs = std::filesystem;
    fs::copy_file(Program(), folder / "velmarok");
    fs::permissions(folder / "velmarok", fs::perms::owner_all);
    const fs::path source = fronttest::ProgramFolder() + "/Data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (entry.is_directory()) continue;
        const std::string rel = "Data/" + fs::relative(entry.path(), source).string();
        const fs::path target = folder / rel;
        fs::create_directories(target.parent_path());
        if (rel != file) fs::create_symlink(entry.path(), target);
        else if (!missing) folder.Put(rel, bytes);
    }
    return folder / "velmarok";
}

// The first `n` bytes of a data file of the program.
std::string DataHead(const std::string& file, std::size_t n) {
    return testutil::Slurp(fronttest::ProgramFolder() + "/" + file).substr(0, n);
}

// A private X server for the cases that need a real message box.  It picks
// a free display number itself (-displayfd), so tests running side by side
// never meet; "" from Display() when Xvfb cannot be started.
class XServer {
public:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its display number once it takes connections.
        std::string number;
        char c = 0;
        while (pid_ != 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() {
        if (pid_ == 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

// The processes whose parent is `parent`.
std::vector<pid_t> ChildrenOf(pid_t parent) {
    std::vector<pid_t> children;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        // "pid (command) state ppid ...": the command may hold blanks.  A
        // process may end while it is read.
        std::string stat;
        try {
            stat = testutil::Slurp(entry.path().string() + "/stat");
        } catch (const std::exception&) {
            continue;
        }
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 1));
        std::string state;
        pid_t ppid = 0;
        if (rest >> state >> ppid && ppid == parent && state != "Z") children.push_back(std::stoi(name));
    }
    return children;
}

// Running (not ended, not a zombie waiting for its parent).
bool Alive(pid_t pid) {
    try {
        return kill(pid, 0) == 0 &&
               testutil::Slurp("/proc/" + std::to_string(pid) + "/stat").find(") Z") == std::string::npos;
    } catch (const std::exception&) {
        return false;
    }
}

// Kills a started program when the test leaves, whatever happened.
struct KillOnExit {
    pid_t pid;
    ~KillOnExit() {
        if (pid == 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
};

// Waits (polling an outside process, so in real time) until `done` holds or
// `seconds` have passed; returns `done()`.
template <typename F>
bool WaitFor(F done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        usleep(20000);
    }
}

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

TEST_F(FrontProcess, DamagedUserFilesAreRepairedWithAMessageAndKeptAside) {
    struct Case {
        const char* file;        // in the shared data folder
        std::string damaged;     // what it holds
        const char* named;       // what the message names
        std::string repairedHas; // a line or bytes the repaired file holds
    };
    std::string scores;  // a good row, then bytes that are no row
    for (unsigned char c : std::string("ACE")) scores += static_cast<char>(c - 7);
    scores += std::string("\0\x10\x27\0\0\x02\0\0\0", 9);
    scores += std::string("\x01\x02\0\x05\0\0\0\x01\0\0\0", 11) + "\x01\xFF\xFE";
    const std::vector<Case> cases = {
        {"velmarok.ini", "FULL SCREEN=7\r\n", "FULL SCREEN=7", "FULL SCREEN=0\r\n"},
        {"velmarok.ini", "FULL SCREEN=-1\r\n", "FULL SCREEN=-1", "FULL SCREEN=0\r\n"},
        {"velmarok.ini", "SCREEN WIDTH=100000\r\n", "SCREEN WIDTH=100000, SCREEN HEIGHT=600", "SCREEN WIDTH=800\r\n"},
        {"velmarok.ini", "SCREEN WIDTH=1\r\nSCREEN HEIGHT=1\r\n", "SCREEN WIDTH=1, SCREEN HEIGHT=1",
         "SCREEN HEIGHT=600\r\n"},
        {"velmarok.ini", std::string("\x89PNG\x01\x02\0\0junk", 12), "not a text file", "SCREEN WIDTH=800\r\n"},
        {"Keys.ini", "FIRE=fire\r\n", "FIRE=fire", "FIRE=162\r\n"},
        {"Keys.ini", "FIRE=0\r\n", "FIRE=0", "FIRE=162\r\n"},
        {"Keys.ini", "FIRE=3\r\nLEFT=3\r\nRIGHT=3\r\nUP=3\r\nDOWN=3\r\nGRENADES=3\r\n", "LEFT=3, RIGHT=3, UP=3, DOWN=3, FIRE=3, GRENADES=3", "LEFT=37\r\n"},
        {"velmarok.dat", scores, "1 row that is no name and score, cut or damaged after 2 rows",
         std::string("\x3a\x3c\x3e\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.named);
        std::filesystem::remove_all(Shared());
        std::filesystem::create_directories(Shared());
        const std::string path = Shared() + c.file;
        { std::ofstream(path, std::ios::binary) << c.damaged; }

        const Outcome run = RunProgram(Program(), Env(3));
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        const std::string message = path + " was damaged (" + c.named + ") and is repaired; the damaged file is kept as " +
                                    path + ".bad";
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
        EXPECT_NE(testutil::Slurp(Shared() + "ErrorLog.txt").find(message), std::string::npos);
        EXPECT_EQ(testutil::Slurp(path + ".bad"), c.damaged);
        EXPECT_NE(testutil::Slurp(path).find(c.repairedHas), std::string::npos) << testutil::Slurp(path);

        // The next start has nothing to say: the file is good again.
        const Outcome again = RunProgram(Program(), Env(3));
        EXPECT_EQ(again.exitCode, 0);
        EXPECT_EQ(again.errors.find("was damaged"), std::string::npos) << again.errors;
    }
}

TEST_F(FrontProcess, DamagedDataFilesEndTheProgramWithTheirErrorOnScreenAndInTheLog) {
    struct Case {
        const char* file;
        std::string bytes;
        bool missing;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"Data/fonts/basic.ttf", "", true, "Error loading font Data/fonts/basic.ttf"},
        {"Data/fonts/basic.ttf", DataHead("Data/fonts/basic.ttf", 300), false, "Error loading font Data/fonts/basic.ttf"},
        {"Data/Graphics/8x8_VelmarokFont.png", DataHead("Data/Graphics/8x8_VelmarokFont.png", 60), false, "Error font"},
        {"Data/Music/Nova.sid", DataHead("Data/Music/Nova.sid", 40), false, "SIDStream.Load(): "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + std::string(c.missing ? " missing" : " damaged"));
        testutil::TempDir folder;
        const Outcome run = RunProgram(ProgramWithData(folder, c.file, c.bytes, c.missing), Env(3));
        EXPECT_EQ(run.exitCode, 255) << run.errors;  // -1
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
        // What a player who started the game from a desktop reads: the log
        // (and, on a real display, the same text in a message box).
        const std::string log = testutil::Slurp(Shared() + "ErrorLog.txt");
        EXPECT_EQ(log.rfind("Date: ", 0), 0u) << log;
        EXPECT_NE(log.find(c.error), std::string::npos) << log;
        std::filesystem::remove(Shared() + "ErrorLog.txt");
    }
}

TEST_F(FrontProcess, AMessageBoxEndsWithAKilledGameAndNeverKeepsTheNextStartOut) {
    XServer x;
    if (x.Display().empty()) GTEST_SKIP() << "no Xvfb to show a message box on";
    struct Case {
        const char* what;
        bool restore;  // the settings-restored box before the window; else a fatal error's box
        int signal;
    };
    for (const Case& c : {Case{"restored settings, kill -9", true, SIGKILL},
                          Case{"restored settings, SIGTERM", true, SIGTERM},
                          Case{"fatal error, kill -9", false, SIGKILL}}) {
        SCOPED_TRACE(c.what);
        testutil::TempDir folder, scratch;
        std::string program = Program();
        std::filesystem::remove_all(Shared());
        std::filesystem::create_directories(Shared());
        if (c.restore) {
            // The last run ended abnormally after a setting had changed.
            std::ofstream(Shared() + "inichanged.dat").flush();
        } else {
            program = ProgramWithData(folder, "Data/Music/Nova.sid", DataHead("Data/Music/Nova.sid", 40));
        }
        std::vector<std::string> env = Env(1000000);
        env.push_back("DISPLAY=" + x.Display());
        env.push_back("SDL_VIDEODRIVER=x11");
        KillOnExit game{StartProgram(program, env, scratch / "stderr.txt")};
        ASSERT_NE(game.pid, 0);
        std::vector<pid_t> boxes;
        const bool shown = WaitFor([&] { return !(boxes = ChildrenOf(game.pid)).empty(); }, 60);
        EXPECT_TRUE(shown) << "no message box came up: " << testutil::Slurp(scratch / "stderr.txt");
        kill(game.pid, c.signal);
        ASSERT_TRUE(WaitFor([&] { return waitpid(game.pid, nullptr, WNOHANG) == game.pid; }, 30))
            << "the game did not end";
        game.pid = 0;

        for (pid_t box : boxes) {
            EXPECT_TRUE(WaitFor([&] { return !Alive(box); }, 30)) << "the box outlived the game";
            kill(box, SIGKILL);  // whatever happened, leave nothing behind
            waitpid(box, nullptr, WNOHANG);
        }
        // The next start may run.
        testutil::ScopedEnv sameRuntime("XDG_RUNTIME_DIR", runtime.path().c_str());
        plat::SingleInstanceLock next;
        EXPECT_TRUE(next.Acquire("Velmmarok"));
        EXPECT_TRUE(next.Held()) << "the lock is still held";
    }
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
