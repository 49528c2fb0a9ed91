#include "framework/tool_tip.h"

#include <algorithm>
#include <cmath>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/mouse.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "platform/gfx/draw.h"

namespace fw {

// Without a bitmap font the text is measured and drawn in the font's image
// font (the default font when it has none).

float TToolTip::MeasureLine(const std::string& line) const {
    if (Font && Font->BitmapFont) return static_cast<float>(Font->BitmapFont->StringWidth(line));
    return ((Font && Font->ImageFont) ? Font->ImageFont : plat::DefaultFont())->TextWidth(line);
}

float TToolTip::LineHeight() const {
    if (Font && Font->BitmapFont)
        return static_cast<float>(std::floor(Font->BitmapFont->StringHeight(Font->BitmapFont->TestString)));
    return static_cast<float>(((Font && Font->ImageFont) ? Font->ImageFont : plat::DefaultFont())->Height());
}

// The box picture's size, or without one the size of the text block.
float TToolTip::BoxWidth() const {
    if (image) return static_cast<float>(image->w);
    float widest = 0;
    for (const std::string& line : TextWrapped) widest = std::max(widest, MeasureLine(line));
    return widest;
}

float TToolTip::BoxHeight() const {
    if (image) return static_cast<float>(image->h);
    return LineHeight() * static_cast<float>(TextWrapped.size());
}

void TToolTip::Place() {
    const DrawingPoint pointer = PointerInDrawingSpace();
    const float pointerHeight = Game && Game->Mouse ? static_cast<float>(Game->Mouse->h) : 0.0f;
    const float bw = BoxWidth(), bh = BoxHeight();
    const float gap = static_cast<float>(GapFromMouse);
    y = pointer.y + pointerHeight + gap;
    if (AlwaysShowAboveMouse || y + bh > static_cast<float>(DrawingHeight())) y = pointer.y - gap - bh;
    x = pointer.x + static_cast<float>(XOffset);
    if (pointer.x + bw > static_cast<float>(DrawingWidth())) x = static_cast<float>(DrawingWidth()) - bw;
}

void TToolTip::Collide(int over) {
    bool showing = false;
    if (over) {
        CollideCounter += Delta;
        if (DrawUnderMouseCursor && (SetCoordsOnceOnly != 1 || !Visible)) Place();
        if (CollideCounter > static_cast<float>(CollideCounterMax)) {
            CollideCounter = static_cast<float>(CollideCounterMax);
            showing = true;
            if (!Visible) PlayPoolSound(ToolTipSound);
            Visible = 1;
        }
    } else {
        CollideCounter = 0;
    }
    if (showing) {
        if (Fade) FadeLevel = std::min(1.0f, FadeLevel + FadeInSpeed * Delta);
    } else if (Fade) {
        FadeLevel -= FadeOutSpeed * Delta;
        if (FadeLevel <= 0) {
            FadeLevel = 0;
            Visible = 0;
        }
    } else {
        Visible = 0;
    }
}

void TToolTip::Kill() { ToolTipSound = nullptr; }

void TToolTip::SetCollideCounterMax(int ms) {
    CollideCounterMax = Game ? static_cast<int>(Game->CalcAnimLength(ms)) : ms;
}

int TToolTip::SetText(const std::string& text) {
    if (Fade && FadeLevel > 0) return 0;
    Text = text;
    TextWrapped = WrapTextLinesMeasured(
        SplitLines(text), static_cast<float>(TextDrawWidth), [this](const std::string& line) { return MeasureLine(line); },
        1.0f);
    return 1;
}

void TToolTip::Draw() {
    if (!Visible) return;
    plat::SetBlend(plat::ALPHABLEND);
    if (Fade) {
        plat::SetAlpha(FadeLevel);
        if (Font && Font->Color) Font->Color->Alpha = FadeLevel;
    }
    if (image && image->image) plat::DrawImage(image->image, x, y, 0);
    const float cx = x + BoxWidth() / 2;
    const float cy = y + BoxHeight() / 2 + static_cast<float>(TextYOffset);
    if (Font) Font->Apply();
    const int shadow = Font && Font->Shadow ? 1 : 0;
    if (Font && Font->BitmapFont) {
        TBitmapFont& bitmap = *Font->BitmapFont;
        const double scale = bitmap.ScaleFactor;
        bitmap.ScaleFactor = FontScale;
        bitmap.DrawStringArray(TextWrapped, cx, cy, 1, 0, RoundedCoords, RoundedCoords, shadow, 0, 1);
        bitmap.ScaleFactor = scale;
    } else {
        if (!Font) plat::SetImageFont(nullptr);
        const float lineHeight = LineHeight();
        float lineY = cy - static_cast<float>(RoundToInt(lineHeight * static_cast<float>(TextWrapped.size()) / 2));
        for (const std::string& line : TextWrapped) {
            DrawTextAligned(line, cx, lineY, shadow, 1, RoundedCoords);
            lineY += lineHeight;
        }
    }
    TColor::Restore();
    if (Fade) {
        plat::SetAlpha(1);
        TextAlpha = 1;
    }
}

}  // namespace fw
