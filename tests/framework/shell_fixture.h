#pragma once
// A shell in a scratch world: a temporary data home and working folder, a
// hand-driven clock, and a fresh Game for every test.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "platform/core/clock.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "platform/sys/events.h"
#include "tests/common/scratch.h"

namespace shelltest {

namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& p) {
    bool ok = false;
    std::string text = plat::LoadText(p.string(), &ok);
    return ok ? text : std::string();
}

inline void WriteAll(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    auto s = plat::WriteStream(p.string());
    ASSERT_TRUE(s) << p;
    plat::WriteString(s, text);
    plat::CloseStream(s);
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = std::make_unique<testutil::ScratchRoot>();
        root_ = scratch_->root();
        clock_ = std::make_unique<plat::ManualClock>(100000);
        fw::ScreenWidth = 800;
        fw::ScreenHeight = 600;
        fw::FlipSync = 1;
        fw::ErrorReportMode = 0;
        fw::FlushKeyTables();
        plat::FlushEvent();
        fw::Game = plat::New<fw::TGame>();
    }

    void TearDown() override {
        if (fw::Game) fw::Game->Kill();
        fw::Game = nullptr;
        plat::FlushEvent();
        fw::FlushKeyTables();
        clock_.reset();
        scratch_.reset();
    }

    // The game's start-up order up to the graphics.
    void StartShell(const std::string& sub = "Test Games/Shell") {
        fw::Game->SetSubPathWrapper(sub);
        fw::Game->CheckGoodExit();
        fw::Game->Init(0);
    }

    // Runs n logic ticks of Delta 1; returns the last result (stops at -1).
    int Ticks(int n) {
        int r = 1;
        for (int i = 0; i < n; ++i) {
            fw::Game->FixedRateLogic->SetDelta(1.0f);
            r = fw::Game->LogicWrapper();
            if (r == -1) break;
        }
        return r;
    }

    fs::path DataDir(const std::string& sub = "Test Games/Shell") const { return root_ / "home" / sub; }
    fs::path SettingsPath() const { return fs::path(fw::Game->SettingsFileName() + ".ini"); }

    std::unique_ptr<testutil::ScratchRoot> scratch_;
    fs::path root_;
    std::unique_ptr<plat::ManualClock> clock_;
};

}  // namespace shelltest
