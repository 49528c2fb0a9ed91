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
    if (plat::GraphicsOpen() && plat::VirtualResolutionWidth() > 0 && plat::VirtualScale() > 0) {
        // The platform knows the letterbox of the open window (full screen
        // included); it works in device pixels, which may be finer than the
        // window pixels of events.
        float perWindowPixel = 1;
        int wx = 0, wy = 0, ww = 0, wh = 0;
        plat::GetClientRect(wx, wy, ww, wh);
        if (ww > 0 && plat::DrawableWidth() > 0)
            perWindowPixel = static_cast<float>(plat::DrawableWidth()) / static_cast<float>(ww);
        const float scale = plat::VirtualScale();
        return {(x * perWindowPixel - plat::VirtualOffsetX()) / scale,
                (y * perWindowPixel - plat::VirtualOffsetY()) / scale};
    }
    // No window yet: the letterbox of the configured window size.
    if (ScreenWidth <= 0 || ScreenHeight <= 0) return {x, y};
    const float vw = static_cast<float>(VirtualWidth), vh = static_cast<float>(VirtualHeight);
    const float scale = std::min(static_cast<float>(ScreenWidth) / vw, static_cast<float>(ScreenHeight) / vh);
    const float offsetX = std::floor((static_cast<float>(ScreenWidth) - vw * scale) / 2);
    const float offsetY = std::floor((static_cast<float>(ScreenHeight) - vh * scale) / 2);
    return {(x - offsetX) / scale, (y - offsetY) / scale};
}

DrawingPoint PointerInDrawingSpace() {
    if (!Game || !Game->Mouse) return {};
    return WindowToDrawingSpace(static_cast<float>(Game->Mouse->x), static_cast<float>(Game->Mouse->y));
}

}  // namespace fw
