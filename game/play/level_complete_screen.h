#pragma once
// TLevelCompleteScreen: shown between two areas.  Two lines about the area
// just broken are typed letter by letter on a black screen to a jingle; two
// seconds after the second line is complete the game goes on to the next
// area (after area 8: area 1 again) with 5000 points more.  Escape does
// nothing here.  The wait never blocks: the screen keeps running its ticks,
// and with them the window events and the music.

#include <cstdint>
#include <string>

#include "framework/screen.h"

namespace game {

class TLevelCompleteScreen : public fw::TScreen {
public:
    static constexpr int kBonus = 5000;
    static constexpr std::int64_t kWaitMs = 2000;  // after the second line

    int maxdelay = 20;         // ticks between two letters
    float delayletras = 0;     // letter timer
    int posiciontexto = 1;     // letters shown of the line being typed
    std::string text1, text2;  // the lines of this visit
    std::string text1_1 = "BROKE THE 1ST AREA";
    std::string text1_2 = "NOW RUSH TO THE 2ND AREA";
    std::string text2_1 = "BROKE THE 2ND AREA";
    std::string text2_2 = "NOW RUSH TO THE 3RD AREA";
    std::string text3_1 = "BROKE THE 3RD AREA";
    std::string text3_2 = "NOW RUSH TO THE LAST AREA";
    std::string text4_1 = "  CONGRATULATIONS";
    std::string text4_2 = "YOUR FIRST DUTY FINISHED";
    std::string text4_3 = "YOUR EVERY DUTY FINISHED";
    int linea1_escrita = 0;  // first line complete
    int linea2_escrita = 0;  // second line complete
    // The clock when the second line was complete.
    std::int64_t linea2_ms = 0;

    void Load() override;
    void Start() override;
    void Logic() override;
    void Draw() override;

    // The two lines shown after an area 1..8 (false for any other).
    bool TextsFor(int level, std::string& first, std::string& second) const;

private:
    // Draws the shown part of a line being typed, and shows one letter more
    // when the letter timer has run out.
    void TypeLine(const std::string& text, float x, float y);
    bool switched_ = false;  // the next area has been started
};

}  // namespace game
