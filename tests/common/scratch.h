#pragma once
// Where the tests put the program and its per-user files, shared by every
// test folder:
// - the process-wide set-up of tests that run the game's own code in the
//   built program's folder (ProgramFolder, EnterProgramFolder);
// - ScratchRoot, a scratch world for one test: a fresh temporary folder
//   whose "home" is the per-user data folder, and a working folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/platform/test_io_tempdir.h"

namespace testutil {

// The folder of the built program and its Data (VELMAROK_BIN, set by the
// test runner); "" when unset.
inline std::string ProgramFolder() {
    const char* bin = std::getenv("VELMAROK_BIN");
    return bin ? bin : "";
}

// The temporary per-user folders of this process.
struct ProcessFolders {
    TempDir dataHome;
    TempDir runtime;
    bool entered = false;
};

inline ProcessFolders& Folders() {
    static ProcessFolders folders;
    return folders;
}

// Once per process: the per-user data and runtime folders point at
// temporary ones and the program's folder becomes the working folder (the
// game spells every data path relative to it).  Safe to call again.
inline void EnterProgramFolder() {
    ProcessFolders& f = Folders();
    if (f.entered) return;
    ASSERT_FALSE(ProgramFolder().empty()) << "VELMAROK_BIN is not set";
    setenv("XDG_DATA_HOME", f.dataHome.path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", f.runtime.path().c_str(), 1);
    std::filesystem::current_path(ProgramFolder());
    f.entered = true;
}

// A scratch world for one test: a fresh temporary root, "<root>/home" as the
// per-user data folder (XDG_DATA_HOME), and `work` as the working folder
// (by default a fresh "<root>/prog").  The old working folder comes back and
// the root goes, with everything in it, when the object does.
class ScratchRoot {
public:
    explicit ScratchRoot(const std::filesystem::path& work = {}) : old_(std::filesystem::current_path()) {
        const std::filesystem::path root = dir_.path();
        std::filesystem::create_directories(root / "home");
        ::setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);
        const std::filesystem::path cwd = work.empty() ? root / "prog" : work;
        std::filesystem::create_directories(cwd);
        std::filesystem::current_path(cwd);
    }
    ~ScratchRoot() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    std::filesystem::path root() const { return dir_.path(); }

private:
    TempDir dir_;
    std::filesystem::path old_;
};

}  // namespace testutil
