#include "framework/fonts.h"

#include <algorithm>
#include <cmath>

#include "framework/banks.h"
#include "framework/helpers.h"
#include "framework/shapes.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/io/stream.h"

namespace fw {

namespace {

double Rounded(double v) { return std::floor(v + 0.5); }

bool StartsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

// The `count` characters right after `key` (searched from the start of the
// line), read as a number; 0 when the line has no such key.
double Field(const std::string& line, const std::string& key, int count) {
    const int at = plat::Find(line, key);
    if (at < 0) return 0;
    return plat::ToFloat(plat::Mid(line, at + plat::Len(key) + 1, count));
}

// Images loaded while it lives keep a top-left handle; the caller's
// automatic mid-handle setting comes back afterwards, error or not.
class TopLeftHandles {
public:
    TopLeftHandles() : saved_(plat::AutoMidHandleOn()) { plat::AutoMidHandle(false); }
    ~TopLeftHandles() { plat::AutoMidHandle(saved_); }
    TopLeftHandles(const TopLeftHandles&) = delete;
    TopLeftHandles& operator=(const TopLeftHandles&) = delete;

private:
    bool saved_;
};

}  // namespace

// --- TBitmapFont ---------------------------------------------------------------------

TBitmapFont::TBitmapFont() { ExpandArrays(); }

void TBitmapFont::ExpandArrays() {
    // The first call makes the tables; every later one adds 100 slots.
    const std::size_t size = ID.empty() ? static_cast<std::size_t>(ArraySize) : ID.size() + 100;
    ArraySize = static_cast<int>(size);
    ID.resize(size, 0);
    for (auto* table : {&width, &height, &xAdvance, &xOffset, &yOffset, &xPos, &yPos}) table->resize(size, 0.0);
}

plat::Ref<TBitmapFont> TBitmapFont::Create(const std::string& url, int flags, int unused,
                                           double yOffsetAdjust) {
    (void)unused;
    auto font = plat::New<TBitmapFont>();
    {
        TopLeftHandles handles;
        font->Image = LoadImageOrDie(url + ".png", flags);
    }
    font->ReadTable(url, yOffsetAdjust);
    return font;
}

void TBitmapFont::ReadTable(const std::string& url, double yOffsetAdjust) {
    const plat::Ref<plat::TStream> in = OpenFileOrDie(url + ".fnt");
    std::string line = plat::ReadLine(in);
    if (plat::Upper(plat::Left(line, 6)) == "SCALEF") {
        ScaleFactor = Field(plat::Upper(line), "SCALEF=", 4);
    } else {
        ScaleFactor = 1;
    }
    line = plat::ReadLine(in);
    if (StartsWith(line, "info")) line = plat::ReadLine(in);
    TextureW = Field(line, "scaleW=", 4);
    TextureH = Field(line, "scaleH=", 4);

    line = plat::ReadLine(in);
    if (StartsWith(line, "page")) {
        line = plat::ReadLine(in);
        if (StartsWith(line, "chars")) line = plat::ReadLine(in);
    }
    while (!StartsWith(line, "kerning")) {
        const int code = static_cast<int>(Field(line, "id=", 5));
        if (code > 0) {
            int slot = code;
            if (code >= 256) {
                slot = 256 + NumExtraChars;
                if (slot >= ArraySize) ExpandArrays();
                ++NumExtraChars;
            }
            const auto s = static_cast<std::size_t>(slot);
            ID[s] = code;
            xPos[s] = Field(line, "x=", 4);
            yPos[s] = Field(line, "y=", 4);
            width[s] = Field(line, "width=", 3);
            height[s] = Field(line, "height=", 3);
            xOffset[s] = Field(line, "xoffset=", 3);
            yOffset[s] = Field(line, "yoffset=", 3) + yOffsetAdjust;
            xAdvance[s] = Field(line, "xadvance=", 3);
            ++NumChars;
        }
        if (plat::Eof(in)) break;
        line = plat::ReadLine(in);
    }
    plat::CloseStream(in);
}

int TBitmapFont::FindChar(int code) const {
    for (int slot = 256; slot < 256 + NumExtraChars && slot < ArraySize; ++slot)
        if (ID[static_cast<std::size_t>(slot)] == code) return slot;
    return 0;
}

// Texts are 8-bit, so every character has a slot of its own.
int TBitmapFont::SlotOf(unsigned char code) const { return code; }

int TBitmapFont::CalcVRAM() const {
    const int w = Image ? Image->width : static_cast<int>(TextureW);
    const int h = Image ? Image->height : static_cast<int>(TextureH);
    return 4 * NextPowerOfTwo(w) * NextPowerOfTwo(h);
}

void TBitmapFont::Draw(const std::string& text, double x, double y, int centre, int right, int roundX,
                       int roundY, int shadowPass, int centreVertically) {
    if (text.empty()) return;
    int r = 255, g = 255, b = 255;
    if (shadowPass) {
        plat::GetColor(r, g, b);
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(TextShadowAlpha * TextAlpha);
        x += TextShadowX;
        y += TextShadowY;
    }
    float fsx = 1, fsy = 1;
    plat::GetScale(fsx, fsy);
    double sx = fsx, sy = fsy;
    if (centre || right) {
        const double w = StringWidth(text);
        if (centre) {
            if (ChangeHandle) HandleX += w / 2;
            else x -= w / 2 * sx;
        }
        if (right) {
            if (ChangeHandle) HandleX += w * sx;
            else x -= w * sx;
        }
    }
    if (centreVertically) {
        const double h = StringHeight(TestString);
        if (ChangeHandle) HandleY += h / 2;
        else y -= h / 2 * sy;
    }
    sx *= ScaleFactor;
    sy *= ScaleFactor;
    for (unsigned char c : text) {
        const auto s = static_cast<std::size_t>(SlotOf(c));
        double tx = ChangeHandle ? x : x + xOffset[s] * sx;
        double ty = ChangeHandle ? y : y + yOffset[s] * sy;
        double tw = width[s] * ScaleFactor;
        double th = height[s] * ScaleFactor;
        if (roundX && sx == 1) {
            tx = Rounded(tx);
            tw = Rounded(tw);
        }
        if (roundY && sy == 1) {
            ty = Rounded(ty);
            th = Rounded(th);
        }
        if (width[s] > 0 && height[s] > 0) {
            const double hx = ChangeHandle ? HandleX - xOffset[s] * ScaleFactor : 0;
            const double hy = ChangeHandle ? HandleY - yOffset[s] * ScaleFactor : 0;
            plat::DrawSubImageRect(Image, static_cast<float>(tx), static_cast<float>(ty), static_cast<float>(tw),
                                   static_cast<float>(th), static_cast<float>(xPos[s]), static_cast<float>(yPos[s]),
                                   static_cast<float>(width[s]), static_cast<float>(height[s]),
                                   static_cast<float>(hx), static_cast<float>(hy));
        }
        const double advance = xAdvance[s] + CharGap;
        if (ChangeHandle) HandleX -= advance * ScaleFactor;
        else x += advance * sx;
    }
    if (shadowPass) {
        plat::SetColor(r, g, b);
        plat::SetAlpha(TextAlpha);
    }
}

void TBitmapFont::DrawAligned(const std::string& text, double x, double y, int alignment, int roundX,
                              int roundY, int shadowPass) {
    switch (alignment) {
        case 0: Draw(text, x, y, 0, 0, roundX, roundY, shadowPass, 0); break;
        case 1: Draw(text, x, y, 1, 0, roundX, roundY, shadowPass, 0); break;
        case 2: Draw(text, x, y, 0, 1, roundX, roundY, shadowPass, 0); break;
        case 3: Draw(text, x, y, 1, 0, roundX, roundY, shadowPass, 1); break;
        default: break;
    }
}

void TBitmapFont::DrawAlignedWithShadow(const std::string& text, double x, double y, int alignment,
                                        int roundX, int roundY) {
    DrawAligned(text, x, y, alignment, roundX, roundY, 1);
    DrawAligned(text, x, y, alignment, roundX, roundY, 0);
}

void TBitmapFont::DrawStringArray(const std::vector<std::string>& lines, double x, double y, int centre,
                                  int right, int roundX, int roundY, int withShadow, double lineHeight,
                                  int centreBlock) {
    if (lineHeight == 0) lineHeight = std::floor(StringHeight(TestString));
    if (centreBlock) y -= RoundToInt(lineHeight * static_cast<double>(lines.size()) / 2);
    for (const std::string& line : lines) {
        if (withShadow) Draw(line, x, y, centre, right, roundX, roundY, 1, 0);
        Draw(line, x, y, centre, right, roundX, roundY, 0, 0);
        y += lineHeight;
    }
}

void TBitmapFont::Kill() { Image = nullptr; }

void TBitmapFont::Precache() { PreloadImageFrames(Image); }

void TBitmapFont::ResetHandle() {
    ChangeHandle = 0;
    HandleX = HandleY = 0;
    if (Image) plat::SetImageHandle(Image, 0, 0);
}

double TBitmapFont::StringHeight(const std::string& text) const {
    double sum = 0;
    int visible = 0;
    for (unsigned char c : text) {
        const double h = height[static_cast<std::size_t>(SlotOf(c))];
        if (h > 0) {
            sum += h;
            ++visible;
        }
    }
    if (visible == 0) return 0;
    if (visible == 1) return ScaleFactor * sum;
    return ScaleFactor * sum / (visible - 1);
}

double TBitmapFont::StringWidth(const std::string& text) const {
    double sum = 0;
    for (unsigned char c : text) sum += xAdvance[static_cast<std::size_t>(SlotOf(c))] + CharGap;
    if (sum > 0) sum -= CharGap;
    return sum * ScaleFactor;
}

std::string TBitmapFont::TruncateString(const std::string& text, double maxWidth) const {
    const double limit = maxWidth * ScaleFactor;
    std::size_t fits = 0;
    for (std::size_t n = 1; n <= text.size(); ++n) {
        if (StringWidth(text.substr(0, n)) > limit) break;
        fits = n;
    }
    return text.substr(0, fits);
}

// --- TFont ---------------------------------------------------------------------------

plat::Ref<TFont> TFont::Create(const plat::Ref<plat::TImageFont>& imageFont, const plat::Ref<TColor>& color,
                               const plat::Ref<TShadow>& shadow, int fixedWidth,
                               const plat::Ref<TBitmapFont>& bitmapFont, const plat::Ref<TColor>& inverseColor,
                               const std::string& name) {
    auto font = plat::New<TFont>();
    font->Init(imageFont, color, shadow, fixedWidth, bitmapFont, inverseColor, name);
    return font;
}

void TFont::Init(const plat::Ref<plat::TImageFont>& imageFont, const plat::Ref<TColor>& color,
                 const plat::Ref<TShadow>& shadow, int fixedWidth, const plat::Ref<TBitmapFont>& bitmapFont,
                 const plat::Ref<TColor>& inverseColor, const std::string& name) {
    ImageFont = imageFont;
    Color = color;
    Shadow = shadow;
    FixedWidth = fixedWidth;
    BitmapFont = bitmapFont;
    InverseColor = inverseColor;
    Name = name;
    CalcHeight();
}

plat::Ref<plat::TImageFont> TFont::DrawingImageFont() const { return ImageFont ? ImageFont : plat::DefaultFont(); }

void TFont::SelectImageFont() const {
    if (!BitmapFont) plat::SetImageFont(ImageFont);
}

float TFont::TextWidthIn(const std::string& text) const {
    if (BitmapFont) return static_cast<float>(BitmapFont->StringWidth(text));
    return DrawingImageFont()->TextWidth(text);
}

float TFont::LineHeight() const {
    if (BitmapFont) return static_cast<float>(std::floor(BitmapFont->StringHeight(BitmapFont->TestString)));
    return static_cast<float>(DrawingImageFont()->Height());
}

void TFont::Apply() { ApplyCustomColor(Color); }

void TFont::ApplyCustomColor(const plat::Ref<TColor>& color) {
    if (color) color->Apply();
    if (Shadow) {
        Shadow->ApplyToText();
        if (color) TextAlpha = color->Alpha;
    }
    SelectImageFont();
}

void TFont::ApplyInverse() {
    if (InverseColor) InverseColor->Apply();
    SelectImageFont();
}

void TFont::ApplyScale(double scale) {
    if (!BitmapFont) {
        plat::SetScale(static_cast<float>(scale), static_cast<float>(scale));
    } else {
        OldScale = BitmapFont->ScaleFactor;
        BitmapFont->ScaleFactor = scale;
    }
}

void TFont::RestoreScale() {
    if (!BitmapFont) plat::SetScale(1, 1);
    else BitmapFont->ScaleFactor = OldScale;
}

float TFont::CalcHeight() {
    if (BitmapFont) H = static_cast<float>(BitmapFont->StringHeight(BitmapFont->TestString));
    else H = static_cast<float>(DrawingImageFont()->Height());
    return H;
}

void TFont::Kill() {
    ImageFont = nullptr;
    BitmapFont = nullptr;
    Color = nullptr;
    InverseColor = nullptr;
    Shadow = nullptr;
}

// --- TLabel --------------------------------------------------------------------------

plat::Ref<TLabel> TLabel::CreateSpecial(const std::string& text, float x, float y, int alignment, int wordWrap,
                                        int centreVertically) {
    auto label = plat::New<TLabel>();
    label->Text = text;
    label->X = x;
    label->Y = y;
    label->Alignment = alignment;
    label->WordWrap = wordWrap;
    label->CentreVertically = centreVertically;
    label->Color = TColor::Create(255, 255, 255, 1);
    return label;
}

float TLabel::CalcWidth() {
    W = TextWidthIn(Text);
    return W * Scale;
}

float TLabel::CalcWordWrappedHeight() {
    H = static_cast<float>(TotalLines * LineGap);
    return H;
}

float TLabel::CalcHeight() {
    if (WordWrap <= 0) TFont::CalcHeight();
    else if (TotalLines > 0) CalcWordWrappedHeight();
    return H * Scale;
}

void TLabel::CalcSize() {
    CalcWidth();
    CalcHeight();
}

void TLabel::AutoScale(float maxWidth) {
    if (CalcWidth() > maxWidth && W > 0) Scale = maxWidth / W;
}

void TLabel::PreCalcWordWrap() {
    TextArray = WrapTextLinesMeasured(
        SplitLines(Text), static_cast<float>(WordWrap), [this](const std::string& t) { return TextWidthIn(t); },
        Scale);
    TotalLines = static_cast<int>(TextArray.size());
    if (LineGap == 0) LineGap = static_cast<int>(LineHeight());
    CalcWordWrappedHeight();
}

void TLabel::SetLineGap(int gap) {
    LineGap = gap;
    CalcWordWrappedHeight();
}

int TLabel::Draw(float x, float y, int useColourAlpha) {
    if (!Visible) return 0;
    float sx = 1, sy = 1;
    plat::GetScale(sx, sy);
    const bool scaled = Scale != 1.0f;
    if (scaled) plat::SetScale(sx * Scale, sy * Scale);
    SelectImageFont();
    float alpha = Alpha;
    if (useColourAlpha && Color) {
        Color->Apply();
        alpha *= Color->Alpha;
    }
    const bool alphaSet = alpha != 1.0f;
    if (alphaSet) plat::SetAlpha(alpha);

    if (WordWrap > 0) {
        for (std::size_t i = 0; i < TextArray.size(); ++i)
            DrawTextLine(TextArray[i], x + X, y + Y + static_cast<float>(i) * static_cast<float>(LineGap) * Scale,
                         useColourAlpha);
    } else if (CentreVertically) {
        float lift = H / 2;
        if (BitmapFont) {
            CalcHeight();
            float csx = 1, csy = 1;
            plat::GetScale(csx, csy);
            lift = H / 2 * csy;
        }
        DrawTextLine(Text, x + X, y + Y - lift, useColourAlpha);
    } else {
        DrawTextLine(Text, x + X, y + Y, useColourAlpha);
    }

    if (scaled) plat::SetScale(sx, sy);
    TColor::Restore();
    if (alphaSet) plat::SetAlpha(1);
    return 1;
}

void TLabel::DrawTextLine(const std::string& text, float x, float y, int useColourAlpha) {
    const int roundX = RoundCoords == 1 ? 1 : RoundXCoord;
    const int roundY = RoundCoords == 1 ? 1 : RoundYCoord;
    if (!Shadow) {
        if (BitmapFont) BitmapFont->DrawAligned(text, x, y, Alignment, roundX, roundY, 0);
        else DrawTextAligned(text, x, y, 0, Alignment, RoundCoords);
        return;
    }
    Shadow->ApplyToText();
    if (useColourAlpha && Color) TextAlpha = Color->Alpha;
    if (BitmapFont) BitmapFont->DrawAlignedWithShadow(text, x, y, Alignment, roundX, roundY);
    else DrawTextAligned(text, x, y, 1, Alignment, RoundCoords);
}

// --- TTextCursor ---------------------------------------------------------------------

void TTextCursor::Init(int newX, int newY, int gap) {
    x = newX;
    y = newY;
    linegap = gap;
}

void TTextCursor::NewLine() { y += linegap; }

void TTextCursor::Output(const std::string& text) const {
    DrawTextShadowAt(text, static_cast<float>(x), static_cast<float>(y), Shadow, 0);
}

void TTextCursor::OutputNL(const std::string& text) {
    Output(text);
    NewLine();
}

}  // namespace fw
