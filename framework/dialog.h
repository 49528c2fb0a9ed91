#pragma once
// Modal boxes.  TDialog is a coloured box (or a background picture) with a
// caption, an optional header sprite, a second text and two pictures, and
// a menu of buttons; it can slide in from an edge of the drawing space,
// fade, and dim what lies behind it.  TDialogOK shows a message with an OK
// button, TDialogYesNo asks a question, TDialogTextInput takes a line of
// text with OK (and Cancel), checking it before it is accepted.
//
// The owner creates one, calls Start, then Manage once per logic tick
// (which gives the close result once: 1 for OK or Yes, -1 for Cancel or
// No, 0 meanwhile) and Draw once per frame, and finally Kill.  While a
// dialog is open the shell leaves the Escape key to it (and a text dialog
// keeps the shell's keys blocked); closing or killing it gives them back.
//
// The standard buttons "OK", "Cancel", "Yes" and "No" are pictures of those
// names (and name + "MO") in the shell's menu folder, sounding "buttonMO"
// and "buttonclick" from its sound folder.

#include <functional>
#include <string>

#include "platform/core/object.h"
#include "platform/gfx/font.h"

namespace fw {

class TAnimation;
class TBitmapFont;
class TButton;
class TColor;
class TDialogOK;
class TGameChannel;
class TGameImage;
class TGameSound;
class TLabel;
class TMenu;
class TScreen;
class TShadow;
class TSprite;
class TTextInput;

class TDialog : public plat::Object {
public:
    plat::Ref<TLabel> Caption;
    plat::Ref<TGameImage> Background;  // gives the dialog its size
    int Active = 0;          // shown and managed
    int Disabled = 0;        // takes no input; the buttons only glow
    plat::Ref<TShadow> Shadow;  // of the box or background
    int DrawHighlight = 1;   // light top and left edges
    int w = 0, h = 0, x = 0, y = 0;
    int Border = 20;
    plat::Ref<TColor> DialogColor;
    plat::Ref<TMenu> Menu;
    int MenuShow = 1;
    int Centre = 1;          // centred in the drawing space
    int FixedWidth = 0;
    int WordWrapWidth = 0;   // 0: the box width less the borders
    int ReenableEscapeKey = 1;
    int OldIgnoreEscapeKey = 0;
    int CaptionOX = 0, CaptionOY = 0;  // both 0: placed automatically
    int CaptionOffsetX = 0, CaptionOffsetY = 0;
    int CaptionCentreVert = 0;
    int MenuOX = 0, MenuOY = 0;        // both 0: placed automatically
    plat::Ref<TSprite> Header;
    std::string Ext = ".png";  // of HeaderLoad's picture
    plat::Ref<TLabel> TextHeader;
    plat::Ref<TGameImage> Picture;     // placed from the dialog's corner
    int PictureX = 0, PictureY = 0;
    float PictureScale = 1.0f, PictureAngle = 0;
    plat::Ref<TShadow> PictureShadow;
    plat::Ref<TGameImage> Picture2;
    int Picture2X = 0, Picture2Y = 0;
    float Picture2Scale = 1.0f, Picture2Angle = 0;
    plat::Ref<TShadow> Picture2Shadow;
    plat::Ref<TAnimation> TransitionIn, TransitionOut;
    int Transitioning = 0;   // 0 none, 1 coming in, 2 going out
    float DimBackground = 0; // darkness of the dim behind the dialog
    int FadeDialog = 0;      // fade with the transitions
    int CloseResultTemp = 0, CloseResult = 0;
    plat::Ref<TGameChannel> FadeChannel;  // of the activation sound
    int Slide = 0;           // 0 none, 1 from the top, 2 right, 3 bottom, 4 left, 5 one of them
    int SlideSine = 0;       // eased
    int SlideExtra = 0;      // beyond the edge
    float OffsetX = 0, OffsetY = 0;  // slide offset of everything drawn
    float Alpha = 1.0f;      // as last drawn
    plat::Ref<TGameSound> ActivateSound, SlideInSound, SlideOutSound;

    virtual ~TDialog() = default;

    // w non-zero fixes the width.
    virtual void Init(const std::string& text, const plat::Ref<TGameImage>& background, int w, int h, int x,
                      int y);
    virtual void Start();
    virtual void SetupCaption(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                              const plat::Ref<TShadow>& shadow, const plat::Ref<TBitmapFont>& bitmapFont);
    virtual void SetupTextHeader(const std::string& text, const plat::Ref<plat::TImageFont>& font,
                                 const plat::Ref<TColor>& color, const plat::Ref<TShadow>& shadow,
                                 const plat::Ref<TBitmapFont>& bitmapFont, float x, float y, int centreVertically);
    // 5 picks one of the four edges at random, now.
    virtual void SetSlide(int slide, int sine);
    // Lengths in milliseconds (0: none); starts the in-transition.
    virtual void SetTransitions(int inLength, int outLength, float dim, int fade, int slide, int sine);
    virtual void CalcAll();
    virtual void CalcSize();
    virtual void CalcXY();
    virtual void CalcOffset();
    virtual int CaptionGetCentredX() const;
    // The shell's image folder + name + Ext, handled at its middle.
    virtual void HeaderLoad(const std::string& name, float x, float y);
    virtual void SetLabelsXY();
    virtual void MenuPosition();
    virtual int MenuGetCentredX();
    virtual int Manage();
    // 0 while inactive; 1 otherwise (and on the tick the out-transition
    // ends, which closes the dialog).
    virtual int ManageCore();
    // 1 on the tick the out-transition ends.
    virtual int ManageTransitions();
    // 0 when inactive.
    virtual int Draw();
    virtual void SetAlphas(float alpha);
    virtual void SetWordWrap(int width);
    virtual void DoDrawHighlight();
    // The result at once without an out-transition; else 0, and Manage
    // gives it when the transition ends.
    virtual int Close(int result);
    virtual void Finalise();
    // An open dialog is closed first, so the shell gets its keys back.
    virtual void Kill();

    // Height of the menu; 0 without one.
    int MenuHeight() const;
    // The menu's button of that name; nullptr without a menu or button.
    plat::Ref<TButton> Button(const std::string& name) const;

protected:
    // The standard menu of buttons: "buttonMO" and "buttonclick" sounds,
    // gap 10, a soft shadow.
    static plat::Ref<TMenu> StandardMenu();
    // The buttons centred under the caption, at the bottom of the box (or
    // at MenuOX, MenuOY), polled once without sound.
    void PlaceMenu();
    // Draws a label at the slide offset in its colour times its alpha
    // (shadowed text takes the shared text alpha).
    void DrawLabel(const plat::Ref<TLabel>& label) const;
    void DrawPicture(const plat::Ref<TGameImage>& picture, int px, int py, float scale, float angle,
                     const plat::Ref<TShadow>& shadow) const;
    // Rounding of the caption's and text header's coordinates for the slide.
    void RoundLabels();
};

class TDialogOK : public TDialog {
public:
    int Gap = 50;            // between caption and button
    int ClickAnywhereCloses = 0;

    static plat::Ref<TDialogOK> Create(const std::string& text, const plat::Ref<TGameImage>& background, int w,
                                       int h, int x);
    virtual void MenuCreate();
    virtual int OKClick();
    void CalcSize() override;
    void MenuPosition() override;
    int Manage() override;
};

class TDialogYesNo : public TDialog {
public:
    int Gap = 50;
    int ButtonGap = 50;      // between Yes and No
    std::function<void()> YesFunc, NoFunc;

    // Without withMenu the owner calls MenuCreate before the dialog is
    // started.
    static plat::Ref<TDialogYesNo> Create(const std::string& text, const plat::Ref<TGameImage>& background, int w,
                                          int h, int x, int withMenu, int buttonGap);
    virtual void MenuCreate(int buttonGap);
    virtual int YesClick();
    virtual int NoClick();
    virtual void ClickSound();
    void CalcSize() override;
    void MenuPosition() override;
    int Manage() override;
};

class TDialogTextInput : public TDialog {
public:
    plat::Ref<TLabel> Text;  // font, colour and place of the edited text
    int CharWidth = 0;
    int Gap = 30;
    plat::Ref<TColor> BoxColor;
    int DrawBox = 1;
    int BoxBorderH = 10, BoxBorderV = 5;
    int TextBorder = 10;
    plat::Ref<TTextInput> TextInput;
    int TextYOffset = 0;
    int AllowNull = 0;       // an empty text is accepted
    // Checks the text; -1 refuses it with the message it writes.
    std::function<int(const std::string& text, std::string& message)> ErrorCheckFunc;
    // Makes the box that shows a refusal.
    std::function<plat::Ref<TDialogOK>(const std::string& message)> ErrorDialogFunc;
    plat::Ref<TDialogOK> DialogOK;  // the refusal being shown
    int TextOX = 0, TextOY = 0;     // either non-zero: the text's place
    // Called when OK is accepted: above 0 closes the dialog; 0 keeps it
    // open (perhaps with a follow-up screen or dialog set).
    std::function<int(TDialogTextInput&)> OKClickedFunc;
    plat::Ref<TScreen> OKClickedScreen;  // run inside the dialog until done
    plat::Ref<TDialog> OKClickedDialog;
    int DrawDisabled = 0;
    int UppercaseFirstChar = 1;
    int DimWhenShowingDialogs = 0;

    // Without a menu yet: the owner calls MenuCreate, then SetupText.
    static plat::Ref<TDialogTextInput> Create(const std::string& caption, const std::string& text, int maxLength,
                                              const plat::Ref<TGameImage>& background, int w, int x, int y,
                                              int maxPixelWidth);
    virtual void SetupText(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                           const plat::Ref<TShadow>& shadow, int fixedWidth,
                           const plat::Ref<TBitmapFont>& bitmapFont);
    virtual void MenuCreate(int withCancel, int gap);
    virtual int ProcessOKClickedFunc();
    // Whether the text may be accepted; a refusal shows the error box (if
    // there is a way to make one) and keeps the editor taking keys.
    virtual int OKClickTest();
    virtual int OKClick();
    virtual int CancelClick();
    virtual void ClickSound();
    void Start() override;
    void CalcSize() override;
    void SetLabelsXY() override;
    void MenuPosition() override;
    int Manage() override;
    int Draw() override;
    void Kill() override;

private:
    void ResetAfterSubDialog();
};

}  // namespace fw
