#pragma once
// TSprite: the framework's general drawable object.  An image at a
// floating-point position, with velocity and gravity, a frame animation
// driven by a tick counter, rotation and scale that can run for a time or
// loop, alpha, a tint colour, a drop shadow, a glow drawn as a second
// additive pass, and an attached sprite that moves and dies with it.
//
// Nothing advances by itself: the owner calls the Manage... and Move...
// operations once per logic tick (amounts are per tick, times Delta) and
// Draw once per frame.  "The screen" is the drawing space (space.h).

#include <functional>
#include <string>

#include "platform/core/object.h"

namespace fw {

class TGameImage;
class TColor;
class TSineCounter;

class TSprite : public plat::Object {
public:
    TSprite();
    ~TSprite() override;

    std::string name;  // upper-cased by SetName
    int active = 0;    // free for subclasses
    int visible = 1;
    float x = 0, y = 0;       // position of the image handle
    float offx = 0, offy = 0; // drawing offset, used while UseOffset is 1
    int UseOffset = 0;
    float dx = 0, dy = 0;     // velocity per tick
    float xspeed = 0, yspeed = 0;  // speeds of MoveLeft/Right/Up/Down
    float speed = 0;               // speed of MoveForward
    float xgravity = 0, ygravity = 0;
    int w = 0, h = 0;         // image size
    float w2 = 0, h2 = 0;     // half size
    plat::Ref<TGameImage> image;
    int RoundCoords = 0;      // 1: drawn at whole pixels
    int ImageFrame = 0;       // frame shown while the animation counter is not above 0
    plat::Ref<TColor> Color;  // tint while drawing
    int Shadow = 0;
    float ShadowX = 3.0f, ShadowY = 3.0f;
    float ShadowAlpha = 0.5f; // times Alpha
    int frame = 0;            // last computed by ManageAnim
    int FramesTotal = 1;
    float AnimCounter = 0;    // 0..AnimLength
    int AnimLength = 1000;    // ticks of one pass
    int AnimCounterDir = 0;   // 1: the counter rises as the frames advance; 0: it falls
    int AnimReverse = 0;      // 1: the animation runs backwards
    int PingPong = 0;
    float FrameLength = 0;    // AnimLength / FramesTotal
    int Loop = 1;
    int LoopCount = 0;        // passes left when above 0; 0: endless
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float BaseScaleX = 1.0f, BaseScaleY = 1.0f;  // multiplied in when drawing
    float ScaleXSpeed = 0.1f, ScaleYSpeed = 0.1f;
    float ScaleCounter = 0;
    int ScaleLength = 1000;
    float Rotation = 0;       // degrees
    float RotationSpeed = 1.0f;
    float RotationCounter = 0;
    int RotationLength = 1000;
    int RotationLoop = 0;     // 1: for ever, kept in 0..360
    int UseAlpha = 1;
    float Alpha = 1.0f;
    int GlowMode = 0;         // 0 none, 1 steady, 2 decaying, 3 pulsing
    float Glow = 0;           // 0..1
    float GlowSpeed = 0;
    float GlowMin = 0, GlowMax = 1.0f;
    float GlowRange = 1.0f;
    plat::Ref<TSineCounter> GlowCounter;
    plat::Ref<TGameImage> AlternativeImage;  // drawn instead of image when set
    plat::Ref<TSineCounter> MiscSineCounter; // free for subclasses
    float cx = 0, cy = 0;     // StoreCentreCoords
    // Called when the animation wraps or rests at an end.
    std::function<int(TSprite&)> AnimStoppedFunction;
    float ox = 0, oy = 0;     // StoreOriginalCoords
    plat::Ref<TSprite> AttachedSprite;
    int KillAttachedSprite = 1;

    static plat::Ref<TSprite> Create(const plat::Ref<TGameImage>& image, float x, float y);
    // Game->ImagePath + file + ".png"; with centre, at the middle of the screen.
    static plat::Ref<TSprite> CreateFromFile(const std::string& file, float x, float y, int centre,
                                             int flags);

    // --- set-up ---
    virtual void Init();
    virtual void SetImage(const plat::Ref<TGameImage>& image);
    virtual void GetSize();
    virtual void SetName(const std::string& name);
    virtual void SetPosition(float x, float y);
    virtual void SetShadow(int on, float x, float y, float alpha);
    // y 0: the same as x.
    virtual void SetScaleXY(float x, float y);
    // Handle to the image centre; to the middle of the virtual screen while
    // UseVirtualResolution is 1, of the window while it is 0.
    virtual void Centre();
    // Handle to the image centre, x to the middle of the screen.
    virtual void CentreX(float y);
    virtual void ClearRotation();
    virtual void ClearScale();
    virtual void ClearTransformations();
    virtual void StoreCentreCoords();
    virtual void StoreOriginalCoords();
    virtual void ScaleOriginalCoords();
    virtual float Width() const;   // w x ScaleX
    virtual float Height() const;  // h x ScaleY
    virtual void Stop();
    virtual void Kill();

    // --- animation ---
    virtual void SetupAnim(int frames, int lengthMs, int counterDir, int reverse, int randomStart,
                           int pingPong, int loop);
    // 1 when the counter met an end this tick.
    virtual int ManageAnim();
    virtual int AnimBoundsCheckLower();
    virtual int AnimBoundsCheckUpper();
    virtual int GetAnimFrame() const;
    virtual void RandomiseAnimPos();
    virtual void StopAnim();

    // --- rotation, scale, glow ---
    virtual void SetupRotation(float speed, int lengthMs, int loop, int randomAngle);
    virtual void ManageRotation();
    virtual void SetupScale(float xSpeed, float ySpeed, int lengthMs);
    virtual void ManageScale();
    virtual void SetGlow(int mode, float glow, float speed, float min, float max);
    virtual void ManageGlow();

    // --- movement ---
    // Position first, then gravity into the velocity.  1 (subclasses that
    // can die on the way give 0 when they did).
    virtual int Move();
    virtual void MoveOriginalCoords();
    virtual void MoveAttachedSprite();
    virtual void MoveLeft();
    virtual void MoveRight();
    virtual void MoveUp();
    virtual void MoveDown();
    // Along Rotation: 0 up the screen, 90 to the right.
    virtual void MoveForward();
    virtual void BoundsCheck();
    // 1 when wholly off the screen.
    virtual int OutOfBounds() const;

    // --- drawing ---
    virtual void Draw();
    virtual void DoDraw();
    virtual void DrawNormal();
    virtual void DrawRounded();
    virtual void DrawShadow(const plat::Ref<TGameImage>& image, int frame, int scrolled);
    virtual void DrawWithOffset();
    // An additive pass in colour (255 x alpha x r, g, b) of `image`, or of
    // what the sprite shows when none is given.  0 when not visible.
    virtual int DrawLight(float alpha, float r, float g, float b,
                          const plat::Ref<TGameImage>& image);

protected:
    // A new sprite of class T showing `image` at (x, y).
    template <class T>
    static plat::Ref<T> Place(const plat::Ref<TGameImage>& image, float x, float y) {
        auto sprite = plat::New<T>();
        sprite->SetImage(image);
        sprite->SetPosition(x, y);
        return sprite;
    }

private:
    int DrawFrame() const;
    const plat::Ref<TGameImage>& DrawnImage() const;
    void DrawAt(bool rounded);
};

}  // namespace fw
