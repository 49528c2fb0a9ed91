// Keys through the window system's own queue: virtual-key codes, repeats,
// characters; joysticks through SDL's virtual devices; the mouse mapping.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/display.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"

using namespace plat;

namespace {

// The events one system key press produces.
std::vector<TEvent> Press(const std::string& scancode, const std::string& key,
                          bool repeat = false) {
    FlushEvent();
    EXPECT_TRUE(SimulateSystemKey(scancode, key, true, repeat)) << scancode;
    std::vector<TEvent> out;
    while (PollEvent()) out.push_back(CurrentEvent());
    SimulateSystemKey(scancode, key, false);
    FlushEvent();
    return out;
}

int KeyDownCode(const std::vector<TEvent>& events) {
    for (const auto& e : events)
        if (e.id == EVENT_KEYDOWN) return e.data;
    return -1;
}

}  // namespace

TEST(InputKeys, SystemKeysMapToWindowsVirtualKeys) {
    struct Case {
        const char* scancode;
        const char* key;  // "" = the key's usual meaning
        int vk;
    } cases[] = {
        {"Return", "", 13},        {"Escape", "", 27},         {"Backspace", "", 8},
        {"Tab", "", 9},            {"Space", "", 32},          {"Left", "", 37},
        {"Up", "", 38},            {"Right", "", 39},          {"Down", "", 40},
        {"Insert", "", 45},        {"Delete", "", 46},         {"PageUp", "", 33},
        {"Home", "", 36},          {"F1", "", 112},            {"F5", "", 116},
        {"F12", "", 123},          {"Left Shift", "", 160},    {"Right Shift", "", 161},
        {"Left Ctrl", "", 162},    {"Right Ctrl", "", 163},    {"Left Alt", "", 164},
        {"Right Alt", "", 165},    {"Keypad 0", "", 96},       {"Keypad 5", "", 101},
        {"Keypad 9", "", 105},     {"Keypad *", "", 106},      {"Keypad +", "", 107},
        {"Keypad -", "", 109},     {"Keypad .", "", 110},      {"Keypad /", "", 111},
        {"Keypad Enter", "", 13},  {"A", "", 65},              {"Z", "", 90},
        {"0", "", 48},             {"7", "", 55},              {"=", "", 187},
        {",", "", 188},            {"-", "", 189},             {".", "", 190},
        {"/", "", 191},            {";", "", 186},             {"[", "", 219},
        // Letters follow the layout: the key where Q is on a US board
        // typing 'a' (as on a French board) is A.
        {"Q", "A", 65},            {"W", "Z", 90},
        // The same place typing a non-Latin letter falls back to the place.
        {"S", "\xD1\x8B", 83},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scancode);
        EXPECT_EQ(KeyDownCode(Press(c.scancode, c.key)), c.vk);
    }
}

TEST(InputKeys, AutoRepeatAddsKeyDownsAndHits) {
    FlushEvent();
    ASSERT_TRUE(SimulateSystemKey("Left", "", true));
    ASSERT_TRUE(SimulateSystemKey("Left", "", true, true));
    ASSERT_TRUE(SimulateSystemKey("Left", "", true, true));
    EXPECT_TRUE(KeyDown(KEY_LEFT));
    int downs = 0;
    while (PollEvent()) downs += EventID() == EVENT_KEYDOWN && EventData() == KEY_LEFT;
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(KeyHit(KEY_LEFT), 3);
    ASSERT_TRUE(SimulateSystemKey("Left", "", false));
    EXPECT_FALSE(KeyDown(KEY_LEFT));
    ASSERT_TRUE(PollEvent());
    EXPECT_EQ(EventID(), EVENT_KEYUP);
    EXPECT_EQ(EventData(), KEY_LEFT);
    EXPECT_EQ(KeyHit(999), 0);
    EXPECT_FALSE(KeyDown(-1));
}

TEST(InputKeys, ControlCharactersComeFromKeysAndTextFromTextInput) {
    auto ev = Press("Return", "");
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].id, EVENT_KEYCHAR);
    EXPECT_EQ(ev[1].data, 13);
    EXPECT_EQ(Press("Backspace", "").size(), 2u);
    EXPECT_EQ(Press("A", "").size(), 1u) << "letters come as text, not from the key";

    FlushEvent();
    // "a", e-acute (233), a euro sign (no 8-bit code: dropped), "Z".
    ASSERT_TRUE(SimulateSystemText("a\xC3\xA9\xE2\x82\xAC" "Z"));
    std::vector<int> codes;
    while (PollEvent())
        if (EventID() == EVENT_KEYCHAR) codes.push_back(EventData());
    EXPECT_EQ(codes, (std::vector<int>{'a', 233, 'Z'}));
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(GetChar(), 233);
    EXPECT_EQ(GetChar(), 'Z');
    EXPECT_EQ(GetChar(), 0);
    // Broken UTF-8 (a stray continuation byte, a lead cut short by an ASCII
    // letter, a three-byte lead with one of its two continuations) types
    // nothing for the broken part and keeps every letter around it.
    FlushEvent();
    ASSERT_TRUE(SimulateSystemText("a\x80" "b\xC3" "c\xE2\x82" "d"));
    codes.clear();
    while (PollEvent())
        if (EventID() == EVENT_KEYCHAR) codes.push_back(EventData());
    EXPECT_EQ(codes, (std::vector<int>{'a', 'b', 'c', 'd'}));
    FlushEvent();
    EXPECT_FALSE(SimulateSystemKey("No Such Key", "", true));
}

TEST(InputKeys, CharacterTableHoldsAtMost256) {
    FlushEvent();
    for (int i = 0; i < 300; ++i) SimulateChar('x');
    int n = 0;
    while (GetChar()) ++n;
    EXPECT_EQ(n, 256);
    FlushEvent();
}

TEST(InputJoystick, VirtualJoystickAxesAndButtons) {
    DetachVirtualJoysticks();
    const int before = JoyCount();
    const int port = AttachVirtualJoystick();
    ASSERT_GE(port, 0);
    EXPECT_EQ(JoyCount(), before + 1);
    EXPECT_FALSE(JoyName(port).empty());
    SetVirtualJoystickAxes(port, -1.f, 0.5f);
    EXPECT_FLOAT_EQ(JoyX(port), -1.f);
    EXPECT_NEAR(JoyY(port), 0.5f, 0.001f);
    SetVirtualJoystickAxes(port, 1.f, -1.f);
    EXPECT_FLOAT_EQ(JoyX(port), 1.f);
    EXPECT_FLOAT_EQ(JoyY(port), -1.f);
    EXPECT_EQ(JoyHit(0, port), 0);
    SetVirtualJoystickButton(port, 0, true);
    EXPECT_TRUE(JoyDown(0, port));
    SetVirtualJoystickButton(port, 0, false);
    EXPECT_FALSE(JoyDown(0, port));  // the device reports states: let it see the release
    SetVirtualJoystickButton(port, 0, true);
    SetVirtualJoystickButton(port, 1, true);
    EXPECT_EQ(JoyHit(0, port), 2) << "presses since the last call";
    EXPECT_EQ(JoyHit(0, port), 0);
    EXPECT_EQ(JoyHit(1, port), 1);
    EXPECT_FALSE(JoyDown(0, port + 5)) << "no such port";
    EXPECT_EQ(JoyX(port + 5), 0.f);
    DetachVirtualJoysticks();
    EXPECT_EQ(JoyCount(), before);
}

TEST(InputJoystick, AGameControllerFoldsItsDPadAndCountsEachPressOnce) {
    DetachVirtualJoysticks();
    const int port = AttachVirtualController();
    ASSERT_GE(port, 0);
    EXPECT_EQ(JoyName(port), "Virtual pad") << "opened through its controller mapping";
    // Raw buttons 2..5 are the D-pad: each folds into the axes, over the stick.
    SetVirtualJoystickAxes(port, 0.5f, 0.25f);
    EXPECT_NEAR(JoyX(port), 0.5f, 0.001f);
    EXPECT_NEAR(JoyY(port), 0.25f, 0.001f);
    const struct { int button; float x, y; } dpad[] = {
        {2, 0.5f, -1.f}, {3, 0.5f, 1.f}, {4, -1.f, 0.25f}, {5, 1.f, 0.25f}};
    for (const auto& d : dpad) {
        SetVirtualJoystickButton(port, d.button, true);
        EXPECT_NEAR(JoyX(port), d.x, 0.001f) << "D-pad button " << d.button;
        EXPECT_NEAR(JoyY(port), d.y, 0.001f) << "D-pad button " << d.button;
        SetVirtualJoystickButton(port, d.button, false);
    }
    // Left and right together cancel out: the stick counts again.
    SetVirtualJoystickButton(port, 4, true);
    SetVirtualJoystickButton(port, 5, true);
    EXPECT_NEAR(JoyX(port), 0.5f, 0.001f);
    SetVirtualJoystickButton(port, 4, false);
    SetVirtualJoystickButton(port, 5, false);
    // A and B are buttons 0 and 1, each press counted once although the
    // window system reports it as a raw and as a controller button; the
    // D-pad presses above count under the controller's own numbers only.
    JoyHit(0, port);
    JoyHit(1, port);
    EXPECT_EQ(JoyHit(2, port), 0);
    SetVirtualJoystickButton(port, 0, true);
    EXPECT_TRUE(JoyDown(0, port));
    SetVirtualJoystickButton(port, 0, false);
    EXPECT_FALSE(JoyDown(0, port));
    SetVirtualJoystickButton(port, 1, true);
    EXPECT_TRUE(JoyDown(1, port));
    SetVirtualJoystickButton(port, 1, false);
    EXPECT_EQ(JoyHit(0, port), 1);
    EXPECT_EQ(JoyHit(1, port), 1);
    DetachVirtualJoysticks();
    EXPECT_EQ(JoyCount(), 0);
}

TEST(InputMouse, VirtualMouseRemovesTheLetterbox) {
    ASSERT_TRUE(Graphics(400, 240, 0, 60));
    SetVirtualResolution(160, 120);  // scale 2, bars of 40 pixels
    SimulateMouseMove(40, 0);
    EXPECT_FLOAT_EQ(VirtualMouseX(), 0.f);
    SimulateMouseMove(360, 240);
    EXPECT_FLOAT_EQ(VirtualMouseX(), 160.f);
    EXPECT_FLOAT_EQ(VirtualMouseY(), 120.f);
    EXPECT_EQ(MouseX(), 360) << "raw window pixels stay as they came";
    SimulateMouseButton(1, true);
    SimulateMouseButton(1, false);
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_FALSE(MouseDown(1));
    EXPECT_EQ(MouseHit(4), 0);
    EndGraphics();
    FlushEvent();
}
