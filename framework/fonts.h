#pragma once
// Text for the framework's widgets.
//
// TBitmapFont draws from a glyph sheet (url + ".png") described by a glyph
// table (url + ".fnt", the common text format of bitmap-font generators:
// an optional "ScaleF=" line, an info line, a common line with the sheet
// size, page and chars lines, one "char id=..." line per glyph, then
// optional kerning lines, which are not read).  TFont bundles an image font
// or a bitmap font with colours and a shadow; TLabel is a positioned,
// optionally word-wrapped and scaled text in such a font; TTextCursor
// writes lines one under another.
//
// Shadows use the shared text-shadow style of drawing.h (TextShadowX,
// TextShadowY, TextShadowAlpha) times TextAlpha.

#include <string>
#include <vector>

#include "framework/drawing.h"
#include "platform/core/object.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"

namespace fw {

class TColor;
class TShadow;

class TBitmapFont : public plat::Object {
public:
    double CharGap = 0;      // extra pixels after each glyph
    int ChangeHandle = 0;    // 1: alignment moves the drawing handle, not the position
    double HandleX = 0, HandleY = 0;
    double ScaleFactor = 0;  // scale of every glyph measure (1 unless the table says)
    std::string TestString = "ABCXYZ";  // its height stands for the font's height
    int ArraySize = 406;     // length of each per-glyph table
    std::vector<int> ID;     // character code of each slot
    plat::Ref<plat::TImage> Image;  // the glyph sheet
    int NumChars = 0;        // glyphs read
    int NumExtraChars = 0;   // glyphs with codes of 256 and above
    double TextureH = 0, TextureW = 0;  // sheet size given by the table
    // Glyph metrics by slot: codes 0..255 in their own slot, higher codes
    // from slot 256 on in the order they were read.
    std::vector<double> width, height, xAdvance, xOffset, yOffset, xPos, yPos;

    TBitmapFont();

    // Reports "Error loading bitmap " / "Error loading file " + path (ending
    // the program) when the sheet or the table is missing.  The third
    // argument is not read.
    static plat::Ref<TBitmapFont> Create(const std::string& url, int flags, int unused,
                                         double yOffsetAdjust);

    // Bytes of video memory the sheet takes (power-of-two sides, 4 bytes a pixel).
    int CalcVRAM() const;
    // One pass of the text with its top-left at (x, y) (or centred, or
    // ending at x), in the drawing state's scale.  The shadow pass draws the
    // black copy at the shared shadow offset and alpha instead.  Whole-pixel
    // rounding applies only at scale 1.
    void Draw(const std::string& text, double x, double y, int centre, int right, int roundX,
              int roundY, int shadowPass, int centreVertically);
    // alignment 0 left, 1 centred, 2 right, 3 centred both ways; any other
    // value draws nothing.
    void DrawAligned(const std::string& text, double x, double y, int alignment, int roundX,
                     int roundY, int shadowPass);
    void DrawAlignedWithShadow(const std::string& text, double x, double y, int alignment,
                               int roundX, int roundY);
    // Lines one under another, lineHeight apart (0: the font's height);
    // with centreBlock the block is centred vertically on y.
    void DrawStringArray(const std::vector<std::string>& lines, double x, double y, int centre,
                         int right, int roundX, int roundY, int withShadow, double lineHeight,
                         int centreBlock);
    // Grows every per-glyph table by 100 slots.
    void ExpandArrays();
    // The extra slot (256 and above) holding the code, 0 when none does.
    int FindChar(int code) const;
    void Kill();
    void Precache();
    void ResetHandle();
    // Sum of the visible glyphs' heights over (their number - 1), times
    // ScaleFactor: for the six-glyph TestString, 1.2 times the average
    // height, a line height with some room.  One visible glyph gives its own
    // height, none gives 0.
    double StringHeight(const std::string& text) const;
    double StringWidth(const std::string& text) const;
    // The longest leading part no wider than maxWidth x ScaleFactor.
    std::string TruncateString(const std::string& text, double maxWidth) const;

private:
    int SlotOf(unsigned char code) const;
    void ReadTable(const std::string& url, double yOffsetAdjust);
};

class TFont : public plat::Object {
public:
    plat::Ref<TBitmapFont> BitmapFont;  // draws the text when set
    plat::Ref<TColor> Color;
    int FixedWidth = 0;
    plat::Ref<plat::TImageFont> ImageFont;  // otherwise this one (the default font when none)
    plat::Ref<TColor> InverseColor;
    std::string Name;
    plat::Ref<TShadow> Shadow;
    float H = 0;  // font height
    double OldScale = 0;

    ~TFont() override = default;

    static plat::Ref<TFont> Create(const plat::Ref<plat::TImageFont>& imageFont,
                                   const plat::Ref<TColor>& color, const plat::Ref<TShadow>& shadow,
                                   int fixedWidth, const plat::Ref<TBitmapFont>& bitmapFont,
                                   const plat::Ref<TColor>& inverseColor, const std::string& name);
    virtual void Init(const plat::Ref<plat::TImageFont>& imageFont, const plat::Ref<TColor>& color,
                      const plat::Ref<TShadow>& shadow, int fixedWidth,
                      const plat::Ref<TBitmapFont>& bitmapFont, const plat::Ref<TColor>& inverseColor,
                      const std::string& name);
    // Colour, shadow style and (for an image font) the font into the
    // drawing state.
    virtual void Apply();
    virtual void ApplyCustomColor(const plat::Ref<TColor>& color);
    virtual void ApplyInverse();
    // The drawing scale for an image font; the bitmap font's ScaleFactor
    // (kept for RestoreScale) for a bitmap font.
    virtual void ApplyScale(double scale);
    virtual void RestoreScale();
    virtual float CalcHeight();
    virtual void Kill();

protected:
    // The image font the text is drawn in when there is no bitmap font.
    plat::Ref<plat::TImageFont> DrawingImageFont() const;
    // Width of a text in the font, at scale 1.
    float TextWidthIn(const std::string& text) const;
    // Distance between lines: the image font's height, or the whole part
    // of the bitmap font's height.
    float LineHeight() const;
    void SelectImageFont() const;
};

class TLabel : public TFont {
public:
    float Alpha = 1.0f;
    int CentreVertically = 0;
    int LineGap = 0;       // pixels between wrapped lines (0: the font's line height)
    float Scale = 1.0f;
    float X = 0, Y = 0;
    int RoundCoords = 1;   // 1: whole pixels both ways
    int RoundXCoord = 0, RoundYCoord = 0;  // used while RoundCoords is not 1
    int Visible = 1;
    float W = 0;           // measured width
    int Alignment = 0;     // 0 left, 1 centred, 2 right
    std::string Text;
    std::vector<std::string> TextArray;  // wrapped lines
    int TotalLines = 0;
    int WordWrap = 0;      // wrap width in pixels; 0: no wrapping

    // White; the caller gives it a font with Init.
    static plat::Ref<TLabel> CreateSpecial(const std::string& text, float x, float y, int alignment,
                                           int wordWrap, int centreVertically);
    // Shrinks Scale so that the text fits maxWidth.
    virtual void AutoScale(float maxWidth);
    virtual void CalcSize();
    // The width at Scale (W keeps it at scale 1).
    virtual float CalcWidth();
    virtual float CalcWordWrappedHeight();
    // The height at Scale.
    float CalcHeight() override;
    // 0 when not Visible.  At (x + X, y + Y); with useColourAlpha in Color
    // and its alpha, otherwise in the colour already applied.
    virtual int Draw(float x, float y, int useColourAlpha);
    virtual void DrawTextLine(const std::string& text, float x, float y, int useColourAlpha);
    // Splits Text at line feeds and wraps it to WordWrap pixels.
    virtual void PreCalcWordWrap();
    virtual void SetLineGap(int gap);
};

class TTextCursor : public plat::Object {
public:
    int x = 0, y = 0;
    int linegap = 20;
    int Shadow = 0;  // non-zero: the shared text shadow under each line

    void Init(int x, int y, int linegap);
    void NewLine();
    // In the current image font at (x, y).
    void Output(const std::string& text) const;
    void OutputNL(const std::string& text);
};

}  // namespace fw
