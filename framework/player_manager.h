#pragma once
// TPlayerManager: the dialog in which a player picks their profile from
// those in the shell's profiles folder, creates one or deletes one.  It
// lists the profiles in a list box over buttons OK, Create, Delete and
// Cancel; a double click on a name acts as OK.  Creating asks for a name
// in a text dialog, deleting asks for confirmation, and refusals (a full
// list, the last player, a name that can be no file name) are shown in a
// message box; the owner supplies the functions that make those three
// dialogs and the one that creates a profile (normally TProfile::Create
// followed by Save).  While one of them is open it alone takes input.
//
// Choosing a profile makes it the shell's current profile (Game->ProfileName
// and Game->CurrentProfile, loaded from its file) and saves the settings.

#include <functional>
#include <string>

#include "framework/dialog.h"

namespace fw {

class TListBox;

class TPlayerManager : public TDialog {
public:
    int Limit = 10;          // most profiles allowed; 0 or less: no limit
    int ButtonGap = 10;
    int BoxBorderH = 20, BoxBorderV = 20;  // margins of the list inside the dialog
    int BoxXTweak = 0;
    int BoxY = 0;            // top of the list; 0: centred between caption and buttons
    int DimWhenActive = 0;
    int DimWhenShowingDialogs = 0;
    int DimWhenShowingEnterNamePrompt = 0;
    int UpperFirstChar = 1;  // new names start with a capital
    std::string ExtraBannedChars;
    plat::Ref<TGameImage> FrontFrame;  // drawn over the list
    int FrontFrameX = 0, FrontFrameY = 0;
    // A picture over the list (this hides the dialog's header sprite,
    // which the manager does not use).
    plat::Ref<TGameImage> Header;
    int HeaderX = 0, HeaderY = 0;
    plat::Ref<TListBox> ListBox;
    int LineHeightAddition = 0;
    std::function<plat::Ref<TDialogOK>(const std::string& text)> ErrorDialogFunc;
    plat::Ref<TDialogOK> DialogOK;
    std::function<plat::Ref<TDialogYesNo>(const std::string& text)> DialogYesNoFunc;
    plat::Ref<TDialogYesNo> DialogYesNo;
    std::function<plat::Ref<TDialogTextInput>(int withCancel)> EnterNamePromptFunc;
    plat::Ref<TDialogTextInput> EnterName;
    std::function<void(const std::string& name)> CreateProfileFunc;
    int DrawDisabled = 0;    // only the open sub-dialog is drawn
    int AutoAcceptAfterCreate = 1;
    std::function<void(const std::string& name)> DeleteProfileUserFunction;
    std::string MessageCannotCreate = "You cannot create any more players!";
    std::string MessageCannotDelete = "The list must contain at least one player!";
    std::string MessageConfirmDelete = "Are you sure you want to delete this player?";

    // The dialog's size comes from `background` (without one: see
    // CalcSize).  Button pictures are buttonPath + "OK" and so on in the
    // menu folder.
    static plat::Ref<TPlayerManager> Create(const std::string& caption, const plat::Ref<TGameImage>& background,
                                            int width, int x, int y, int limit, const std::string& buttonPath);
    // Opens the name prompt; 0 (with a message) when the list is full.
    virtual int CreateProfile();
    virtual void BoxSize();
    // The first argument is not used: the buttons are ButtonGap apart.
    virtual void MenuCreate(int gap, const std::string& buttonPath);
    virtual void FillList();
    virtual void HighlightCurrentPlayer();
    virtual void DeleteProfile();
    virtual void DeleteProfileCheck();
    virtual int OKClick();
    virtual int CancelClick();
    virtual void ClickSound();
    void Start() override;
    // With a background its size; without one, room for the caption, the
    // list's visible lines (Limit, or every name when there is no limit)
    // and the buttons.  A larger h or w set by the owner is kept.
    void CalcSize() override;
    void MenuPosition() override;
    // 0 while open; 1 when a profile was chosen, -1 when cancelled.
    int Manage() override;
    int Draw() override;
    void Kill() override;

private:
    void ShowMessage(const std::string& text);
    // Makes `name` (or the first listed one) the shell's current profile.
    void Choose(const std::string& name);
    // A sub-dialog's tick: 0 while it stays open, else its result, after
    // which it is dropped and the menu freed.
    template <class D>
    int ManageSub(plat::Ref<D>& sub);
    bool SubDialogOpen() const;
    int Listed(const std::string& name) const;
};

}  // namespace fw
