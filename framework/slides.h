#pragma once
// A picture slide show for intros and cut scenes.  A TSlideShow plays its
// TSlides one after another; each slide shows one full-screen picture
// through up to three timed phases (in, hold, out), each a
// TTransitionEffect that scrolls or zooms the picture and fades it from or
// to black, reveals it through a scaled mask picture, or cross-fades from
// the slide before.  Optional black letter-box bars frame the picture.
// TSlideLine and TSlideLineList glide lines of text from a start point to an
// end point, phase by phase, for captions.  Everything is managed once per
// logic tick and drawn once per frame; lengths are given in milliseconds and
// counted in logic ticks.

#include <array>
#include <functional>
#include <string>

#include "framework/animation.h"
#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TGameImage;
class TColor;

class TTransitionEffect : public plat::Object {
public:
    int EffectType = 0;  // 0 plain (hold), 1 in, 2 out, 3 cross-fade from the slide before
    int Length = 0;      // ticks
    float ScrollSpeedX = 0, ScrollSpeedY = 0;  // per tick, taken off the position
    float ZoomSpeed = 0;                       // per tick, added to the scale
    plat::Ref<TGameImage> MaskImage;           // drawn over the middle of the screen
    float MaskStartSize = 1.0f, MaskEndSize = 1.0f;
    int MaskAndFade = 0;  // fade to or from black as well as the mask

    static plat::Ref<TTransitionEffect> Create(int type, int ms);
    // A new effect with the type, length, scroll speeds and mask; its zoom
    // speed and mask-and-fade flag start at 0.
    plat::Ref<TTransitionEffect> CreateCopy() const;
};

class TSlide : public plat::Object {
public:
    std::string name;
    plat::Ref<TGameImage> Image;
    plat::Ref<TTransitionEffect> InEffect, HoldEffect, OutEffect;
    plat::Ref<TTransitionEffect> CurrentEffect;  // none: the slide is over at once
    float Counter = 0;  // ticks into the phase
    float x = 0, y = 0;
    float ox = 0, oy = 0;
    float scale = 1.0f;
    int Centred = 1;
    plat::Ref<TSlide> LastSlide;  // the slide before, for cross-fades
    // While set and returning 0, the picture does not move.
    std::function<int(TSlide&)> UserManage;
    // Drawn over the picture.
    std::function<int(TSlide&)> UserDraw;

    // A non-empty image name loads the picture (flags imageArg, handled at
    // its middle when centred).  The name argument is not kept.
    static plat::Ref<TSlide> Create(const std::string& image, int imageArg, int centred,
                                    const plat::Ref<TTransitionEffect>& in,
                                    const plat::Ref<TTransitionEffect>& hold,
                                    const plat::Ref<TTransitionEffect>& out, const std::string& name);
    void CentreCoords();
    void Kill();
    void StoreOriginalCoords();
    // 1 once the slide has played all its phases.
    int Manage();
    void Draw();
    void DrawMask(float size);

private:
    void MoveByEffect();
    void DrawPicture();
};

class TSlideShow : public plat::TList<TSlide> {
public:
    int CurrentSlide = 0;     // index of the slide playing
    int LetterBoxHeight = 0;  // height of the picture band; 0: no bars
    int Finished = 0;

    static plat::Ref<TSlideShow> Create();
    plat::Ref<TSlide> AddSlide(const std::string& image, int imageArg, int centred,
                               const plat::Ref<TTransitionEffect>& in,
                               const plat::Ref<TTransitionEffect>& hold,
                               const plat::Ref<TTransitionEffect>& out, const std::string& name);
    void Kill();
    plat::Ref<TSlide> GetCurrentSlide() const;
    void PreCache();
    // 2 on the tick a new slide began, 1 once at the end, else 0.
    int Manage();
    void Draw();
};

class TSlideLine : public TAnimation {
public:
    std::array<float, MAX_PHASES> StartX{}, StartY{}, EndX{}, EndY{};
    float DX = 0, DY = 0;  // the current phase's distance
    std::string text;
    plat::Ref<TColor> Color;
    plat::Ref<plat::Object> AttachedObject;  // kept for the owner

    TSlideLine();

    void InitLine(const std::string& text, float startX, float startY, float endX, float endY,
                  int length);
    // 0 (and nothing changes) when all phases are in use.
    int AddPhaseSpecial(float startX, float startY, float endX, float endY, int length);
    void CalcDistance();
    float GetX() const;
    float GetY() const;
    int Manage() override;
    void Draw();
    void AttachObject(const plat::Ref<plat::Object>& object);
};

class TSlideLineList : public plat::TList<TSlideLine> {
public:
    plat::Ref<TColor> Color;  // shared by its lines

    TSlideLineList();

    plat::Ref<TSlideLine> Add(const std::string& text, float startX, float startY, float endX,
                              float endY, int length);
    void Start();
    void Manage();
    void Draw();
};

}  // namespace fw
