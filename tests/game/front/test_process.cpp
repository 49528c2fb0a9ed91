// The built program itself, started as a separate process with its own
// temporary per-user folders: exit codes, the files of a run, a second copy,
// and a missing game font.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/highscore.h"
#include "framework/ini.h"
#include "platform/io/fs.h"
#include "tests/game/front/fixture.h"
#include "tests/platform/test_io_tempdir.h"

extern char** environ;

namespace {

struct Outcome {
    int exitCode = -1000;
    std::string errors;  // the error output
};

// How a program is started beyond its environment.
struct Launch {
    // Run as this user and group (an ordinary user, for the tests of files
    // it may not read: root reads every file).  -1: as the test runs.
    int uid = -1, gid = -1;
    // The largest file it may write (RLIMIT_FSIZE; writes past it fail with
    // "File too large", as on a full disk).  -1: no limit.
    long fileSizeLimit = -1;
};

// Starts `program` with the test's environment plus `extra` (NAME=value; a
// NAME alone leaves that variable out), its error output going to
// `errPath`; 0 when it cannot be started.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& extra, const std::string& errPath,
                   const Launch& how = {}) {
    // A variable of `extra` replaces the test's own of that name.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        const std::string name = var.substr(0, var.find('='));
        bool replaced = false;
        for (const std::string& v : extra) replaced = replaced || v.substr(0, v.find('=')) == name;
        if (!replaced) env.push_back(var);
    }
    for (const std::string& v : extra)
        if (v.find('=') != std::string::npos) env.push_back(v);
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);

    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    if (how.uid >= 0 || how.fileSizeLimit >= 0) {
        // Only what is safe between fork and exec happens in the child.
        const pid_t child = fork();
        if (child == 0) {
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (err < 0 || dup2(err, 2) < 0) _exit(126);
            if (how.fileSizeLimit >= 0) {
                signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
                const rlimit limit{static_cast<rlim_t>(how.fileSizeLimit), static_cast<rlim_t>(how.fileSizeLimit)};
                if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
            }
            if (how.uid >= 0 && (setgroups(0, nullptr) != 0 || setgid(static_cast<gid_t>(how.gid)) != 0 ||
                                 setuid(static_cast<uid_t>(how.uid)) != 0))
                _exit(126);
            execve(path.c_str(), argv, envp.data());
            _exit(127);
        }
        return child > 0 ? child : 0;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : 0;
}

// Runs `program` to its end (see StartProgram).
Outcome RunProgram(const std::string& program, const std::vector<std::string>& extra, const Launch& how = {}) {
    testutil::TempDir scratch;
    chmod(scratch.path().c_str(), 0777);  // the error output of another user's program
    const std::string errPath = scratch / "stderr.txt";
    Outcome outcome;
    const pid_t pid = StartProgram(program, extra, errPath, how);
    if (pid == 0) return outcome;
    // A start that blocks (on a FIFO, in a panel nobody answers) is a
    // failure, not a hung test.
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            ADD_FAILURE() << program << " did not end within 120 s";
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        usleep(10000);
    }
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

// A row of the score file: the name's bytes shifted down by 7, a 0 byte,
// then score and level as little-endian 32-bit Ints.
std::string ScoreRow(const std::string& name, int score, int level) {
    std::string row;
    for (unsigned char c : name) row += static_cast<char>(c - 7);
    row += '\0';
    for (int v : {score, level})
        for (int i = 0; i < 4; ++i) row += static_cast<char>((static_cast<unsigned>(v) >> (8 * i)) & 255);
    return row;
}

// The bytes of a literal, NULs inside it too.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// Text as UTF-16 (little-endian, with its byte-order mark), as some editors
// save it.
std::string Utf16(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (char c : text) out += std::string{c, '\0'};
    return out;
}

// The user a started program runs as when it must not read a file of mode
// 000: root reads every file, so under root (as CI runs) an ordinary user.
Launch OrdinaryUser() {
    Launch how;
    if (geteuid() != 0) return how;
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) return how;
    how.uid = static_cast<int>(nobody->pw_uid);
    how.gid = static_cast<int>(nobody->pw_gid);
    return how;
}

// Whether a user who is neither the owner nor in the group can start the
// program at `path`: every folder above it lets others through and the
// program lets them run it.
bool OthersCanRun(const std::string& path) {
    namespace fs = std::filesystem;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
    for (fs::path p = fs::absolute(path).parent_path(); !p.empty(); p = p.parent_path()) {
        if (stat(p.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
        if (p == p.root_path()) break;
    }
    return true;
}

// Every folder from `folder` down open to every user (for a program that
// runs as another user), every file readable and writable.
void OpenToEveryone(const std::string& folder) {
    namespace fs = std::filesystem;
    chmod(folder.c_str(), 0777);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        chmod(entry.path().c_str(), entry.is_directory() ? 0777 : 0666);
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
        // Repairs start from the template's values: a junk file does not
        // switch a windowed player to full screen.
        {"velmarok.ini", "\x01\x02junk\x03", "not a text file", "FULL SCREEN=0\r\n"},
        // Text that is not text: UTF-16, NUL bytes inside a value, only NULs.
        {"velmarok.ini", Utf16("FULL SCREEN=1\r\nSOUND VOLUME=5\r\n"), "not a text file", "SOUND VOLUME=100\r\n"},
        {"velmarok.ini", Bytes("SOUND VOLUME=5\0 0\r\n"), "not a text file", "SOUND VOLUME=100\r\n"},
        {"velmarok.ini", Bytes("MUSIC VOLUME=40\r\nFULL SCREEN=\0 1\r\n"), "not a text file",
         "MUSIC VOLUME=40\r\n"},
        {"velmarok.ini", std::string(64, '\0'), "not a text file", "SCREEN WIDTH=800\r\n"},
        {"Keys.ini", Utf16("FIRE=65\r\n"), "not a text file", "FIRE=162\r\n"},
        {"Keys.ini", Bytes("FIRE=65\0\r\n"), "not a text file", "FIRE=162\r\n"},
        // Numbers past the 32-bit range are named as written, not wrapped.
        {"Keys.ini", "GRENADES=4294967333\r\n", "GRENADES=4294967333", "GRENADES=164\r\n"},
        {"velmarok.ini", "FULL SCREEN=4294967296\r\n", "FULL SCREEN=4294967296", "FULL SCREEN=0\r\n"},
        {"velmarok.ini", "SOUND VOLUME=4294967346\r\n", "SOUND VOLUME=4294967346", "SOUND VOLUME=100\r\n"},
        // A score file of zeros, of text, of more rows than the table has.
        {"velmarok.dat", std::string(99, '\0'), "11 rows that are no name and score", ScoreRow("RAV", 10000, 8)},
        {"velmarok.dat", Utf16("High scores\r\n"), "a text file, not a table", ScoreRow("RAV", 10000, 8)},
        {"velmarok.dat",
         [] {
             std::string rows;
             for (int i = 0; i < 12; ++i) rows += ScoreRow("P" + std::to_string(i), 1000 * (i % 6) + i, 1);
             return rows;
         }(),
         // The best eight stay in the file's order: P6 and P7 are gone.
         "4 rows more than the table's 8", ScoreRow("P5", 5005, 1) + ScoreRow("P8", 2008, 1)},
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
        if (std::string(c.file) == "velmarok.dat") {
            // The table has eight rows, and the best are shown.
            auto table = plat::New<fw::THighScoreList>();
            table->Create(Shared() + "velmarok", 8);
            EXPECT_LE(table->Load(), 8);
            for (const auto& row : *table) EXPECT_FALSE(row->name.empty() && row->score == 0);
        }

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
        // Cut in half it still opens, but draws no text.
        {"Data/fonts/basic.ttf", DataHead("Data/fonts/basic.ttf", testutil::Slurp(fronttest::ProgramFolder() + "/Data/fonts/basic.ttf").size() / 2),
         false, "Error loading font Data/fonts/basic.ttf"},
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

TEST_F(FrontProcess, MusicThatCannotBePlayedIsToldAndTheGamePlaysOn) {
    struct Case {
        const char* what;
        std::string bytes;
        bool missing;
    };
    const std::string tune = testutil::Slurp(fronttest::ProgramFolder() + "/Data/Music/Nova.sid");
    ASSERT_GT(tune.size(), 0x80u);
    // A tune cut short after its header, by a byte up to all of its data.
    const std::vector<Case> cases = {
        {"missing", "", true},
        {"empty", "", false},
        {"cut short by a byte", tune.substr(0, tune.size() - 1), false},
        {"cut short by three bytes", tune.substr(0, tune.size() - 3), false},
        {"cut in half", tune.substr(0, tune.size() / 2), false},
        {"its header only", tune.substr(0, 0x7c), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testutil::TempDir folder;
        std::filesystem::remove_all(Shared());
        const Outcome run = RunProgram(ProgramWithData(folder, "Data/Music/Nova.sid", c.bytes, c.missing), Env(3));
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        const std::string message = "Error loading music Data/Music/Nova.sid: the game goes on without it";
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
        EXPECT_NE(testutil::Slurp(Shared() + "ErrorLog.txt").find(message), std::string::npos);
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

TEST_F(FrontProcess, APlayersFileThatCannotBeReadIsNeverReplacedAndHeIsTold) {
    const Launch user = OrdinaryUser();
    // Run as root, the program must run as another user for a file of mode
    // 000 to be unreadable; a checkout in a folder closed to others (such
    // as one made by mktemp -d) keeps that user from starting it.
    if (user.uid >= 0 && !OthersCanRun(Program()))
        GTEST_SKIP() << Program() << " lies in a folder closed to other users, so it cannot be run as one";
    struct Case {
        const char* file;
        const char* what;  // mode 000, a FIFO, a folder
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"velmarok.ini", "unreadable", "Permission denied"},
        {"Keys.ini", "unreadable", "Permission denied"},
        {"velmarok.dat", "unreadable", "Permission denied"},
        {"velmarok.ini", "fifo", "not a regular file"},
        {"Keys.ini", "fifo", "not a regular file"},
        {"velmarok.dat", "fifo", "not a regular file"},
        {"Keys.ini", "folder", "a folder, not a file"},
        {"velmarok.dat", "folder", "a folder, not a file"},
    };
    const std::string mine = std::string("FIRE=65\r\n") + ScoreRow("ACE", 99999, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.what);
        std::filesystem::remove_all(Shared());
        std::filesystem::create_directories(Shared());
        const std::string path = Shared() + c.file;
        const std::string what = c.what;
        if (what == "unreadable") {
            std::ofstream(path, std::ios::binary) << mine;
        } else if (what == "fifo") {
            ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
        } else {
            std::filesystem::create_directories(path);
        }
        OpenToEveryone(data.path());
        OpenToEveryone(runtime.path());
        if (what == "unreadable") chmod(path.c_str(), 0);

        for (int run = 0; run < 2; ++run) {
            // Started as usual: a FIFO must not hold the start up.
            const Outcome result = RunProgram(Program(), Env(3), user);
            EXPECT_EQ(result.exitCode, 0) << result.errors;
            const std::string message =
                path + " cannot be read (" + c.reason + "): the defaults are used and the file is left as it is";
            EXPECT_NE(result.errors.find(message), std::string::npos) << result.errors;
            EXPECT_NE(testutil::Slurp(Shared() + "ErrorLog.txt").find(message), std::string::npos);
            // Nothing of the player's is gone, and it stays what it was.
            struct stat st {};
            ASSERT_EQ(lstat(path.c_str(), &st), 0);
            if (what == "unreadable") {
                EXPECT_TRUE(S_ISREG(st.st_mode));
                EXPECT_EQ(st.st_mode & 07777, 0u);
                EXPECT_EQ(testutil::Slurp(path), mine);
            }
            if (what == "fifo") {
                EXPECT_TRUE(S_ISFIFO(st.st_mode));
            }
            if (what == "folder") {
                EXPECT_TRUE(S_ISDIR(st.st_mode));
            }
            EXPECT_FALSE(std::filesystem::exists(path + ".bad"));
        }
    }
}

TEST_F(FrontProcess, OddButGoodFilesAreReadAsTheyAreMeant) {
    // Line ends of a carriage return alone are line ends.
    std::filesystem::create_directories(Shared());
    { std::ofstream(Shared() + "velmarok.ini", std::ios::binary) << "FULL SCREEN=0\rMUSIC VOLUME=40\rSOUND VOLUME=7\r"; }
    Outcome run = RunProgram(Program(), Env(3));
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("was damaged"), std::string::npos) << run.errors;
    const std::string settings = testutil::Slurp(Shared() + "velmarok.ini");
    EXPECT_NE(settings.find("MUSIC VOLUME=40\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("SOUND VOLUME=7\r\n"), std::string::npos) << settings;

    // A settings file kept elsewhere behind a link stays behind its link;
    // what a save killed half-way left behind is cleaned up.
    testutil::TempDir elsewhere;
    const std::string real = elsewhere / "my.ini";
    std::filesystem::rename(Shared() + "velmarok.ini", real);
    { std::ofstream(real, std::ios::app) << "PARTICLES=33\r\n"; }
    std::filesystem::create_symlink(real, Shared() + "velmarok.ini");
    const std::string stale = Shared() + ".velmarok.dat.tmp999999999-0";
    { std::ofstream(stale) << "half a table"; }
    run = RunProgram(Program(), Env(3));
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::is_symlink(Shared() + "velmarok.ini"));
    EXPECT_NE(testutil::Slurp(real).find("PARTICLES=33\r\nPORTAL SPLASH=0"), std::string::npos) << testutil::Slurp(real);
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST_F(FrontProcess, AFirstRunMarksNoSettingsChanged) {
    // Nothing was changed, so a crash of this run must not bring back the
    // template with "Default ini file restored!" at the next start.
    const Outcome run = RunProgram(Program(), Env(3));
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(Shared() + "inichanged.dat"));
    EXPECT_EQ(fw::IniReadValue(Shared() + "velmarok.ini", "driver"), "1");
}

TEST_F(FrontProcess, AFullDiskStopsAStartOnlyWhenSomethingMustBeSavedAndSaysWhy) {
    // No file may grow past 300 bytes: the settings file (about 550) cannot
    // be written, the error output still can.
    Launch fullDisk;
    fullDisk.fileSizeLimit = 300;
    // On a machine whose sound cannot be opened too (the settings keep the
    // sound driver "None").
    for (const std::string sound : {"ALSOFT_DRIVERS=null", "ALSOFT_DRIVERS=no-such-driver"}) {
        SCOPED_TRACE(sound);
        std::filesystem::remove_all(Shared());
        std::vector<std::string> env = Env(3);
        env.push_back(sound);
        // A first start must write its files: it stops, naming the reason.
        Outcome run = RunProgram(Program(), env, fullDisk);
        EXPECT_EQ(run.exitCode, 255) << run.errors;
        EXPECT_NE(run.errors.find("Failed to save file " + Shared() + "velmarok.ini (File too large)"),
                  std::string::npos)
            << run.errors;
        // Once the files are there, nothing needs saving: the game starts.
        run = RunProgram(Program(), env);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        run = RunProgram(Program(), env, fullDisk);
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(fw::IniReadValue(Shared() + "velmarok.ini", "sound driver"),
                  sound == "ALSOFT_DRIVERS=null" ? "OpenAL Generic Software" : "None");
    }
}

TEST_F(FrontProcess, ASecondCopyEndsAtOnceWhateverRuntimeFolderEitherHas) {
    testutil::TempDir scratch;
    scratch.Put("a-file", "not a folder");
    const std::string usable = runtime.path(), missing = scratch / "missing", file = scratch / "a-file";
    struct Case {
        const char* what;
        std::string first, second;  // XDG_RUNTIME_DIR of each copy, "" unset
        bool noTemporaryFolder = false;  // TMPDIR missing for both
    };
    const std::vector<Case> cases = {
        {"both missing", missing, missing},
        {"both a file", file, file},
        {"the first with one, the second without", usable, ""},
        {"the first without one, the second with", "", usable},
        {"the first with one, the second's a file", usable, file},
        {"the first's missing, the second with one", missing, usable},
        {"with one and without, no temporary folder", usable, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(Shared());
        auto env = [&](int frames, const std::string& runtimeDir) {
            std::vector<std::string> e = Env(frames);
            e[1] = runtimeDir.empty() ? "XDG_RUNTIME_DIR" : "XDG_RUNTIME_DIR=" + runtimeDir;
            if (c.noTemporaryFolder) e.push_back("TMPDIR=" + missing);
            return e;
        };
        KillOnExit first{StartProgram(Program(), env(1000000, c.first), scratch / "first.txt")};
        ASSERT_NE(first.pid, 0);
        // The first copy is up once it has read its scores.
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(Shared() + "velmarok.dat"); }, 60))
            << testutil::Slurp(scratch / "first.txt");
        const Outcome second = RunProgram(Program(), env(3, c.second));
        EXPECT_EQ(second.exitCode, 0) << second.errors;
        EXPECT_EQ(second.errors.find("Default ini file restored!"), std::string::npos) << second.errors;
        // Had it run, it would have quit normally and left its marker.
        EXPECT_FALSE(std::filesystem::exists(Shared() + "GoodExit.dat")) << "the second copy ran";
        EXPECT_TRUE(Alive(first.pid));
    }
}

TEST_F(FrontProcess, TheErrorPanelEndsOnSigtermAsOnAKey) {
    // A sample that is missing stops the start with the panel in the window,
    // which waits for a key; a logout's SIGTERM ends it the same way.
    testutil::TempDir folder, scratch;
    const std::string program = ProgramWithData(folder, "Data/sound/ns.wav", "", true);
    KillOnExit game{StartProgram(program, Env(1000000), scratch / "stderr.txt")};
    ASSERT_NE(game.pid, 0);
    ASSERT_TRUE(WaitFor([&] { return testutil::Slurp(Shared() + "ErrorLog.txt").find("ns.wav") != std::string::npos; }, 60))
        << testutil::Slurp(scratch / "stderr.txt");
    usleep(200000);
    ASSERT_TRUE(Alive(game.pid)) << "the panel did not wait";
    kill(game.pid, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitFor([&] { return waitpid(game.pid, &status, WNOHANG) == game.pid; }, 30))
        << "the panel ignored SIGTERM";
    game.pid = 0;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 255) << status;
}

}  // namespace
