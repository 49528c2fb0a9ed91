// TGame: the debug overlay.

#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/sys/system.h"

namespace fw {

void TGame::DebugReset() {
    FixedRateLogic->maximum = 0;
    LogicTime->Init();
    DrawTime->Init();
    CodeTime->Init();
    FPS->Init();
}

namespace {

// The overlay borrows the screen's font and the shared text-shadow style
// (its shadow is solid, one pixel down and right); both are back when it
// is done.
class OverlayTextState {
public:
    explicit OverlayTextState(const plat::Ref<plat::TImageFont>& font)
        : font_(plat::GetImageFont()), x_(TextShadowX), y_(TextShadowY), alpha_(TextShadowAlpha) {
        plat::SetImageFont(font);
        SetShadowStyle(1, 1, 1);
    }
    ~OverlayTextState() {
        plat::SetImageFont(font_);
        SetShadowStyle(x_, y_, alpha_);
    }
    OverlayTextState(const OverlayTextState&) = delete;
    OverlayTextState& operator=(const OverlayTextState&) = delete;

private:
    plat::Ref<plat::TImageFont> font_;
    float x_, y_, alpha_;
};

std::string OnOff(int v) { return v ? "on" : "off"; }

}  // namespace

void TGame::DebugPrint() {
    if (!Debug) return;
    int lines = 27 + (GraphicPlacement ? 2 : 0);
    if (DebugShowFPSOnly) lines = 1;
    if (DebugPanel > 0) {
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(DebugPanel);
        plat::DrawRect(static_cast<float>(DebugDisplayX - 5), static_cast<float>(DebugDisplayY - 5), 350,
                       static_cast<float>(lines * 12 + 10));
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1.0f);
    }
    const OverlayTextState textState(DebugImageFont);
    FPS->Calc();
    TTextCursor out;
    out.Init(DebugDisplayX, DebugDisplayY, DebugImageFontGap);
    out.Shadow = DebugShadow;
    if (DebugShowFPSOnly) {
        out.OutputNL(FPS->GetDisplay());
        return;
    }
    const plat::MemoryStatus mem = plat::QueryMemory();
    const long long totalMB = mem.totalBytes / 1048576;
    const long long usedBytes = mem.totalBytes - mem.availableBytes;
    const long long usedMB = usedBytes / 1048576;
    const long long load =
        mem.totalBytes > 0 ? static_cast<long long>(static_cast<double>(usedBytes) /
                                                    static_cast<double>(mem.totalBytes) * 100.0)
                           : 0;

    out.OutputNL(LogicTime->GetDisplay());
    out.OutputNL(DrawTime->GetDisplay());
    out.OutputNL(FPS->GetDisplay());
    out.OutputNL("Desk Hz " + std::to_string(DesktopRefreshRate));
    out.OutputNL("Game Hz " + std::to_string(GameRefreshRate));
    out.OutputNL(FixedRateLogic->GetDisplay());
    out.OutputNL("Flip    " + std::to_string(FlipSync));
    out.OutputNL("Fast    " + std::to_string(Fast));
    out.OutputNL("Slow    " + std::to_string(SlowMotion));
    out.OutputNL("VSync   " + std::to_string(VSync));
    out.OutputNL("Timing  " + std::to_string(NoTiming == 0 ? 1 : 0));
    out.OutputNL(Driver ? std::string("Gfx Drv OpenGL") : "Gfx Drv DirectX " + DirectXVersion);
    out.OutputNL("Snd Drv " + SoundDriver);
    out.OutputNL("Os Ver  " + OSVersion);
    out.OutputNL("GC Mem  " + std::to_string(mem.processResidentBytes));
    out.OutputNL("Win Mem " + std::to_string(usedMB) + "MB Used/" + std::to_string(totalMB) +
              "MB Total = " + std::to_string(load) + "% Load");
    out.OutputNL("M. Vol. " + std::to_string(MusicVolume) + " (" + OnOff(Music) + ")");
    out.OutputNL("S. Vol. " + std::to_string(SoundVolume) + " (" + OnOff(Sound) + ")");
    out.OutputNL("Sp. Vol." + std::to_string(SpeechVolume) + " (" + OnOff(Speech) + ")");
    out.OutputNL("Mouse X " + std::to_string(Mouse->x));
    out.OutputNL("Mouse Y " + std::to_string(Mouse->y));
    out.OutputNL("Screen  " + (CurrentTScreen ? CurrentTScreen->name : std::string()));
    out.OutputNL("Handle  " + std::to_string(WindowHandle));
    out.OutputNL("Debug1  " + std::to_string(Debug1));
    out.OutputNL("Debug2  " + std::to_string(Debug2));
    out.OutputNL("Debug3  " + plat::FloatToString(Debug3));
    out.OutputNL("Debug4  " + plat::FloatToString(Debug4));
    if (GraphicPlacement) {
        out.OutputNL("GP X    " + std::to_string(gpX));
        out.OutputNL("GP Y    " + std::to_string(gpY));
    }
}

}  // namespace fw
