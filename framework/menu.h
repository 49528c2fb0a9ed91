#pragma once
// TMenu: a list of buttons stacked as a column (or laid out as a row, or in
// pairs), polled and drawn together.  Each tick it records the name of the
// button under the pointer and of the one clicked, so the owner asks by
// name: if (menu->Clicked("ok")) ...  Names are upper case: a button's
// image name, or the name it was added with.
//
// A screen may keep one (TScreen::Menu), which the base screen hooks run,
// draw and kill.  Positions are in the drawing space (space.h).

#include <string>

#include "framework/button.h"
#include "platform/core/list.h"

namespace fw {

class TGameSound;

class TMenu : public plat::TList<TButton> {
public:
    float x = 0, y = 0;    // origin: left, top
    float OX = 0, OY = 0;  // origin kept by StoreOriginalCoords
    int w = 0, h = 0;      // from CalcWidth / CalcHeight; h also grows as buttons are added
    std::string MouseOverName;  // this tick
    std::string ClickedName;    // this tick
    plat::Ref<TGameSound> SoundMouseOver, SoundClick;  // given to every button added
    int NextY = 0;         // top of the next button added
    int Gap = 0;           // between stacked buttons
    int AddGap = 0;        // 0 until the first button is in
    int NoSound = 0;
    int Shadow = 0;        // shadow of buttons added from now on
    float ShadowX = 3.0f, ShadowY = 3.0f;
    float ShadowAlpha = 0.5f;
    int ClearClickedName = 1;    // Clicked(name) consumes the click
    int ClearMouseOverName = 0;  // MouseOver(name) consumes the hover
    int AcceptInput = 1;         // 0: only fixed glows run

    // Sound names without extension, "" for none.
    static plat::Ref<TMenu> Create(const std::string& soundMO, const std::string& soundClick, float x, float y,
                                   int gap);
    virtual void Init(const std::string& soundMO, const std::string& soundClick, float x, float y, int gap);
    virtual void Kill();

    virtual void SetButtonCaptionRoundCoords(int round, int roundX, int roundY);
    // For buttons added from now on.
    virtual void SetShadow(int shadow, float x, float y, float alpha);
    // Both the buttons already in and those to come.
    virtual void ChangeShadow(int shadow, float x, float y, float alpha);
    virtual void SetAlpha(float alpha);
    // For the buttons already in.
    virtual void ResetShadow(int shadow, float x, float y, float alpha);

    // A button (images from the shell's menu folder) centred at NextY and
    // appended; the stack grows under it.
    virtual plat::Ref<TButton> AddNew(const std::string& image, const std::string& imageMO,
                                      const std::string& name, int frameW, int frameH, int frames);
    // The same without growing the stack.
    virtual plat::Ref<TButton> DoAddNew(const std::string& image, const std::string& imageMO,
                                        const std::string& name, int frameW, int frameH, int frames);
    virtual void IncreaseHeight(const plat::Ref<TButton>& button);
    // image and image + "MO".
    virtual plat::Ref<TButton> AddQuick(const std::string& image, const std::string& name);
    // AddQuick, plus image + "_disabled" and image + "_down" (a 200 ms
    // pressed look) when those files exist.
    virtual plat::Ref<TButton> AddQuickAuto(const std::string& image, const std::string& name);
    // Two buttons side by side, `gap` apart; a prefix goes before both names.
    virtual void AddPair(const std::string& image1, const std::string& image2, int gap, const std::string& prefix);
    virtual plat::Ref<TButton> FindButton(const std::string& name) const;

    virtual void StoreOriginalCoords();
    virtual void SetX(float newX);
    virtual void SetY(float newY);
    virtual void SetPairX(const std::string& name1, const std::string& name2, float newX);
    // Every button scaled and placed at origin + scale x (its stored place - origin).
    virtual void ScaleMenu(float sx, float sy);
    virtual void CalcCoords();
    // The leftmost button's x (10000 for an empty menu).
    virtual void CalcLeft();
    virtual void CalcTop();
    // From the buttons' extremes; an empty menu gives -20000.
    virtual int CalcWidth();
    virtual int CalcHeight();
    virtual void CentreHoriz();
    virtual void CentreVert();
    virtual void Centre();
    // The buttons one under another (beside each other), `gap` apart, then centred.
    virtual void MakeColumn(int gap);
    virtual void MakeRow(int gap);

    virtual void ClearStates();
    virtual void ClearScale();
    virtual void ClearGlow();
    virtual void ClearMouseClick();
    virtual void ClearMouseOver();
    // 1 when the button of that name was clicked this tick.
    virtual int Clicked(const std::string& name);
    virtual int MouseOver(const std::string& name);

    virtual int ManageNoSound(float offX, float offY);
    virtual void Precache();
    // 1 when the buttons were polled: nothing is during a screen fade, while
    // AcceptInput is 0 or while the shell's pointer is off.
    virtual int Manage(float offX, float offY);
    virtual void ManageFixedGlowOnly();
    virtual void ManageScaleOnMO();
    virtual void Draw(float offX, float offY);

private:
    // Along x (across) or y: the smallest button coordinate (10000 without
    // buttons), and the distance from it to the farthest button edge
    // (-20000 without buttons).
    float Lowest(bool across) const;
    int Extent(bool across) const;
    // Places the buttons in a line along one axis, then centres the menu.
    void Line(int gap, bool column);
};

}  // namespace fw
