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
#include "tests/common/scratch.h"

namespace loadtest {

using testutil::EnterProgramFolder;
using testutil::ProgramFolder;

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
