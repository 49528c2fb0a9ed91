// Keyboard tables (hits, holds, the character ring, codes out of range) and
// the polled mode.

#include <gtest/gtest.h>

#include <cmath>

#include "framework/game.h"
#include "framework/input.h"
#include "platform/core/clock.h"
#include "platform/io/stream.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"

namespace {

class KeyTables : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InputMode = 0;
        fw::FlushKeyTables();
    }
    void TearDown() override {
        fw::InputMode = 0;
        fw::FlushKeyTables();
    }
};

TEST_F(KeyTables, RepeatedPressesReadAsOneHit) {
    for (int i = 0; i < 3; ++i) fw::KeyTableDown(65);
    EXPECT_EQ(fw::KeyDownCode(65), 1);
    EXPECT_EQ(fw::AnyKeyHitPending(), 0) << "a count of 3 is not a single hit";
    EXPECT_EQ(fw::FirstSingleKeyHit(), -1);
    EXPECT_EQ(fw::KeyHitCode(65), 1);
    EXPECT_EQ(fw::KeyHitCode(65), 0);
    fw::KeyTableUp(65);
    EXPECT_EQ(fw::KeyDownCode(65), 0);
}

TEST_F(KeyTables, SingleHitsArePendingUntilRead) {
    fw::KeyTableDown(90);
    fw::KeyTableDown(40);
    EXPECT_EQ(fw::AnyKeyHitPending(), 1);
    EXPECT_EQ(fw::FirstSingleKeyHit(), 40);
    EXPECT_EQ(fw::FirstSingleKeyHit(), 40) << "looking does not consume";
    EXPECT_EQ(fw::AnyKeyHit(), 1);  // consumes the lowest, 40
    EXPECT_EQ(fw::FirstSingleKeyHit(), 90);
    EXPECT_EQ(fw::AnyKeyHit(), 1);
    EXPECT_EQ(fw::AnyKeyHit(), 0);
}

TEST_F(KeyTables, CodesOutsideTheTableAreIgnored) {
    for (int code : {-1, -1000, 256, 1000, 1 << 30}) {
        SCOPED_TRACE(code);
        fw::KeyTableDown(code);
        fw::KeyTableUp(code);
        EXPECT_EQ(fw::KeyHitCode(code), 0);
        EXPECT_EQ(fw::KeyDownCode(code), 0);
        fw::ClearKeyState(code);
    }
    EXPECT_EQ(fw::FirstSingleKeyHit(), -1);
    fw::InputMode = 1;
    EXPECT_EQ(fw::KeyHitCode(300), 0);
    EXPECT_EQ(fw::KeyDownCode(-5), 0);
}

TEST_F(KeyTables, ClearAndFlush) {
    fw::KeyTableDown(13);
    fw::KeyTableDown(27);
    fw::KeyTableChar('x');
    fw::ClearKeyState(13);
    EXPECT_EQ(fw::KeyDownCode(13), 0);
    EXPECT_EQ(fw::KeyHitCode(13), 0);
    EXPECT_EQ(fw::KeyDownCode(27), 1);
    fw::FlushKeyTables();
    EXPECT_EQ(fw::KeyHitCode(27), 0);
    EXPECT_EQ(fw::KeyDownCode(27), 0);
    EXPECT_EQ(fw::GetCharQueued(), 0);
}

TEST_F(KeyTables, ModifierKeys) {
    EXPECT_EQ(fw::ControlKeyDown(), 0);
    fw::KeyTableDown(163);
    EXPECT_EQ(fw::ControlKeyDown(), 1);
    EXPECT_EQ(fw::ShiftKeyDown(), 0);
    fw::KeyTableDown(160);
    EXPECT_EQ(fw::ShiftKeyDown(), 1);
}

TEST_F(KeyTables, CharacterRingKeepsTheFirst256) {
    for (int i = 0; i < 300; ++i) fw::KeyTableChar(1000 + i);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(fw::GetCharQueued(), 1000 + i);
    EXPECT_EQ(fw::GetCharQueued(), 0);
    // The ring keeps working across its end.
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 200; ++i) fw::KeyTableChar(i + 1);
        for (int i = 0; i < 200; ++i) ASSERT_EQ(fw::GetCharQueued(), i + 1);
    }
    EXPECT_EQ(fw::GetCharQueued(), 0);
}

TEST_F(KeyTables, PolledModeReadsThePlatformTables) {
    fw::UseFrameworkInput();
    EXPECT_EQ(fw::InputMode, 1);
    plat::SimulateKeyDown(70);
    EXPECT_EQ(fw::KeyDownCode(70), 1);
    EXPECT_EQ(fw::KeyHitCode(70), 1);
    EXPECT_EQ(fw::KeyHitCode(70), 0);
    plat::SimulateKeyUp(70);
    EXPECT_EQ(fw::KeyDownCode(70), 0);
    EXPECT_EQ(fw::KeyHitCounts[70], 0) << "the own tables are not touched";
    plat::SimulateMouseButton(2, true);
    EXPECT_EQ(fw::AnyMouseHit(), 1);
    EXPECT_EQ(fw::AnyMouseDown(), 1);
    plat::SimulateMouseButton(2, false);
    fw::FlushAllInput();
    EXPECT_EQ(fw::InputMode, 0);
    EXPECT_FALSE(plat::PollEvent()) << "pending events are discarded";
}

TEST_F(KeyTables, PointerWindowEventsByTheirNumbers) {
    // 1030 (the pointer left the window) shows the system pointer and sets
    // the flag; 1029 (it came back) hides it and clears the flag.
    plat::FlushEvent();
    plat::TEvent left;
    left.id = 1030;
    plat::PostEvent(left);
    fw::PollMouseWindowEvent();
    EXPECT_EQ(fw::MousePointerFlag, 1);
    plat::TEvent entered;
    entered.id = 1029;
    plat::PostEvent(entered);
    fw::PollMouseWindowEvent();
    EXPECT_EQ(fw::MousePointerFlag, 0);
}

TEST_F(KeyTables, WaitMillisOrInput) {
    plat::ManualClock clock(1000);
    EXPECT_EQ(fw::WaitMillisOrInput(50), 0);
    EXPECT_GE(clock.Now(), 1050);
    EXPECT_EQ(fw::InputMode, 0) << "the caller's mode comes back";
}

}  // namespace
