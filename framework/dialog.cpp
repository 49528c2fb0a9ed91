#include "framework/dialog.h"

#include <algorithm>

#include "framework/animation.h"
#include "framework/banks.h"
#include "framework/button.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/menu.h"
#include "framework/mouse.h"
#include "framework/screen.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "framework/sprite.h"
#include "framework/text_input.h"
#include "platform/core/random.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"

namespace fw {

namespace {

// A shadow whose darkness follows a fading dialog.
plat::Ref<TShadow> FadedShadow(const plat::Ref<TShadow>& shadow, float alpha) {
    if (!shadow || alpha == 1.0f) return shadow;
    return TShadow::Create(shadow->X, shadow->Y, shadow->Alpha * alpha);
}

float LabelHeight(const plat::Ref<TLabel>& label) { return label ? label->CalcHeight() : 0.0f; }

}  // namespace

// --- TDialog: set-up -----------------------------------------------------------------

void TDialog::Init(const std::string& text, const plat::Ref<TGameImage>& background, int newW, int newH, int newX,
                   int newY) {
    Caption = TLabel::CreateSpecial(text, 0, 0, 1, 0, 0);
    Background = background;
    DialogColor = TColor::Create(150, 150, 150, 1);
    w = newW;
    FixedWidth = newW != 0 ? 1 : 0;
    h = newH;
    x = newX;
    y = newY;
}

plat::Ref<TMenu> TDialog::StandardMenu() {
    auto menu = TMenu::Create("buttonMO", "buttonclick", 0, 0, 10);
    menu->SetShadow(1, 3.0f, 3.0f, 0.4f);
    return menu;
}

void TDialog::SetupCaption(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                           const plat::Ref<TShadow>& shadow, const plat::Ref<TBitmapFont>& bitmapFont) {
    if (Caption) Caption->Init(font, color, shadow, 0, bitmapFont, nullptr, "");
    CalcAll();
    MenuPosition();
}

void TDialog::SetupTextHeader(const std::string& text, const plat::Ref<plat::TImageFont>& font,
                              const plat::Ref<TColor>& color, const plat::Ref<TShadow>& shadow,
                              const plat::Ref<TBitmapFont>& bitmapFont, float headerX, float headerY,
                              int centreVertically) {
    TextHeader = TLabel::CreateSpecial(text, headerX, headerY, 1, 0, centreVertically);
    TextHeader->Init(font, color, shadow, 0, bitmapFont, nullptr, "");
}

void TDialog::HeaderLoad(const std::string& name, float headerX, float headerY) {
    const std::string folder = Game ? Game->ImagePath : std::string();
    Header = TSprite::Create(TGameImage::Create(folder + name + Ext, -1, 1), headerX, headerY);
}

void TDialog::SetSlide(int slide, int sine) {
    Slide = slide == 5 ? plat::Rand(1, 4) : slide;
    SlideSine = sine;
    if (Slide == 0) return;
    for (const auto& label : {Caption, TextHeader})
        if (label) label->RoundCoords = 0;
}

void TDialog::SetTransitions(int inLength, int outLength, float dim, int fade, int slide, int sine) {
    SetSlide(slide, sine);
    if (inLength > 0) {
        TransitionIn = TAnimation::Create(inLength, 0, 0, 0, 0);
        TransitionIn->Start();
        Transitioning = 1;
        CalcOffset();
        PlayPoolSound(SlideInSound);
    }
    if (outLength > 0) TransitionOut = TAnimation::Create(outLength, 0, 0, 0, 0);
    DimBackground = dim;
    FadeDialog = fade;
}

void TDialog::SetWordWrap(int width) {
    FixedWidth = 1;
    WordWrapWidth = width;
}

void TDialog::Start() {
    CalcAll();
    MenuPosition();
    // Started again while open, the setting kept from the first start stays.
    if (!Active && Game) {
        OldIgnoreEscapeKey = Game->IgnoreEscapeKey;
        Game->IgnoreEscapeKey = 1;
    }
    Active = 1;
    CloseResult = CloseResultTemp = 0;
    if (Slide == 5) Slide = plat::Rand(1, 4);
    CalcOffset();
}

// --- TDialog: layout -----------------------------------------------------------------

void TDialog::CalcAll() {
    CalcSize();
    SetLabelsXY();
}

void TDialog::CalcSize() {
    if (Background) {
        Background->MidHandle(0);
        w = Background->w;
        h = Background->h;
    } else if (Caption) {
        const float captionW = Caption->CalcWidth();
        if (!FixedWidth) {
            w = static_cast<int>(captionW) + 2 * Border;
        } else {
            int wrap = 0;
            if (WordWrapWidth > 0 && captionW > static_cast<float>(WordWrapWidth)) wrap = WordWrapWidth;
            else if (WordWrapWidth == 0 && captionW + static_cast<float>(2 * Border) > static_cast<float>(w))
                wrap = w - 2 * Border;
            if (wrap > 0) {
                Caption->WordWrap = wrap;
                Caption->PreCalcWordWrap();
                Caption->CalcHeight();
            }
        }
    }
    CalcXY();
}

void TDialog::CalcXY() {
    if (!Centre) return;
    x = (DrawingWidth() - w) / 2;
    y = (DrawingHeight() - h) / 2;
}

int TDialog::CaptionGetCentredX() const { return x + w / 2; }

int TDialog::MenuHeight() const { return Menu ? Menu->h : 0; }

int TDialog::MenuGetCentredX() { return x + (w - (Menu ? Menu->CalcWidth() : 0)) / 2; }

plat::Ref<TButton> TDialog::Button(const std::string& name) const { return Menu ? Menu->FindButton(name) : nullptr; }

void TDialog::SetLabelsXY() {
    if (!Caption) return;
    if (CaptionOX == 0 && CaptionOY == 0) {
        Caption->X = static_cast<float>(CaptionGetCentredX());
        if (Caption->WordWrap > 0 || CaptionCentreVert)
            Caption->Y = static_cast<float>(y + h / 2) - Caption->CalcHeight() / 2;
        else
            Caption->Y = static_cast<float>(y + Border);
    } else {
        Caption->X = static_cast<float>(CaptionOX);
        Caption->Y = static_cast<float>(CaptionOY);
    }
    Caption->X += static_cast<float>(CaptionOffsetX);
    Caption->Y += static_cast<float>(CaptionOffsetY);
}

void TDialog::MenuPosition() {
    if (Menu) Menu->ManageNoSound(OffsetX, OffsetY);
}

void TDialog::PlaceMenu() {
    if (!Menu) return;
    if (MenuOX == 0 && MenuOY == 0) {
        Menu->SetX(static_cast<float>(MenuGetCentredX()));
        Menu->SetY(static_cast<float>(y + h - MenuHeight() - Border));
    } else {
        Menu->SetX(static_cast<float>(MenuOX));
        Menu->SetY(static_cast<float>(MenuOY));
    }
    Menu->ManageNoSound(OffsetX, OffsetY);
}

void TDialog::CalcOffset() {
    OffsetX = OffsetY = 0;
    if (Transitioning <= 0 || Slide <= 0) return;
    float f = 1;
    if (Transitioning == 1 && TransitionIn)
        f = SlideSine ? 1 - TransitionIn->GetRatioInvSine() : TransitionIn->GetRatio();
    else if (Transitioning == 2 && TransitionOut)
        f = SlideSine ? 1 - TransitionOut->GetRatioSine() : TransitionOut->GetRatioInv();
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
    const auto extra = static_cast<float>(SlideExtra);
    switch (Slide) {
        case 1: OffsetY = f * (-fy - static_cast<float>(h) - extra); break;
        case 2: OffsetX = f * (static_cast<float>(DrawingWidth()) + extra - fx); break;
        case 3: OffsetY = f * (static_cast<float>(DrawingHeight()) + extra - fy); break;
        case 4: OffsetX = f * (-fx - static_cast<float>(w) - extra); break;
        default: break;
    }
}

// --- TDialog: per tick ---------------------------------------------------------------

int TDialog::Manage() { return ManageCore(); }

int TDialog::ManageCore() {
    if (!Active) return 0;
    if (ManageTransitions()) return 1;
    if (Menu) {
        if (Disabled || Transitioning == 2) Menu->ManageFixedGlowOnly();
        else if (Transitioning == 0) Menu->Manage(OffsetX, OffsetY);
    }
    return 1;
}

void TDialog::RoundLabels() {
    const bool still = Transitioning == 0;
    const bool vertical = Slide == 1 || Slide == 3;
    for (const auto& label : {Caption, TextHeader}) {
        if (!label) continue;
        if (Slide == 0) {
            label->RoundCoords = 1;
            label->RoundXCoord = label->RoundYCoord = 0;
        } else {
            // Along the slide the text moves smoothly; across it, and once
            // it rests, it keeps to whole pixels.
            label->RoundCoords = 0;
            label->RoundXCoord = vertical || still ? 1 : 0;
            label->RoundYCoord = !vertical || still ? 1 : 0;
        }
    }
}

int TDialog::ManageTransitions() {
    if (Transitioning == 1 && TransitionIn && TransitionIn->Manage() && !TransitionIn->Active) {
        Transitioning = 0;
        if (FadeDialog) SetAlphas(1);
        FadeChannel = PlayPoolSound(ActivateSound);
        FlushInput();
    } else if (Transitioning == 2 && TransitionOut) {
        if (TransitionOut->Manage() && !TransitionOut->Active) {
            if (FadeDialog) SetAlphas(0);
            Transitioning = 0;
            FlushInput();
            Finalise();
            if (FadeChannel && FadeChannel->Channel) FadeChannel->Channel->SetVolume(0);
            return 1;
        }
        if (FadeChannel) {
            FadeChannel->OriginalVolume = TransitionOut->GetRatio();
            const float volume = Game ? static_cast<float>(Game->SoundVolume) / 100.0f : 1.0f;
            if (FadeChannel->Channel) FadeChannel->Channel->SetVolume(volume * FadeChannel->OriginalVolume);
        }
    }
    RoundLabels();
    CalcOffset();
    return 0;
}

int TDialog::Close(int result) {
    CloseResultTemp = result;
    if (!TransitionOut) {
        Finalise();
        return result;
    }
    TransitionOut->Start();
    Transitioning = 2;
    PlayPoolSound(SlideOutSound);
    return 0;
}

void TDialog::Finalise() {
    Active = 0;
    if (ReenableEscapeKey && Game) Game->IgnoreEscapeKey = OldIgnoreEscapeKey;
    CloseResult = CloseResultTemp;
}

void TDialog::Kill() {
    if (Active) Finalise();
    if (Caption) Caption->Kill();
    if (Menu) Menu->Kill();
    Menu = nullptr;
    Background = nullptr;
    Shadow = nullptr;
    DialogColor = nullptr;
    Header = nullptr;
    TextHeader = nullptr;
    Picture = Picture2 = nullptr;
    PictureShadow = Picture2Shadow = nullptr;
    ActivateSound = SlideInSound = SlideOutSound = nullptr;
    FadeChannel = nullptr;
}

// --- TDialog: drawing ----------------------------------------------------------------

void TDialog::SetAlphas(float alpha) {
    if (Header) Header->Alpha = alpha;
    if (Menu) Menu->SetAlpha(alpha);
    if (Caption) Caption->Alpha = alpha;
    if (TextHeader) TextHeader->Alpha = alpha;
    // Shadowed text is drawn at the shared text alpha, not its label's.
    TextAlpha = alpha;
}

void TDialog::DoDrawHighlight() {
    const float left = static_cast<float>(x) + OffsetX, top = static_cast<float>(y) + OffsetY;
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(0.5f * Alpha);
    plat::DrawLine(left, top, left + static_cast<float>(w - 1), top);
    plat::DrawLine(left, top, left, top + static_cast<float>(h - 1));
    plat::SetAlpha(Alpha);
}

void TDialog::DrawLabel(const plat::Ref<TLabel>& label) const {
    if (!label) return;
    const float colourAlpha = label->Color ? label->Color->Alpha : 1.0f;
    if (label->Color) label->Color->ApplyNoAlpha();
    else plat::SetColor(255, 255, 255);
    const float own = label->Alpha;
    label->Alpha = own * colourAlpha;
    TextAlpha = label->Alpha;
    plat::SetAlpha(label->Alpha);
    label->Draw(OffsetX, OffsetY, 0);
    label->Alpha = own;
}

void TDialog::DrawPicture(const plat::Ref<TGameImage>& picture, int px, int py, float scale, float angle,
                          const plat::Ref<TShadow>& shadow) const {
    if (!picture || !picture->image) return;
    const float left = static_cast<float>(x + px) + OffsetX, top = static_cast<float>(y + py) + OffsetY;
    plat::SetScale(scale, scale);
    plat::SetRotation(angle);
    if (shadow) {
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(shadow->Alpha * Alpha);
        plat::DrawImage(picture->image, left + shadow->X, top + shadow->Y, 0);
        plat::SetColor(255, 255, 255);
    }
    plat::SetAlpha(Alpha);
    plat::DrawImage(picture->image, left, top, 0);
    plat::SetScale(1, 1);
    plat::SetRotation(0);
}

int TDialog::Draw() {
    if (!Active) return 0;
    float ratio = 1;
    if (Transitioning == 1 && TransitionIn) ratio = TransitionIn->GetRatioInv();
    else if (Transitioning == 2 && TransitionOut) ratio = TransitionOut->GetRatio();
    Alpha = FadeDialog && Transitioning != 0 ? ratio : 1.0f;
    const float dim = Transitioning != 0 ? DimBackground * ratio : DimBackground;
    if (dim > 0) FadeScreen(dim);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(Alpha);
    if (Alpha != 1.0f) SetAlphas(Alpha);

    const float left = static_cast<float>(x) + OffsetX, top = static_cast<float>(y) + OffsetY;
    const auto shadow = FadedShadow(Shadow, Alpha);
    if (!Background) {
        const float colourAlpha = DialogColor ? DialogColor->Alpha : 1.0f;
        if (DialogColor) DialogColor->ApplyNoAlpha();
        plat::SetAlpha(Alpha * colourAlpha);
        DrawRectWithShadow(left, top, static_cast<float>(w), static_cast<float>(h), shadow);
    } else if (Background->image) {
        DrawImageWithShadow(Background->image, left, top, shadow);
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(Alpha);
    if (DrawHighlight) DoDrawHighlight();

    if (Header) {
        const float hx = Header->x, hy = Header->y;
        Header->x += OffsetX;
        Header->y += OffsetY;
        Header->Draw();
        Header->x = hx;
        Header->y = hy;
    }
    DrawLabel(TextHeader);
    DrawLabel(Caption);
    TextAlpha = 1.0f;
    if (Menu && MenuShow) Menu->Draw(OffsetX, OffsetY);
    DrawPicture(Picture, PictureX, PictureY, PictureScale, PictureAngle, PictureShadow);
    DrawPicture(Picture2, Picture2X, Picture2Y, Picture2Scale, Picture2Angle, Picture2Shadow);
    TColor::Restore();
    return 1;
}

// --- TDialogOK -----------------------------------------------------------------------

plat::Ref<TDialogOK> TDialogOK::Create(const std::string& text, const plat::Ref<TGameImage>& background, int newW,
                                       int newH, int newX) {
    auto dialog = plat::New<TDialogOK>();
    dialog->Init(text, background, newW, newH, newX, 0);
    dialog->MenuCreate();
    return dialog;
}

void TDialogOK::MenuCreate() {
    Menu = StandardMenu();
    Menu->AddQuick("OK", "")->OKButton = 1;
    MenuPosition();
}

void TDialogOK::CalcSize() {
    TDialog::CalcSize();
    if (!Background) h = static_cast<int>(static_cast<float>(MenuHeight() + Gap + 2 * Border) + LabelHeight(Caption));
}

void TDialogOK::MenuPosition() {
    CalcAll();
    PlaceMenu();
}

int TDialogOK::OKClick() {
    FlushInput();
    return Close(1);
}

int TDialogOK::Manage() {
    if (!ManageCore()) return 0;
    if (CloseResult != 0) return CloseResult;
    if (Transitioning != 0 || Disabled) return 0;
    const bool clickAnywhere = ClickAnywhereCloses && Game && Game->Mouse && Game->Mouse->GetMh(1);
    if (KeyHitCode(plat::KEY_ESCAPE) || clickAnywhere) {
        if (const auto ok = Button("OK")) ok->SimulateClick();
        return OKClick();
    }
    if (Menu && Menu->Clicked("OK")) return OKClick();
    return 0;
}

// --- TDialogYesNo --------------------------------------------------------------------

plat::Ref<TDialogYesNo> TDialogYesNo::Create(const std::string& text, const plat::Ref<TGameImage>& background,
                                             int newW, int newH, int newX, int withMenu, int buttonGap) {
    auto dialog = plat::New<TDialogYesNo>();
    dialog->Init(text, background, newW, newH, newX, 0);
    dialog->ButtonGap = buttonGap;
    if (withMenu) dialog->MenuCreate(buttonGap);
    return dialog;
}

void TDialogYesNo::MenuCreate(int buttonGap) {
    Menu = StandardMenu();
    Menu->AddPair("Yes", "No", buttonGap, "");
    if (const auto yes = Button("Yes")) yes->OKButton = 1;
    MenuPosition();
}

void TDialogYesNo::CalcSize() {
    TDialog::CalcSize();
    if (!Background) h = static_cast<int>(static_cast<float>(MenuHeight() + Gap + 2 * Border) + LabelHeight(Caption));
}

void TDialogYesNo::MenuPosition() {
    CalcAll();
    PlaceMenu();
}

void TDialogYesNo::ClickSound() {
    if (const auto yes = Button("Yes")) yes->PlayClick();
}

int TDialogYesNo::YesClick() {
    FlushInput();
    if (YesFunc) YesFunc();
    return Close(1);
}

int TDialogYesNo::NoClick() {
    FlushInput();
    if (NoFunc) NoFunc();
    return Close(-1);
}

int TDialogYesNo::Manage() {
    if (!ManageCore()) return 0;
    if (CloseResult != 0) return CloseResult;
    if (Transitioning != 0 || Disabled) return 0;
    if (KeyHitCode(plat::KEY_ESCAPE) || KeyHitCode(plat::KEY_N)) {
        if (const auto no = Button("No")) no->SimulateClick();
        return NoClick();
    }
    if (KeyHitCode(plat::KEY_Y)) {
        if (const auto yes = Button("Yes")) yes->SimulateClick();
        return YesClick();
    }
    if (!Menu) return 0;
    if (Menu->Clicked("No")) return NoClick();
    if (Menu->Clicked("Yes")) return YesClick();
    return 0;
}

// --- TDialogTextInput ----------------------------------------------------------------

plat::Ref<TDialogTextInput> TDialogTextInput::Create(const std::string& caption, const std::string& text,
                                                     int maxLength, const plat::Ref<TGameImage>& background,
                                                     int newW, int newX, int newY, int maxPixelWidth) {
    auto dialog = plat::New<TDialogTextInput>();
    dialog->Init(caption, background, newW, 0, newX, newY);
    dialog->Text = TLabel::CreateSpecial(text, 0, 0, 0, 0, 0);
    dialog->BoxColor = TColor::Create(0, 0, 0, 1);
    dialog->TextInput = plat::New<TTextInput>();
    dialog->TextInput->MaxLength = maxLength;
    dialog->TextInput->MaxPixelWidth = maxPixelWidth;
    return dialog;
}

void TDialogTextInput::SetupText(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                                 const plat::Ref<TShadow>& shadow, int fixedWidth,
                                 const plat::Ref<TBitmapFont>& bitmapFont) {
    Text->Init(font, color, shadow, fixedWidth, bitmapFont, nullptr, "");
    Text->CalcSize();
    TextInput->Init(Text->ImageFont, Text->Text, static_cast<int>(Text->X), static_cast<int>(Text->Y), bitmapFont);
    // The keys are blocked once the dialog starts, not while it is being set up.
    if (Game) Game->BlockKeys = 0;
    TextInput->TextCol = Text->Color ? TColor::Create(Text->Color->R, Text->Color->G, Text->Color->B, Text->Color->Alpha)
                                     : nullptr;
    TextInput->TextShadow = Text->Shadow;
    TextInput->DrawDots = Text->FixedWidth;
    TextInput->AllowNull = AllowNull;
    if (!Button("Cancel")) TextInput->AllowEscToAbort = 0;
    if (const auto ok = Button("OK")) ok->OKButtonUseSpace = 0;
    MenuPosition();
}

void TDialogTextInput::MenuCreate(int withCancel, int gap) {
    Menu = StandardMenu();
    if (withCancel) Menu->AddPair("OK", "Cancel", gap, "");
    else Menu->AddQuick("OK", "");
    if (const auto ok = Button("OK")) ok->OKButton = 1;
    MenuPosition();
}

void TDialogTextInput::Start() {
    TDialog::Start();
    if (Game) Game->BlockKeys = 1;
}

void TDialogTextInput::CalcSize() {
    TDialog::CalcSize();
    if (!Background)
        h = static_cast<int>(static_cast<float>(MenuHeight() + 2 * Gap + 2 * Border) + LabelHeight(Caption) +
                             LabelHeight(Text));
}

void TDialogTextInput::SetLabelsXY() {
    TDialog::SetLabelsXY();
    if (!Text) return;
    if (TextOX != 0 || TextOY != 0) {
        Text->X = static_cast<float>(TextOX);
        Text->Y = static_cast<float>(TextOY);
    } else {
        Text->X = static_cast<float>(x + BoxBorderH + TextBorder);
        Text->Y = (Caption ? Caption->Y : static_cast<float>(y)) + LabelHeight(Caption) + static_cast<float>(Gap);
    }
    if (TextInput) {
        TextInput->X = static_cast<int>(Text->X);
        TextInput->Y = static_cast<int>(Text->Y) + TextYOffset;
    }
}

void TDialogTextInput::MenuPosition() {
    CalcAll();
    PlaceMenu();
}

void TDialogTextInput::ClickSound() {
    if (const auto ok = Button("OK")) ok->PlayClick();
}

int TDialogTextInput::OKClickTest() {
    if (!TextInput) return AllowNull;
    TextInput->ForceDraw = 1;
    std::string& text = TextInput->Text;
    if (UppercaseFirstChar && !text.empty()) text = plat::Upper(text.substr(0, 1)) + text.substr(1);
    std::string message;
    const bool refused = ErrorCheckFunc && ErrorCheckFunc(text, message) == -1;
    if (refused && ErrorDialogFunc) {
        DialogOK = ErrorDialogFunc(message);
        if (DialogOK) {
            DialogOK->ReenableEscapeKey = 0;
            if (!DialogOK->Active) DialogOK->Start();
        }
    }
    if (!refused && (AllowNull || !plat::Trim(text).empty())) return 1;
    // Refused: the player goes on typing (after the error box, if any).
    if (!DialogOK && !TextInput->Active) TextInput->Reset();
    if (Game) Game->BlockKeys = 1;
    return 0;
}

int TDialogTextInput::ProcessOKClickedFunc() {
    if (!OKClickedFunc) return 1;
    const int result = OKClickedFunc(*this);
    if (result > 0) return result;
    // Kept open without a follow-up to run: back to typing.
    if (!OKClickedScreen && !OKClickedDialog && TextInput && !TextInput->Active) TextInput->Reset();
    return 0;
}

int TDialogTextInput::OKClick() {
    FlushInput();
    return Close(1);
}

int TDialogTextInput::CancelClick() {
    if (TextInput) TextInput->ForceDraw = 1;
    FlushInput();
    return Close(-1);
}

void TDialogTextInput::ResetAfterSubDialog() {
    if (!Menu) return;
    Menu->ClearStates();
    Menu->ManageNoSound(OffsetX, OffsetY);
}

int TDialogTextInput::Manage() {
    if (!Active) return 0;
    if (OKClickedScreen) {
        if (OKClickedScreen->EmbeddedLogic() != 1) return 0;
        OKClickedScreen->Kill();
        OKClickedScreen = nullptr;
        if (Menu) Menu->ClearStates();
        return 1;
    }
    if (OKClickedDialog) {
        if (OKClickedDialog->Manage() == 0) return 0;
        OKClickedDialog->Kill();
        OKClickedDialog = nullptr;
        if (Menu) Menu->ClearStates();
        return OKClick();
    }
    if (DialogOK) {
        if (DialogOK->Manage() == 0) return 0;
        DialogOK->Kill();
        DialogOK = nullptr;
        ResetAfterSubDialog();
        if (TextInput) TextInput->Reset();
        return 0;
    }
    if (ManageTransitions() || CloseResult != 0) return CloseResult;
    if (Disabled || Transitioning == 2) {
        if (Menu) Menu->ManageFixedGlowOnly();
        return 0;
    }
    if (Transitioning != 0) return 0;

    const auto ok = Button("OK");
    const auto cancel = Button("Cancel");
    const int typed = TextInput ? TextInput->Manage() : 0;
    if (typed == 1) {
        if (ok) ok->SimulateClick();
        if (OKClickTest() && ProcessOKClickedFunc()) return OKClick();
        return 0;
    }
    if (typed == -1) {
        if (cancel) cancel->SimulateClick();
        return CancelClick();
    }
    if (!Menu) return 0;
    Menu->Manage(OffsetX, OffsetY);
    if (Menu->Clicked("OK") && OKClickTest()) {
        if (TextInput) TextInput->Finish();
        return ProcessOKClickedFunc() ? OKClick() : 0;
    }
    const bool cancelClicked = Menu->Clicked("Cancel") != 0;
    if (cancelClicked || (cancel && cancel->Active && KeyHitCode(plat::KEY_ESCAPE))) {
        if (TextInput) TextInput->Finish();
        if (!cancelClicked && ok) ok->PlayClick();
        return CancelClick();
    }
    return 0;
}

int TDialogTextInput::Draw() {
    int drawn = 0;
    if (!DrawDisabled && (drawn = TDialog::Draw()) != 0) {
        if (DrawBox && BoxColor && Text) {
            BoxColor->ApplyNoAlpha();
            plat::SetAlpha(BoxColor->Alpha * Alpha);
            plat::DrawRect(static_cast<float>(x + BoxBorderH) + OffsetX,
                           Text->Y - static_cast<float>(BoxBorderV) + OffsetY, static_cast<float>(w - 2 * BoxBorderH),
                           Text->CalcHeight() + static_cast<float>(2 * BoxBorderV));
            TColor::Restore();
        }
        if (TextInput) {
            TextInput->OffsetX = OffsetX;
            TextInput->OffsetY = OffsetY;
            // The editor's colours fade with the dialog.
            const plat::Ref<TColor> colours[] = {TextInput->TextCol, TextInput->DotCol, TextInput->CursorCol};
            float saved[3] = {};
            for (int i = 0; i < 3; ++i)
                if (colours[i]) {
                    saved[i] = colours[i]->Alpha;
                    colours[i]->Alpha *= Alpha;
                }
            const float savedTextAlpha = TextAlpha;
            TextInput->Draw();
            TextAlpha = savedTextAlpha;
            for (int i = 0; i < 3; ++i)
                if (colours[i]) colours[i]->Alpha = saved[i];
        }
        if (DialogOK) {
            if (DimWhenShowingDialogs) FadeScreen(0.5f);
            DialogOK->Draw();
        }
    }
    if (OKClickedScreen) OKClickedScreen->Draw();
    if (OKClickedDialog) OKClickedDialog->Draw();
    return drawn;
}

void TDialogTextInput::Kill() {
    if (Active) {
        if (TextInput && TextInput->Active) TextInput->Finish();
        if (Game) Game->BlockKeys = 0;
    }
    if (DialogOK) DialogOK->Kill();
    if (OKClickedDialog) OKClickedDialog->Kill();
    DialogOK = nullptr;
    OKClickedDialog = nullptr;
    if (OKClickedScreen) OKClickedScreen->Kill();
    OKClickedScreen = nullptr;
    TDialog::Kill();
    if (Text) Text->Kill();
    BoxColor = nullptr;
}

}  // namespace fw
