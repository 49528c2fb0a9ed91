#pragma once
// Set-up of the tests of list boxes, dialogs and the player manager: the
// widget fixture plus the pictures of the standard buttons (OK, Cancel,
// Yes, No and the manager's Create and Delete, each 40 x 16 with its hover
// look) in the menu folder, the two sounds every standard menu loads, and
// clicks on a button by name.

#include <string>
#include <vector>

#include "framework/button.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/menu.h"
#include "widget_fixture.h"

namespace periphery {

class DialogTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        for (const char* name : {"OK", "Cancel", "Yes", "No", "Create", "Delete"}) {
            WritePicture(std::string(name) + ".png", 40, 16, 0xFF3050A0u);
            WritePicture(std::string(name) + "MO.png", 40, 16, 0xFF6080E0u);
        }
        for (const char* name : {"buttonMO", "buttonclick"})
            testlib::WriteBytes(dir / (std::string(name) + ".wav"),
                                testlib::MakeWav(std::vector<std::int16_t>(441, 1000)));
        savedEscape_ = fw::Game->IgnoreEscapeKey;
    }

    // The pointer on the middle of the menu's button `name`, a click, and
    // `manage` run for that tick; then the button let go and the tick over.
    template <class Manage>
    static auto ClickOn(const fw::TMenu& menu, const std::string& name, Manage manage) {
        const auto button = menu.FindButton(name);
        EXPECT_TRUE(button) << name;
        if (button)
            Pointer(static_cast<int>(button->x + button->offx) + button->w / 2,
                    static_cast<int>(button->y + button->offy) + button->h / 2);
        Press();
        auto result = manage();
        Release();
        NextTick();
        return result;
    }

    // A key pressed and let go (as the shell's pump fills the tables), with
    // the character it types for Enter, Escape and Backspace.
    static void TypeKey(int key) {
        fw::KeyTableDown(key);
        if (key == 8 || key == 13 || key == 27) fw::KeyTableChar(key);
        fw::KeyTableUp(key);
    }
    static void TypeText(const std::string& text) {
        for (unsigned char c : text) fw::KeyTableChar(c);
    }

    int savedEscape_ = 0;
};

}  // namespace periphery
