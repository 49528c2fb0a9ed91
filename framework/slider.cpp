#include "framework/slider.h"

#include <algorithm>

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/mouse.h"
#include "framework/space.h"
#include "platform/gfx/draw.h"

namespace fw {

namespace {

plat::Ref<TGameImage> LoadTopLeft(const std::string& name) {
    auto picture = TGameImage::Create((Game ? Game->ImagePath : std::string()) + name + ".png", -1, 1);
    picture->MidHandle(0);
    return picture;
}

}  // namespace

plat::Ref<TSlider> TSlider::CreateSpecial(const std::string& image, const std::string& dotImage, float newX,
                                          float newY, int border, const std::string& newName, int borderY) {
    auto slider = plat::New<TSlider>();
    slider->Load(image, dotImage, newName);
    slider->SetPosition(newX, newY);
    slider->Border = border;
    slider->BorderY = borderY;
    slider->SetValue(50);
    slider->DotY = static_cast<int>(newY);
    slider->active = 1;
    return slider;
}

void TSlider::Load(const std::string& imageName, const std::string& dotImage, const std::string& newName) {
    SetName(newName);
    LoadImages(imageName, dotImage);
    Init();
}

void TSlider::LoadImages(const std::string& imageName, const std::string& dotImage) {
    image = LoadTopLeft(imageName);
    DotImage = LoadTopLeft(dotImage);
}

void TSlider::Init() {
    TSprite::Init();
    GetSize();
}

void TSlider::SetValue(int value) {
    Value = std::clamp(value, 0, 100);
    // Without a dot picture the dot is a point.
    const float half = DotImage ? DotImage->w2 : 0.0f;
    DotX = static_cast<int>(x + static_cast<float>(Border) +
                            static_cast<float>(Value) / 100.0f * static_cast<float>(w - 2 * Border) - half);
}

int TSlider::Manage() {
    if (!active) return 0;
    const DrawingPoint pointer = PointerInDrawingSpace();
    const float right = x + static_cast<float>(w), bottom = y + static_cast<float>(h);
    const bool over = x - 10 <= pointer.x && pointer.x < right + 10 && y - static_cast<float>(BorderY) <= pointer.y &&
                      pointer.y < bottom + static_cast<float>(BorderY);
    if (!over) {
        MouseOver = 0;
        return 0;
    }
    MouseOver = 1;
    if (!Game || !Game->Mouse || !Game->Mouse->GetMb()) return 0;
    // The two dead zones meet or overlap on a bar no wider than both, so
    // the division below only runs for a track of some length.
    int value = 0;
    if (pointer.x <= x + static_cast<float>(Border)) value = 0;
    else if (pointer.x >= right - static_cast<float>(Border)) value = 100;
    else value = RoundToInt((pointer.x - x - static_cast<float>(Border)) / static_cast<float>(w - 2 * Border) * 100);
    SetValue(value);
    return 1;
}

void TSlider::Draw() {
    if (!active) return;
    plat::SetBlend(plat::ALPHABLEND);
    if (image && image->image) plat::DrawImage(image->image, x, y, 0);
    if (DotImage && DotImage->image)
        plat::DrawImage(DotImage->image, static_cast<float>(DotX), static_cast<float>(DotY), 0);
}

}  // namespace fw
