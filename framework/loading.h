#pragma once
// The loading screen: a background, a loading picture and a bar that a game
// steps (TGame::MoveBar) between long loads, and that, once full, either
// moves on at once or waits for a click on its click-here button before
// fading out to its Destination.  The shell keeps one (Game->LoadingScreen)
// for the whole run; until SpecialLoad prepares it, stepping it draws only
// the cleared screen.
//
// TLoadingBar is the bar: a picture revealed from the left in equal steps,
// over a filled and outlined rectangle (mode 0), over a picture of the
// empty bar (mode 1) or alone (mode 2), and replaced by a picture of the
// full bar when done.

#include <functional>
#include <string>

#include "framework/screen.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {

class TButton;

class TLoadingBar : public plat::Object {
public:
    int Mode = 0;  // 0 rectangle under the bar, 1 EmptyImage under it, 2 the bar alone
    plat::Ref<plat::TImage> Image;       // the full bar
    plat::Ref<plat::TImage> EmptyImage;  // under it (mode 1, or under FinalImage when asked)
    plat::Ref<plat::TImage> FinalImage;  // instead of it once finished
    int x = 0, y = 0;
    int w = 0, h = 0;       // the bar picture's size
    float Position = 0;     // pixels revealed
    float Steps = 0;
    float StepSize = 0;     // pixels a step
    int CurrentStep = 0;
    int Finished = 0;
    int BgR = 50, BgG = 50, BgB = 50;
    int BorderR = 0, BorderG = 0, BorderB = 0;
    int DrawEmptyUnderFinal = 0;

    void Init(const plat::Ref<plat::TImage>& image, const plat::Ref<plat::TImage>& emptyImage,
              const plat::Ref<plat::TImage>& finalImage);
    // x centred in the drawing space.
    void Centre(int y);
    // Fewer than one step is refused: the bar stays as it is.
    void SetSteps(int n);
    void SetBackgroundColour(int r, int g, int b);
    void SetBorderColour(int r, int g, int b);
    // One step on; steps past the last keep the bar full.
    void Progress();
    // 1 when something was drawn.
    int Draw();
};

class TLoadingScreen : public TScreen {
public:
    plat::Ref<TLoadingBar> LoadingBar = plat::New<TLoadingBar>();
    plat::Ref<TButton> ClickHereButton;
    int Finished = 0;
    plat::Ref<plat::TImage> LoadingTextImage;  // the loading picture
    int LoadingX = 0, LoadingY = 0;
    int DrawLoadingTextImage2 = 0;             // draw the second picture instead
    plat::Ref<plat::TImage> LoadingTextImage2;
    std::function<void()> CustomDrawFunction;  // after the screen's own drawing
    std::function<void()> CustomKillFunction;
    int EscapeCloses = 1;  // 0: the shell's Escape is off, and Escape moves on like a click
    int FadeMusic = 0;     // the music fades out with the screen

    // Files in the shell's image folder, with their extensions.  A bar
    // "name.ext" brings "nameempty.ext" and "namefinal.ext" when they exist.
    // A missing file is reported, ending the program.
    virtual void SpecialLoad(const std::string& background, const std::string& barImage,
                             const std::string& loadingImage);
    virtual void SetSteps(int n);
    // The button (images without extension, from the image folder) at
    // (x, y), shown once the bar is full.
    virtual void SetClickHereButton(const std::string& image, const std::string& imageMO, float x, float y,
                                    const std::string& soundMO = "", const std::string& soundClick = "");
    // With present 1 a frame of its own: cleared, the loading picture (while
    // the shell's music is on), the pointer, presented.
    virtual void DrawLoading(int present);
    virtual void Progress();

    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
};

}  // namespace fw
