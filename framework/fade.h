#pragma once
// Two full-screen picture effects.  TFade shows one picture fading in or out
// (optionally over a drifting, zooming background, with a sound channel's
// volume following it) in a blocking loop of its own that draws and
// presents every frame until the time is up or the player presses a key or
// clicks: it is for splash pictures outside the normal screen loop.
// TCrossFade blends from one picture to another under a TAnimation and is
// driven by its owner's logic and drawing.  (The shell's screen fade is
// TGameFade.)

#include "platform/audio/audio.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {

class TAnimation;

class TFade : public plat::Object {
public:
    plat::Ref<plat::TChannel> Channel;  // its volume follows the fade
    plat::Ref<plat::TImage> Image;
    int X = 0, Y = 0;
    float Length = 0;      // ms
    double StartTime = 0;  // clock time of Reset, ms (64-bit clock)
    float Elapsed = 0;     // ms since StartTime
    float Ratio = 0;       // picture opacity 0..1
    double LastTime = 0;   // clock time of the last background step
    plat::Ref<plat::TImage> Background;
    float BackgroundX = 0, BackgroundY = 0;
    float BackgroundZoom = 1.0f;
    float BackgroundXSpeed = 0, BackgroundYSpeed = 0, BackgroundZoomSpeed = 0;  // per second
    float BackgroundFadeTime = 0;  // ms
    float BackgroundAlpha = 0;
    int Out = 0;           // 0 fading in, 1 fading out, -1 holding

    virtual ~TFade() = default;

    virtual void Init(float lengthMs, const plat::Ref<plat::TImage>& image,
                      const plat::Ref<plat::TChannel>& channel);
    virtual void Reset();
    // The picture in the middle of the screen.
    virtual void CentreImage();
    // Fades in (out 0) or out (out 1) over Length ms; 1 when the time is up,
    // -1 when a key, a click or a request to close the window cut it short.
    virtual int FadeDo(int out);
    virtual void MoveBackground(double now, float elapsed);
    // Holds the picture fully visible for ms; 0 when the time ran out, -1
    // when cut short.
    virtual int WaitForTime(float ms);
    // Draws and presents a frame.
    virtual void Draw();
    virtual void Full();
    virtual void Zero();
};

class TCrossFade : public plat::Object {
public:
    plat::Ref<plat::TImage> Image1, Image2;
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    plat::Ref<TAnimation> Anim;

    static plat::Ref<TCrossFade> Create(const plat::Ref<plat::TImage>& image1,
                                        const plat::Ref<plat::TImage>& image2, int lengthMs);
    void Init(const plat::Ref<plat::TImage>& image1, const plat::Ref<plat::TImage>& image2,
              int lengthMs);
    // Once per tick.
    void Manage();
    // Image1, with Image2 over it going from transparent to opaque.
    void Draw();
    void SetImage1Coords(float x, float y);
    void SetImage2Coords(float x, float y);
};

}  // namespace fw
