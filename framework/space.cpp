#include "framework/space.h"

#include <algorithm>
#include <cmath>

#include "framework/game.h"
#include "platform/gfx/display.h"

namespace fw {

namespace {

bool VirtualOn() { return UseVirtualResolution == 1 && VirtualWidth > 0 && VirtualHeight > 0; }

}  // namespace

int DrawingWidth() { return VirtualOn() ? VirtualWidth : ScreenWidth; }

int DrawingHeight() { return VirtualOn() ? VirtualHeight : ScreenHeight; }

DrawingPoint WindowToDrawingSpace(float x, float y) {
    if (!VirtualOn()) return {x, y};
    // The platform knows the letterbox of the open window (full screen
    // included); it works in device pixels, which may be finer than the
    // window pixels of events.
    float scale = plat::VirtualScale();
    float offsetX = plat::VirtualOffsetX(), offsetY = plat::VirtualOffsetY();
    float perWindowPixel = 1;
    if (plat::GraphicsOpen()) {
        int wx = 0, wy = 0, ww = 0, wh = 0;
        plat::GetClientRect(wx, wy, ww, wh);
        if (ww > 0 && plat::DrawableWidth() > 0)
            perWindowPixel = static_cast<float>(plat::DrawableWidth()) / static_cast<float>(ww);
    }
    if (!(scale > 0)) {
        // No window yet: the letterbox of the configured window size.
        if (ScreenWidth <= 0 || ScreenHeight <= 0) return {x, y};
        scale = std::min(static_cast<float>(ScreenWidth) / static_cast<float>(VirtualWidth),
                         static_cast<float>(ScreenHeight) / static_cast<float>(VirtualHeight));
        offsetX = std::floor((static_cast<float>(ScreenWidth) - static_cast<float>(VirtualWidth) * scale) / 2);
        offsetY = std::floor((static_cast<float>(ScreenHeight) - static_cast<float>(VirtualHeight) * scale) / 2);
        perWindowPixel = 1;
    }
    return {(x * perWindowPixel - offsetX) / scale, (y * perWindowPixel - offsetY) / scale};
}

DrawingPoint PointerInDrawingSpace() {
    if (!Game || !Game->Mouse) return {};
    return WindowToDrawingSpace(static_cast<float>(Game->Mouse->x), static_cast<float>(Game->Mouse->y));
}

}  // namespace fw
