#include "framework/sprite.h"

#include "framework/banks.h"
#include "framework/game.h"
#include "platform/gfx/draw.h"

namespace fw {

plat::Ref<TSprite> TSprite::Create(const plat::Ref<TGameImage>& image, float x, float y) {
    auto sprite = plat::New<TSprite>();
    sprite->SetImage(image);
    sprite->SetPosition(x, y);
    return sprite;
}

void TSprite::SetImage(const plat::Ref<TGameImage>& newImage) {
    image = newImage;
    GetSize();
}

void TSprite::GetSize() {
    if (!image) return;
    w = image->w;
    h = image->h;
    w2 = image->w2;
    h2 = image->h2;
}

void TSprite::SetPosition(float newX, float newY) {
    x = newX;
    y = newY;
}

void TSprite::Centre() {
    if (image) image->MidHandle(1);
    if (UseVirtualResolution == 1) {
        x = static_cast<float>(VirtualWidth / 2);
        y = static_cast<float>(VirtualHeight / 2);
    } else if (UseVirtualResolution == 0) {
        x = static_cast<float>(ScreenWidth / 2);
        y = static_cast<float>(ScreenHeight / 2);
    }
}

void TSprite::Draw() { DoDraw(); }

void TSprite::DoDraw() {
    if (!visible) return;
    plat::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);
    plat::SetRotation(Rotation);
    if (UseAlpha) plat::SetAlpha(Alpha);
    DrawNormal();
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    if (UseAlpha) plat::SetAlpha(1);
}

void TSprite::DrawNormal() {
    if (!image || !image->image) return;
    plat::DrawImage(image->image, x, y, ImageFrame);
}

}  // namespace fw
