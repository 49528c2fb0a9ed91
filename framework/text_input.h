#pragma once
// TTextInput: a one-line text editor fed by the shell's queue of typed
// characters (Backspace, Enter and Escape arrive there as 8, 13 and 27),
// with a flashing "_" cursor, optional fill dots up to the length limit,
// character filters and limits in characters and pixels.  While it is
// active the shell's own keys are blocked.

#include <string>

#include "platform/core/object.h"
#include "platform/gfx/font.h"

namespace fw {

class TBitmapFont;
class TColor;
class TGameSound;
class TShadow;

class TTextInput : public plat::Object {
public:
    std::string Text;
    int MaxLength = 10;      // characters
    int MaxPixelWidth = 0;   // 0: no limit
    int CurrentChar = 0;     // 1-based place of the next character
    int Active = 0;          // takes characters
    int Done = 0;            // editing finished
    int ForceDraw = 0;       // drawn while not active too
    int X = 0, Y = 0;
    plat::Ref<TColor> TextCol;
    plat::Ref<TShadow> TextShadow;  // none: no shadow
    plat::Ref<TColor> DotCol;
    plat::Ref<TColor> CursorCol;
    int CursorYOffset = 0;
    plat::Ref<plat::TImageFont> Font;      // used without a bitmap font
    plat::Ref<TBitmapFont> BitmapFont;
    int DrawDots = 0;        // "." up to MaxLength
    int DrawUnderscore = 1;
    float CursorFlashCounter = 0;
    int CursorFlashSpeed = 0;  // ticks a phase
    int CursorOn = 1;
    int AllowEscToAbort = 1;
    int AllowNull = 1;       // Enter takes an empty text
    std::string BannedChars;
    int AllowExtendedChars = 0;  // codes 127 and above
    int NumbersOnly = 0;
    plat::Ref<TGameSound> TypingSound;
    int PlayTypingSoundOnEnter = 1;
    float OffsetX = 0, OffsetY = 0;  // drawing offset (a sliding dialog's)
    int ClearTextOnEscape = 0;
    int UppercaseFirstCharAsTyped = 0;

    TTextInput();

    // Starts editing `text` at (x, y).
    virtual void Init(const plat::Ref<plat::TImageFont>& font, const std::string& text, int x, int y,
                      const plat::Ref<TBitmapFont>& bitmapFont);
    // Editing again: the shell's keys blocked, typed input dropped.
    virtual void Reset();
    virtual void SetCursorFlashSpeed(int ms);
    // One character a tick: 1 when Enter took the text, -1 when Escape
    // gave up, else 0.
    virtual int Manage();
    virtual void PlayTypingSound();
    // Bans the characters that file names cannot hold.
    virtual void MakeCharsFileNameSafe();
    virtual void Finish();
    // Pixel width of Text + s in the editor's font.
    virtual int GetWidth(const std::string& s) const;
    virtual void Draw();

private:
    float Width(const std::string& s) const;
    void DrawPiece(const std::string& s, float x, float y) const;
};

}  // namespace fw
