#pragma once
// TSlider: a horizontal percentage slider, a bar picture with a dot
// picture on it, set by pressing or dragging the pointer over the bar.  A
// dead zone of Border pixels at each end gives 0 and 100.  Placed and
// hit-tested in the drawing space (space.h).

#include <string>

#include "framework/sprite.h"

namespace fw {

class TSlider : public TSprite {
public:
    plat::Ref<TGameImage> DotImage;
    int DotX = 0, DotY = 0;  // where the dot is drawn
    int MouseOver = 0;
    int Value = 0;           // 0..100
    int Border = 0;          // dead zone at each end of the bar
    int BorderY = 5;         // vertical slack of the hit area

    // Pictures from the shell's image folder (names without ".png"); the
    // value starts at 50.
    static plat::Ref<TSlider> CreateSpecial(const std::string& image, const std::string& dotImage, float x,
                                            float y, int border, const std::string& name, int borderY);
    virtual void Load(const std::string& image, const std::string& dotImage, const std::string& name);
    virtual void LoadImages(const std::string& image, const std::string& dotImage);
    // Clamped to 0..100; the dot follows.
    virtual void SetValue(int value);
    // 1 when the held pointer set the value this tick.
    virtual int Manage();

    void Init() override;
    void Draw() override;
};

}  // namespace fw
