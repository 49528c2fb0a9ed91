#pragma once
// The built data read through the game's own loaders: the program's folder
// is the working folder (the game spells every path relative to it), the
// per-user folders are temporary ones, and pictures load with the settings
// the game makes at start (mask colour 255,0,255; automatic flags masked).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/front/main_program.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "tests/platform/test_io_tempdir.h"

namespace loadtest {

inline std::string ProgramFolder() {
    const char* bin = std::getenv("VELMAROK_BIN");
    return bin ? bin : "";
}

struct Process {
    testutil::TempDir dataHome;
    testutil::TempDir runtime;
    bool ready = false;
};

inline Process& State() {
    static Process process;
    return process;
}

// Once per process: temporary per-user folders, the program's folder current.
inline void EnterProgramFolder() {
    Process& p = State();
    if (p.ready) return;
    ASSERT_FALSE(ProgramFolder().empty()) << "VELMAROK_BIN is not set";
    setenv("XDG_DATA_HOME", p.dataHome.path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", p.runtime.path().c_str(), 1);
    std::filesystem::current_path(ProgramFolder());
    p.ready = true;
}

// The picture settings of the game's start (and the default handles, in
// case a test changed them).
inline void GamePictureSettings() {
    game::UsePictureRules();
    plat::AutoMidHandle(false);
}

class InProgramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        EnterProgramFolder();
        GamePictureSettings();
    }
};

constexpr std::uint32_t kMaskRgb = 0xFF00FFu;

inline std::uint32_t Alpha(std::uint32_t argb) { return argb >> 24; }
inline std::uint32_t Rgb(std::uint32_t argb) { return argb & 0xFFFFFFu; }

// Pixels of a frame that will show when drawn (alpha above zero).
inline int Visible(const plat::TPixmap& p) {
    int n = 0;
    for (std::uint32_t px : p.pixels) n += Alpha(px) != 0;
    return n;
}

}  // namespace loadtest
