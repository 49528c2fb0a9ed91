#include "framework/text_input.h"

#include <algorithm>

#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/shapes.h"
#include "platform/core/text.h"
#include "platform/sys/input.h"

namespace fw {

TTextInput::TTextInput()
    : TextCol(plat::New<TColor>()),
      TextShadow(plat::New<TShadow>()),
      DotCol(plat::New<TColor>()),
      CursorCol(plat::New<TColor>()) {}

void TTextInput::Init(const plat::Ref<plat::TImageFont>& font, const std::string& text, int x, int y,
                      const plat::Ref<TBitmapFont>& bitmapFont) {
    Font = font;
    Text = text;
    X = x;
    Y = y;
    BitmapFont = bitmapFont;
    CurrentChar = plat::Len(Text) + 1;
    TextCol = TColor::Create(255, 255, 255, 1);
    DotCol = TColor::Create(150, 150, 150, 1);
    CursorCol = TColor::Create(0, 255, 255, 1);
    SetCursorFlashSpeed(250);
    Reset();
}

void TTextInput::Reset() {
    Active = 1;
    Done = 0;
    if (Game) Game->BlockKeys = 1;
    FlushKeyTables();
}

void TTextInput::SetCursorFlashSpeed(int ms) {
    CursorFlashSpeed = Game ? static_cast<int>(Game->CalcAnimLength(ms)) : 0;
    CursorFlashCounter = 0;
    CursorOn = 1;
}

void TTextInput::Finish() {
    Active = 0;
    Done = 1;
    if (Game) Game->BlockKeys = 0;
    FlushInput();
}

void TTextInput::MakeCharsFileNameSafe() { BannedChars = "\"|*\\/:;~?<>,+=%"; }

float TTextInput::Width(const std::string& s) const {
    if (BitmapFont) return static_cast<float>(BitmapFont->StringWidth(s));
    return (Font ? Font : plat::DefaultFont())->TextWidth(s);
}

int TTextInput::GetWidth(const std::string& s) const { return static_cast<int>(Width(Text + s)); }

void TTextInput::PlayTypingSound() { PlayPoolSound(TypingSound, 1.0f, 0.0f); }

int TTextInput::Manage() {
    if (!Active) return 0;
    int c = GetCharQueued();
    if (c != 0 && BannedChars.find(static_cast<char>(c)) != std::string::npos) c = 0;
    if (c == plat::KEY_BACKSPACE && CurrentChar > 1) {
        --CurrentChar;
        PlayTypingSound();
        Text = plat::Left(Text, CurrentChar - 1);
    }
    // Escape still gives up on a field of figures.
    if (NumbersOnly && c != plat::KEY_ENTER && c != plat::KEY_ESCAPE && !(c >= '0' && c <= '9')) c = 0;
    const bool printable = (c >= 32 && c <= 126) || (c >= 127 && AllowExtendedChars == 1);
    if (printable && MaxLength >= CurrentChar) {
        std::string typed = plat::Chr(c);
        if (MaxPixelWidth == 0 || GetWidth(typed) <= MaxPixelWidth) {
            if (UppercaseFirstCharAsTyped && CurrentChar == 1) typed = plat::Upper(typed);
            Text += typed;
            ++CurrentChar;
            PlayTypingSound();
        }
    }
    if (c == plat::KEY_ENTER) {
        if (PlayTypingSoundOnEnter) PlayTypingSound();
        if (AllowNull || !plat::Trim(Text).empty()) {
            Finish();
            return 1;
        }
        FlushInput();
    }
    if (c == plat::KEY_ESCAPE && AllowEscToAbort) {
        if (ClearTextOnEscape) {
            Text.clear();
            CurrentChar = 1;
        }
        Finish();
        return -1;
    }
    CursorFlashCounter += Delta;
    if (CursorFlashCounter >= static_cast<float>(CursorFlashSpeed)) {
        CursorOn = CursorOn ? 0 : 1;
        CursorFlashCounter = 0;
    }
    return 0;
}

void TTextInput::DrawPiece(const std::string& s, float x, float y) const {
    if (s.empty()) return;
    if (BitmapFont) {
        if (TextShadow) BitmapFont->DrawAlignedWithShadow(s, x, y, 0, 0, 0);
        else BitmapFont->DrawAligned(s, x, y, 0, 0, 0, 0);
    } else {
        DrawTextShadowAt(s, x, y, TextShadow ? 1 : 0, 0);
    }
}

void TTextInput::Draw() {
    if (!Active && !ForceDraw) return;
    if (!BitmapFont) plat::SetImageFont(Font);
    const float x = static_cast<float>(X) + OffsetX, y = static_cast<float>(Y) + OffsetY;
    if (TextCol) TextCol->Apply();
    if (TextShadow) {
        TextShadow->ApplyToText();
        TextAlpha = TextCol ? TextCol->Alpha : 1.0f;
    }
    DrawPiece(Text, x, y);
    float end = x + Width(Text);
    const int length = plat::Len(Text);
    if (DrawUnderscore && length < MaxLength) {
        if (CursorOn) {
            if (CursorCol) CursorCol->Apply();
            DrawPiece("_", end, y + static_cast<float>(CursorYOffset));
        }
        end += Width("_");
    }
    if (DrawDots) {
        // Nothing is left to fill once the text has its full length.
        const int dots = std::max(0, MaxLength - (length + 1));
        if (DotCol) DotCol->Apply();
        DrawPiece(std::string(static_cast<std::size_t>(dots), '.'), end, y);
    }
    TColor::Restore();
}

}  // namespace fw
