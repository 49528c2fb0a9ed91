// TGame: the debug overlay.

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

// Writes lines downwards from a start position, optionally shadowed.
class LineWriter {
public:
    LineWriter(float x, float y, float gap, bool shadow) : x_(x), y_(y), gap_(gap), shadow_(shadow) {}
    void Write(const std::string& text) {
        if (shadow_) {
            plat::SetColor(0, 0, 0);
            plat::DrawText(text, x_ + 1, y_ + 1);
            plat::SetColor(255, 255, 255);
        }
        plat::DrawText(text, x_, y_);
        y_ += gap_;
    }

private:
    float x_, y_, gap_;
    bool shadow_;
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
    // The overlay's font is only borrowed: the screen's own font is back
    // for the next frame.
    const plat::Ref<plat::TImageFont> screenFont = plat::GetImageFont();
    plat::SetImageFont(DebugImageFont);
    FPS->Calc();
    LineWriter out(static_cast<float>(DebugDisplayX), static_cast<float>(DebugDisplayY),
                   static_cast<float>(DebugImageFontGap), DebugShadow != 0);
    if (DebugShowFPSOnly) {
        out.Write(FPS->GetDisplay());
        plat::SetImageFont(screenFont);
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

    out.Write(LogicTime->GetDisplay());
    out.Write(DrawTime->GetDisplay());
    out.Write(FPS->GetDisplay());
    out.Write("Desk Hz " + std::to_string(DesktopRefreshRate));
    out.Write("Game Hz " + std::to_string(GameRefreshRate));
    out.Write(FixedRateLogic->GetDisplay());
    out.Write("Flip    " + std::to_string(FlipSync));
    out.Write("Fast    " + std::to_string(Fast));
    out.Write("Slow    " + std::to_string(SlowMotion));
    out.Write("VSync   " + std::to_string(VSync));
    out.Write("Timing  " + std::to_string(NoTiming == 0 ? 1 : 0));
    out.Write(Driver ? std::string("Gfx Drv OpenGL") : "Gfx Drv DirectX " + DirectXVersion);
    out.Write("Snd Drv " + SoundDriver);
    out.Write("Os Ver  " + OSVersion);
    out.Write("GC Mem  " + std::to_string(mem.processResidentBytes));
    out.Write("Win Mem " + std::to_string(usedMB) + "MB Used/" + std::to_string(totalMB) +
              "MB Total = " + std::to_string(load) + "% Load");
    out.Write("M. Vol. " + std::to_string(MusicVolume) + " (" + OnOff(Music) + ")");
    out.Write("S. Vol. " + std::to_string(SoundVolume) + " (" + OnOff(Sound) + ")");
    out.Write("Sp. Vol." + std::to_string(SpeechVolume) + " (" + OnOff(Speech) + ")");
    out.Write("Mouse X " + std::to_string(Mouse->x));
    out.Write("Mouse Y " + std::to_string(Mouse->y));
    out.Write("Screen  " + (CurrentTScreen ? CurrentTScreen->name : std::string()));
    out.Write("Handle  " + std::to_string(WindowHandle));
    out.Write("Debug1  " + std::to_string(Debug1));
    out.Write("Debug2  " + std::to_string(Debug2));
    out.Write("Debug3  " + plat::FloatToString(Debug3));
    out.Write("Debug4  " + plat::FloatToString(Debug4));
    if (GraphicPlacement) {
        out.Write("GP X    " + std::to_string(gpX));
        out.Write("GP Y    " + std::to_string(gpY));
    }
    plat::SetImageFont(screenFont);
}

}  // namespace fw
