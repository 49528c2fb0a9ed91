#include "framework/player_manager.h"

#include <algorithm>
#include <cmath>

#include "framework/banks.h"
#include "framework/button.h"
#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/list_box.h"
#include "framework/menu.h"
#include "framework/profile.h"
#include "framework/shapes.h"
#include "framework/text_input.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/io/fs.h"
#include "platform/sys/input.h"

namespace fw {

plat::Ref<TPlayerManager> TPlayerManager::Create(const std::string& caption, const plat::Ref<TGameImage>& background,
                                                 int width, int newX, int newY, int limit,
                                                 const std::string& buttonPath) {
    auto manager = plat::New<TPlayerManager>();
    manager->Init(caption, background, width, 0, newX, newY);
    manager->ListBox = TListBox::Create(10, 5, 0, 1, 500);
    manager->MenuCreate(manager->ButtonGap, buttonPath);
    manager->Limit = limit;
    manager->ListBox->Limit = limit;
    manager->FillList();
    manager->HighlightCurrentPlayer();
    return manager;
}

void TPlayerManager::MenuCreate(int, const std::string& buttonPath) {
    Menu = StandardMenu();
    for (const char* name : {"OK", "Create", "Delete", "Cancel"}) Menu->AddQuick(buttonPath + name, name);
    Menu->MakeRow(ButtonGap);
    if (const auto ok = Button("OK")) ok->OKButton = 1;
    MenuPosition();
}

void TPlayerManager::MenuPosition() {
    CalcAll();
    PlaceMenu();
}

void TPlayerManager::CalcSize() {
    TDialog::CalcSize();
    if (Background) return;
    // Without a picture the dialog holds its caption, the list's visible
    // lines and the buttons, inside the list's margins.
    int listH = 0;
    if (ListBox) {
        ListBox->CalcLineHeight();
        const int lines = Limit > 0 ? Limit : std::max(1, ListBox->Count());
        listH = lines * (ListBox->LineHeight + LineHeightAddition);
    }
    const int captionH = Caption ? static_cast<int>(std::ceil(Caption->CalcHeight())) : 0;
    h = std::max(h, 2 * Border + captionH + 2 * BoxBorderV + listH + MenuHeight());
    if (Menu) w = std::max(w, Menu->CalcWidth() + 2 * BoxBorderH);
    CalcXY();
}

void TPlayerManager::Start() {
    TDialog::Start();
    BoxSize();
}

void TPlayerManager::BoxSize() {
    if (!ListBox) return;
    const float captionH = Caption ? Caption->CalcHeight() : 0.0f;
    const float top = static_cast<float>(y + Border) + captionH;
    const float height =
        static_cast<float>(h - 2 * Border - MenuHeight() - 2 * BoxBorderV) - captionH;
    ListBox->SetCoords(static_cast<float>(x + BoxBorderH), top + static_cast<float>(BoxBorderV),
                       static_cast<float>(w - 2 * BoxBorderH), height);
    ListBox->CalcLineHeight();
    if (LineHeightAddition != 0) {
        ListBox->Box->H = height;
        ListBox->SetLineHeight(ListBox->LineHeight + LineHeightAddition);
    }
    auto& box = *ListBox->Box;
    box.X += static_cast<float>(BoxXTweak);
    if (BoxY != 0) {
        box.Y = static_cast<float>(BoxY);
    } else {
        const float menuTop = static_cast<float>(y + h - Border - MenuHeight());
        box.Y = top + (menuTop - top - box.H) / 2;
    }
}

int TPlayerManager::Listed(const std::string& name) const {
    if (!ListBox) return -1;
    const std::string wanted = plat::Upper(name);
    for (int i = 0; i < ListBox->Count(); ++i)
        if (plat::Upper(ListBox->Strings[static_cast<std::size_t>(i)]) == wanted) return i;
    return -1;
}

void TPlayerManager::FillList() {
    if (!ListBox) return;
    ListBox->Strings.clear();
    ListBox->ClearIndex();
    ListBox->TopIndex = 0;
    if (!Game) return;
    for (const std::string& entry : plat::LoadDir(Game->ProfilePath, true)) {
        if (plat::Lower(plat::ExtractExt(entry)) != "dat") continue;
        // A file no profile could have been saved as is not offered.
        const std::string name = plat::StripExt(entry);
        if (IsSafeProfileName(name)) ListBox->Strings.push_back(name);
    }
}

void TPlayerManager::HighlightCurrentPlayer() {
    if (!ListBox) return;
    ListBox->ClearIndex();
    if (Game && Game->CurrentProfile) {
        const int i = Listed(Game->CurrentProfile->Name);
        if (i >= 0) ListBox->SetIndex(i);
    }
}

void TPlayerManager::ShowMessage(const std::string& text) {
    if (ErrorDialogFunc) {
        DialogOK = ErrorDialogFunc(text);
        if (DialogOK && !DialogOK->Active) DialogOK->Start();
    } else {
        // The panel waits on the polled input and flushes it after.
        ShowMessageBox(text, 400, 100);
    }
}

bool TPlayerManager::SubDialogOpen() const { return DialogOK || DialogYesNo || EnterName; }

int TPlayerManager::CreateProfile() {
    if (Limit > 0 && ListBox && ListBox->Count() >= Limit) {
        ShowMessage(MessageCannotCreate);
        return 0;
    }
    if (!EnterNamePromptFunc) return 0;
    EnterName = EnterNamePromptFunc(1);
    if (!EnterName) return 0;
    if (const auto& input = EnterName->TextInput) {
        input->UppercaseFirstCharAsTyped = UpperFirstChar;
        input->MakeCharsFileNameSafe();
        input->BannedChars += ExtraBannedChars;
    }
    if (!EnterName->Active) EnterName->Start();
    EnterName->MenuPosition();
    return 1;
}

void TPlayerManager::DeleteProfileCheck() {
    if (!ListBox || ListBox->Index == -1) return;
    if (ListBox->Count() <= 1) {
        ShowMessage(MessageCannotDelete);
        return;
    }
    if (!DialogYesNoFunc) return;
    DialogYesNo = DialogYesNoFunc(MessageConfirmDelete);
    if (DialogYesNo && !DialogYesNo->Active) DialogYesNo->Start();
}

void TPlayerManager::DeleteProfile() {
    if (!ListBox || ListBox->Index == -1 || !Game) return;
    const int at = ListBox->Index;
    const std::string name = ListBox->Value;
    if (DeleteProfileUserFunction) DeleteProfileUserFunction(name);
    plat::DeleteFile(Game->ProfilePath + name + ".dat");
    FillList();
    ListBox->SetIndex(std::min(at, ListBox->Count() - 1));
}

void TPlayerManager::Choose(const std::string& name) {
    if (!Game) return;
    Game->ProfileName = name;
    // Fresh values first: a file that cannot be read gives a new player,
    // never a copy of the one chosen before.
    if (Game->CurrentProfile) Game->CurrentProfile->Init(name);
    else Game->CurrentProfile = TProfile::Create(name);
    Game->CurrentProfile->Load();
    Game->IniUpdate(1);
}

int TPlayerManager::OKClick() {
    if (!ListBox || ListBox->Index == -1) return 0;
    Choose(ListBox->Value);
    Close(1);
    return 1;
}

int TPlayerManager::CancelClick() {
    // The current player may just have been deleted: the first one listed
    // takes their place.
    const auto current = Game ? Game->CurrentProfile : nullptr;
    if (current && Listed(current->Name) < 0)
        Choose(ListBox && ListBox->Count() > 0 ? ListBox->Strings.front() : std::string());
    Close(1);
    return 1;
}

void TPlayerManager::ClickSound() {
    if (const auto ok = Button("OK")) ok->PlayClick();
}

template <class D>
int TPlayerManager::ManageSub(plat::Ref<D>& sub) {
    const int result = sub->Manage();
    if (result == 0) {
        if (Menu) Menu->ManageFixedGlowOnly();
        return 0;
    }
    sub->Kill();
    sub = nullptr;
    if (Menu) {
        Menu->ManageNoSound(OffsetX, OffsetY);
        Menu->ClearMouseClick();
    }
    return result;
}

int TPlayerManager::Manage() {
    if (DialogOK) {
        ManageSub(DialogOK);
        return 0;
    }
    if (DialogYesNo) {
        if (ManageSub(DialogYesNo) == 1) DeleteProfile();
        return 0;
    }
    if (EnterName) {
        const auto prompt = EnterName;
        if (ManageSub(EnterName) != 1) return 0;
        std::string name = prompt->TextInput ? prompt->TextInput->Text : std::string();
        if (UpperFirstChar && !name.empty()) name = plat::Upper(name.substr(0, 1)) + name.substr(1);
        // A name already listed (in any case: file names are found
        // regardless of case) chooses that player; it never makes a new
        // profile over theirs.  A name that can be no profile's file is
        // refused, and the player is told so.
        if (Listed(name) < 0) {
            if (!IsSafeProfileName(name)) {
                ShowMessage("Could not create file '" + (Game ? Game->ProfilePath : std::string()) + name + ".dat'");
                return 0;
            }
            if (CreateProfileFunc) CreateProfileFunc(name);
        }
        FillList();
        HighlightCurrentPlayer();
        const int created = Listed(name);
        if (created < 0) return 0;
        ListBox->SetIndex(created);
        return AutoAcceptAfterCreate ? OKClick() : 0;
    }
    if (!ManageCore() || !Active || Transitioning != 0 || Disabled) return 0;
    if (ListBox) {
        ListBox->Manage();
        if (ListBox->GetDoubleClicked() != -1) {
            ClickSound();
            return OKClick();
        }
    }
    if (Menu && Menu->Clicked("OK")) return OKClick();
    if (KeyHitCode(plat::KEY_ESCAPE)) {
        ClickSound();
        CancelClick();
        return -1;
    }
    if (Menu && Menu->Clicked("Cancel")) {
        CancelClick();
        return -1;
    }
    if (Menu && Menu->Clicked("Create")) CreateProfile();
    if (!SubDialogOpen() && ((Menu && Menu->Clicked("Delete")) || KeyHitCode(plat::KEY_DELETE))) DeleteProfileCheck();
    return 0;
}

int TPlayerManager::Draw() {
    int drawn = 0;
    if (!DrawDisabled && Active) {
        if (DimWhenActive) FadeScreen(0.5f);
        const int menuShow = MenuShow;
        MenuShow = 0;
        drawn = TDialog::Draw();
        MenuShow = menuShow;
        if (ListBox) ListBox->Draw();
        plat::SetBlend(plat::ALPHABLEND);
        if (FrontFrame && FrontFrame->image)
            plat::DrawImage(FrontFrame->image, static_cast<float>(FrontFrameX), static_cast<float>(FrontFrameY), 0);
        if (Header && Header->image)
            plat::DrawImage(Header->image, static_cast<float>(HeaderX), static_cast<float>(HeaderY), 0);
        if (Menu && MenuShow) Menu->Draw(OffsetX, OffsetY);
        const bool dim = (EnterName && (DimWhenShowingDialogs || DimWhenShowingEnterNamePrompt)) ||
                         ((DialogOK || DialogYesNo) && DimWhenShowingDialogs);
        if (dim) FadeScreen(0.5f);
    }
    if (DialogOK) DialogOK->Draw();
    if (DialogYesNo) DialogYesNo->Draw();
    if (EnterName) EnterName->Draw();
    return drawn;
}

void TPlayerManager::Kill() {
    if (DialogOK) DialogOK->Kill();
    if (DialogYesNo) DialogYesNo->Kill();
    if (EnterName) EnterName->Kill();
    DialogOK = nullptr;
    DialogYesNo = nullptr;
    EnterName = nullptr;
    TDialog::Kill();
    if (ListBox) ListBox->Kill();
    FrontFrame = nullptr;
    Header = nullptr;
}

}  // namespace fw
