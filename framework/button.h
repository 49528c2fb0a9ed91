#pragma once
// TButton: a clickable image button.  A sprite with up to four looks
// (normal, mouse-over, pressed, disabled), click and mouse-over sounds, an
// optional caption, glow and grow-on-hover effects, keyboard activation
// (Enter, and Space when allowed) and auto-repeat of a held button.
//
// The owner calls Manage once per logic tick and reads Clicked right after
// (it is set for that one tick), and Draw once per frame.  The button is
// placed and hit-tested in the drawing space (space.h) from its top-left
// corner, shifted by (offx, offy), which menus and dialogs use to slide
// their buttons.

#include <functional>
#include <string>

#include "framework/sprite.h"
#include "platform/audio/audio.h"
#include "platform/gfx/font.h"

namespace fw {

class TColor;
class TGameSound;
class TLabel;
class TMouseRepeat;
class TShadow;
class TBitmapFont;

// Appended to the names the buttons load.
extern std::string ButtonSoundExtension;  // ".wav"
extern std::string ButtonImageExtension;  // ".png"

class TButton : public TSprite {
public:
    plat::Ref<TGameImage> ImageDisabled;
    plat::Ref<TGameImage> ImageMouseClick;  // the pressed look
    plat::Ref<TGameImage> ImageMouseOver;
    plat::Ref<TGameSound> SoundMouseOver;
    plat::Ref<TGameSound> SoundClick;
    plat::Ref<TGameSound> SoundClick2;      // for repeated clicks
    plat::Ref<TLabel> Caption;
    plat::Ref<TColor> CaptionDisabledColor;
    plat::Ref<TMouseRepeat> MouseRepeat;
    int Active = 1;            // 0: neither polled nor drawn (unless AlwaysDraw)
    int AlwaysDraw = 0;
    int Animated = 0;          // kept for the owner
    int ClickDisabled = 1;     // a button with Disabled 1 still reacts
    int ClickWhenDown = 0;     // clicks are taken while the pressed look runs
    int Disabled = 0;          // 1 disabled; any other non-zero value never reacts
    int OKButton = 0;          // Enter (and Space) click it
    int OKButtonUseSpace = 1;
    int StayDown = 0;          // the pressed look stays until ClearClick
    int UseGlowOnMO = 1;
    int UseMenuPath = 0;       // images from the shell's menu folder, not its image folder
    // Non-zero vetoes hovering.
    std::function<int()> MouseOverUserFunction;
    int Clicked = 0;
    int MouseOver = 0;
    int AutoGlowOnMO = 0;
    plat::Ref<TColor> CaptionDownColor;
    float CaptionDownScale = 1.0f;
    float CaptionDownOffsetX = 0, CaptionDownOffsetY = 0;
    // Used instead of the shell's channel pool when it has none.
    plat::Ref<plat::TChannel> ChannelMouseOver, ChannelClick;
    int FixedGlowOnMO = 0;     // hover lights a glow that fades after
    int FixedGlowOnMOUseMO = 0;  // the mouse-over look while that glow lasts
    float MouseClickCounter = 0;   // ticks left of the pressed look
    float MouseClickDuration = 0;  // ticks of the pressed look
    int NoSound = 0;
    int OldRoundedCoords = 0;
    float ScaleOnMOMax = 1.0f;     // above 1: grows while hovered
    float ScaleOnMO = 1.0f;
    float ScaleOnMOUpSpeed = 0.03f;
    float ScaleOnMODownSpeed = 0.01f;

    // A button of `image` (and `imageMO` for the hover look) with its two
    // sounds (names without extension; "" for none).
    static plat::Ref<TButton> CreateSpecial(const std::string& image, const std::string& imageMO,
                                            const std::string& soundMO, const std::string& soundClick);

    void Init() override;
    // x centred in the drawing space.
    void CentreX(float y) override;
    // Nothing when neither Active nor AlwaysDraw.
    void Draw() override;
    void Kill() override;

    virtual void ClearClick();
    // 1 when the click is taken; repeat: a repeat of a held button.
    virtual int Click(int repeat);
    virtual void DrawCaption();
    virtual void FixedGlowOnMOActivate();
    virtual std::string GetPath() const;
    // Images from GetPath() + name + extension (frames >= 2: a strip of
    // frameW x frameH cells), sounds from the shell's sound folder.
    virtual void Load(const std::string& image, const std::string& imageMO, const std::string& soundMO,
                      const std::string& soundClick, int frameW, int frameH, int frames);
    virtual void LoadDisabled(const std::string& name);
    virtual void LoadImages(const std::string& image, const std::string& imageMO, int frameW, int frameH,
                            int frames);
    virtual void LoadMouseClick(const std::string& name, int ms);
    virtual void Manage();
    virtual void ManageNoSound();
    virtual void ManageScaleOnMO();
    // The button and its caption together.
    virtual void MoveBy(float dx, float dy);
    virtual void MoveTo(float x, float y);
    virtual void PlayClick();
    virtual void PlayClick2();
    virtual void PlayMouseOver();
    virtual void Precache();
    virtual void SetFixedGlowOnMO(float glowMax, float glowSpeed, int useMO);
    virtual void SetAutoGlow(float min, float max, float speed, int onMO);
    // A caption centred on the button, in the image font or bitmap font.
    virtual void SetupCaption(const std::string& text, const plat::Ref<plat::TImageFont>& font,
                              const plat::Ref<TColor>& color, const plat::Ref<TShadow>& shadow,
                              const plat::Ref<TBitmapFont>& bitmapFont, const plat::Ref<TColor>& inverseColor);
    virtual void SetupCaptionDown(const plat::Ref<TColor>& color, float scale, float offsetX, float offsetY);
    virtual void SetupMouseRepeat(int initialDelayMs, int delayMs);
    virtual void SetupScaleOnMO(float max, float upSpeed, float downSpeed);
    virtual void SimulateClick();

private:
    plat::Ref<TGameImage> LoadLook(const std::string& name, int frameW, int frameH, int frames) const;
    // Shadow, picture and (with glow) the light pass of one look.
    void DrawLook(const plat::Ref<TGameImage>& look, int lookFrame, bool glow, const plat::Ref<TGameImage>& glowImage);
    void DrawCaptionPressed();
};

}  // namespace fw
