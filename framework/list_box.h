#pragma once
// TListBox: lines of text in a box, one of which the player selects with
// the pointer or the arrow keys; a second click on the selected line soon
// after the first is a double click, and lines can be shown locked.  Long
// lists show Limit lines at a time from TopIndex and can be scrolled by a
// TScrollBar: a slider dragged along a track, with two arrow buttons that
// step it (held, they repeat).  Both are polled once per logic tick and
// drawn once per frame, placed and hit-tested in the drawing space
// (space.h).

#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/core/object.h"
#include "platform/gfx/font.h"

namespace fw {

class TBitmapFont;
class TBox;
class TColor;
class TFont;
class TGameImage;
class TGameSound;
class TKeyRepeat;
class TMenu;
class TShadow;

class TScrollBar : public plat::Object {
public:
    plat::Ref<TGameImage> Background;  // the track
    float BackgroundX = 0, BackgroundY = 0;
    plat::Ref<TGameImage> Slider;
    plat::Ref<TMenu> Menu;   // the two arrows, when SetArrows made them
    int Vertical = 1;
    int Value = 0;           // ValuePrecise rounded
    double ValuePrecise = 0; // 0..ValueMax
    double ValueStep = 1.0;  // an arrow click
    int Size = 0;            // track length in pixels
    double ValueMax = 0;
    int SliderPosition = 0;  // along the track, 0..Size - slider length
    int SliderSelected = 0;  // being dragged
    int SliderOffset = 0;    // where the drag took hold of the slider
    float X = 0, Y = 0;      // track origin
    std::string UpName, DownName;  // the arrow buttons' names
    int FixedGlowOnMO = 0;   // the slider lights while the pointer is on it
    float SliderGlow = 0;
    float GlowMax = 0.5f;
    float GlowSpeed = 0.02f; // per tick
    float Scale = 1.0f;      // drawing scale of the slider

    // A negative largest value counts as 0.
    static plat::Ref<TScrollBar> Create(const plat::Ref<TGameImage>& slider, int size, double valueMax,
                                        float x, float y, int vertical);
    // Arrow buttons (pictures from the shell's menu folder, with
    // "_disabled" and "_down" looks when those exist) just outside both
    // ends of the track; a click steps the value, a held arrow repeats.
    virtual void SetArrows(const std::string& upImage, const std::string& downImage, int clickMs);
    virtual void SetBackground(const plat::Ref<TGameImage>& image, float x, float y);
    // Moves the bar, its arrows and its track picture together.
    virtual void SetCoords(float x, float y);
    // The slider to where `value` (0..ValueMax) lies, clamped to the track.
    virtual void SliderSetPosition(double value);
    // The value from where the slider lies.
    virtual void ValueCalc();
    virtual void ValueRound();
    // An arrow that has a disabled look shows it while the value sits at
    // that arrow's end.
    virtual void DisableButtons();
    virtual void Manage();
    virtual void Draw();
    virtual void Kill();

    // Track length less slider length: how far the slider can move (never
    // below 0).
    int Range() const;

private:
    int SliderLength() const;
    void StepBy(double step);
};

class TListBox : public plat::Object {
public:
    plat::Ref<TFont> Font;
    int DrawBox = 1;
    plat::Ref<TBox> Box;
    plat::Ref<TGameImage> Background;  // behind the box
    int BackgroundOffsetX = 0, BackgroundOffsetY = 0;
    int TextBorder = 10;     // left margin of the text
    int Gap = 5;             // above and below each line's text
    int LineYOffset = 0;
    int LineHeight = 0;      // from CalcLineHeight
    int Centred = 0;
    std::vector<std::string> Strings;  // the lines
    int Index = -1;          // selected line, -1 none
    int TopIndex = 0;        // first line shown
    std::string Value;       // the selected line's text
    int Clicked = -1;
    plat::Ref<TColor> HighlightCol;
    int HighlightUnder = 1;  // the selection bar under the text (0: over it)
    int HighlightTopBorder = 0, HighlightBottomBorder = 0;
    int DoubleClicked = -1;  // line double-clicked, read once by GetDoubleClicked
    float DoubleClickTime = 100;   // ticks in which a second click counts
    float DoubleClickCounter = 0;
    int Limit = 0;           // lines shown at a time; 0 all
    int RoundHeight = 1;     // the box height cut to whole lines
    int DisplayLines = 0;    // lines that fit in the box
    plat::Ref<TGameSound> ClickSound;
    plat::Ref<plat::TChannel> ClickChannel;  // for a shell without a channel pool
    int NoShadowOnHighlighted = 0;
    int ArrowKeysMoveHighlight = 1;
    std::vector<int> LockedArray;  // non-zero: that line is locked
    plat::Ref<TColor> LockedColor;
    plat::Ref<TScrollBar> ScrollBar;
    float Scale = 1.0f;
    float FontScale = 1.0f;  // extra scale of a bitmap font
    double OldScale = 0;     // the bitmap font's own scale
    plat::Ref<TKeyRepeat> UpKeyRepeat, DownKeyRepeat;
    int RoundTextX = 1, RoundTextY = 1;  // whole pixels for bitmap-font text at scale 1

    // The first argument is not used.  White text in the default font in
    // a black box, a dark blue selection bar.
    static plat::Ref<TListBox> Create(int unused, int gap, int centred, int drawBox, int doubleClickMs);
    virtual void Init(int unused, int gap, int centred, int drawBox);
    virtual void SetCoords(float x, float y, float w, float h);
    virtual void SetupBox(const plat::Ref<TColor>& color);
    virtual void SetupFont(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                           const plat::Ref<TShadow>& shadow, const plat::Ref<TBitmapFont>& bitmapFont,
                           const plat::Ref<TColor>& inverseColor);
    // The font's height plus Gap above and below.
    virtual void CalcLineHeight();
    // Lines of `height` pixels (at least 1): the box cut to whole lines
    // (with RoundHeight) and DisplayLines counted.
    virtual void SetLineHeight(int height);
    virtual void ClearIndex();
    // Selects line i and scrolls it into view; anything outside the list
    // clears the selection.
    virtual void SetIndex(int i);
    // At most Limit lines from i to the end; never below 0.
    virtual void SetTopIndex(int i);
    // One past the last line shown.
    virtual int GetTempLimit() const;
    // Top of the selected line (0 without a selection).
    virtual int GetIndexY() const;
    // The line double-clicked since the last call, -1 when none.
    virtual int GetDoubleClicked();
    virtual void PlayClick();
    // Also the repeat sound of the scroll bar's arrows.
    virtual void SetClickSound(const plat::Ref<TGameSound>& sound);
    virtual void Manage();
    virtual void Draw();
    virtual void DrawHighlight();
    virtual void Kill();

    // Whether line i is shown locked (lines past LockedArray are not).
    bool Locked(int i) const;
    int Count() const { return static_cast<int>(Strings.size()); }

private:
    void DrawLine(const std::string& text, float x, float y, const plat::Ref<TColor>& colour, bool shadowed);
};

}  // namespace fw
