#pragma once
// The shell's mouse pointer (fed from window events by the shell, drawn on
// top of the screen) and repeaters that turn a held key or button into a
// first press followed by timed repeats.

#include <functional>
#include <string>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {

class TParticleList;

class TMousePointer : public plat::Object {
public:
    TMousePointer();

    int Active = 1;
    plat::Ref<plat::TImage> Image;  // none: a single pixel is drawn
    int ImageFrame = 0;
    std::string Ext = ".png";
    int Rotation = 0;
    plat::Ref<plat::TImage> Image2;  // drawn under the pointer
    int Image2Frame = 0;
    int Image2xoff = 0, Image2yoff = 0;
    float Image2Scale = 1.0f;
    int x = 0, y = 0;  // window pixels
    int z = 0;         // wheel
    int w = 0, h = 0;
    int b1 = 0, b2 = 0, b3 = 0;  // held
    int mb = 0;
    int h1 = 0, h2 = 0, h3 = 0;  // clicks since the last clear
    int mh = 0;
    int offsetx = 0, offsety = 0;
    std::function<int()> ParticleFunc;
    plat::Ref<TParticleList> ParticleList;
    float SparkleCounter = 0;
    int SparkleLength = 15;
    std::function<int(int, int)> UserDraw;  // called with the drawn position

    virtual void On();
    virtual void Off();
    virtual void Load(const std::string& name);
    virtual void CalcSize();
    virtual void Update();
    virtual int Manage();
    virtual void UpdateCoords();
    virtual void ClearButtons();
    virtual void ClearMouseHit();
    virtual int GetMb();
    virtual int GetMh(int clear);
    virtual void CalcButtonTotals();
    // Drawn in the drawing space (the virtual resolution when it is on),
    // at the point the widgets hit-test.
    virtual void Draw();
};

class TKeyRepeat : public plat::Object {
public:
    int InitialDelayLength = 0;    // ms
    float InitialDelayCounter = 0; // ticks
    int DelayLength = 0;           // ms
    int DelayCounter = 0;          // whole ticks
    int LastState = 0;

    void ClearDelays();
    static plat::Ref<TKeyRepeat> Create(int initialDelayMs, int delayMs);
    // 1 on the tick the key goes down and on every repeat, else 0.
    int GetKey(int keyCode);
};

class TMouseRepeat : public plat::Object {
public:
    int InitialDelayLength = 0;
    float InitialDelayCounter = 0;
    int DelayLength = 0;
    int DelayCounter = 0;
    int LastState = 0;

    void ClearDelays();
    static plat::Ref<TMouseRepeat> Create(int initialDelayMs, int delayMs);
    // 1 for the first press, 2 at the end of the initial delay and on each
    // repeat, else 0.
    int GetButton();
};

}  // namespace fw
