#pragma once
// The drawing space: where screens, sprites, fades and widgets place and
// hit-test things.  With the virtual resolution switched on it is that
// resolution (the window shows it scaled and letterboxed); otherwise it is
// the window, ScreenWidth x ScreenHeight pixels.  The shell's pointer holds
// window pixels; PointerInDrawingSpace maps it into the drawing space.

namespace fw {

struct DrawingPoint {
    float x = 0, y = 0;
};

int DrawingWidth();
int DrawingHeight();
// A point in window pixels (as window events give them) in drawing space.
DrawingPoint WindowToDrawingSpace(float x, float y);
// The shell's pointer (Game->Mouse) in drawing space; (0, 0) without a shell.
DrawingPoint PointerInDrawingSpace();

}  // namespace fw
