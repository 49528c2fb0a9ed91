#pragma once
// TSprite: an image placed at a floating-point position and drawn with its
// scale, rotation and alpha.  (Only what the shell needs so far: creating a
// sprite, centring it and drawing its still frame.)

#include <string>

#include "platform/core/object.h"

namespace fw {

class TGameImage;

class TSprite : public plat::Object {
public:
    std::string name;
    int active = 0;
    int visible = 1;
    float x = 0, y = 0;
    int w = 0, h = 0;
    float w2 = 0, h2 = 0;
    plat::Ref<TGameImage> image;
    int ImageFrame = 0;
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float BaseScaleX = 1.0f, BaseScaleY = 1.0f;
    float Rotation = 0;
    int UseAlpha = 1;
    float Alpha = 1.0f;

    static plat::Ref<TSprite> Create(const plat::Ref<TGameImage>& image, float x, float y);
    virtual void SetImage(const plat::Ref<TGameImage>& image);
    virtual void GetSize();
    virtual void SetPosition(float x, float y);
    // Handle to the image centre, position to the middle of the screen.
    virtual void Centre();
    virtual void Draw();
    virtual void DoDraw();
    virtual void DrawNormal();
};

}  // namespace fw
