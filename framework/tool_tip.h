#pragma once
// TToolTip: a box with word-wrapped text that shows next to the pointer
// once it has rested over something for a while, fading in, and fades out
// when it leaves.  The owner tells it each tick whether the pointer is over
// its area (Collide) and draws it each frame.  Placed in the drawing space
// (space.h), kept inside it.

#include <string>
#include <vector>

#include "platform/core/object.h"

namespace fw {

class TFont;
class TGameImage;
class TGameSound;

class TToolTip : public plat::Object {
public:
    int Visible = 0;
    float x = 0, y = 0;  // top-left of the box
    plat::Ref<TGameImage> image;  // the box; without one the text alone
    plat::Ref<TFont> Font;        // its bitmap font draws the text, else its image font
    float FontScale = 1.0f;       // bitmap-font scale while drawing
    int RoundedCoords = 1;
    int TextYOffset = 0;
    std::string Text;
    std::vector<std::string> TextWrapped;
    int TextDrawWidth = 200;      // wrap width
    int DrawUnderMouseCursor = 1; // placed next to the pointer
    int GapFromMouse = 5;
    int XOffset = 0;
    int SetCoordsOnceOnly = 1;    // the place is kept once shown
    float CollideCounter = 0;     // ticks hovered so far
    int CollideCounterMax = 50;   // ticks before it shows
    int Fade = 1;
    float FadeInSpeed = 0.02f, FadeOutSpeed = 0.04f;  // alpha a tick
    float FadeLevel = 0;
    int AlwaysShowAboveMouse = 0;
    plat::Ref<TGameSound> ToolTipSound;  // played as it shows

    // Once per tick: whether the pointer is over the owner's area.
    virtual void Collide(int over);
    virtual void Kill();
    virtual void Draw();
    virtual void SetCollideCounterMax(int ms);
    // 0 (and nothing changes) while the tip is showing or fading.
    virtual int SetText(const std::string& text);

private:
    float BoxWidth() const;
    float BoxHeight() const;
    float MeasureLine(const std::string& line) const;
    float LineHeight() const;
    void Place();
};

}  // namespace fw
