#include "framework/errors.h"

#include <utility>

#include "framework/drawing.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "platform/core/clock.h"
#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "platform/sys/events.h"
#include "platform/sys/system.h"

namespace fw {

int ErrorReportMode = 1;
std::string ErrorLogFolder;
int StartupStage = 0;

namespace {

std::function<void(int)>& FrameHook() {
    static std::function<void(int)> hook;
    return hook;
}

// The drawing state the panel changes, put back when it returns.
struct SavedDrawState {
    SavedDrawState() {
        font = plat::GetImageFont();
        vw = plat::VirtualResolutionWidth();
        vh = plat::VirtualResolutionHeight();
        alpha = plat::GetAlpha();
        blend = plat::GetBlend();
        plat::GetScale(sx, sy);
        rotation = plat::GetRotation();
        plat::GetOrigin(ox, oy);
        plat::GetHandle(hx, hy);
        plat::GetViewport(vpx, vpy, vpw, vph);
    }
    ~SavedDrawState() {
        plat::SetImageFont(font);
        if (vw > 0 && vh > 0) plat::SetVirtualResolution(vw, vh);
        plat::SetScale(sx, sy);
        plat::SetRotation(rotation);
        plat::SetOrigin(ox, oy);
        plat::SetHandle(hx, hy);
        plat::SetViewport(vpx, vpy, vpw, vph);
        plat::SetAlpha(alpha);
        plat::SetBlend(blend);
        plat::SetColor(255, 255, 255);
    }
    SavedDrawState(const SavedDrawState&) = delete;
    SavedDrawState& operator=(const SavedDrawState&) = delete;

    plat::Ref<plat::TImageFont> font;
    float vw = 0, vh = 0;
    float alpha = 1;
    int blend = plat::ALPHABLEND;
    float sx = 1, sy = 1, rotation = 0, ox = 0, oy = 0, hx = 0, hy = 0;
    int vpx = 0, vpy = 0, vpw = 0, vph = 0;
};

}  // namespace

std::string ErrorLogPath() { return ErrorLogFolder + "ErrorLog.txt"; }

void SetMessageBoxFrameHook(std::function<void(int)> hook) { FrameHook() = std::move(hook); }

namespace {

std::string LogEntry(const std::string& message) {
    return "Date: " + plat::CurrentDate() + "\r\n" + "Time: " + plat::CurrentTime() + "\r\n" + message +
           "\r\n";
}

// The entries AppendErrorLog wrote in this run, and where.
struct RunLog {
    std::string path, text;
};
RunLog& ThisRunsLog() {
    static RunLog log;
    return log;
}

}  // namespace

void WriteErrorLog(const std::string& message) {
    plat::SaveTextAtomic(ErrorLogPath(), LogEntry(message));  // nothing more to do when it fails
}

void AppendErrorLog(const std::string& message) {
    RunLog& log = ThisRunsLog();
    if (log.path != ErrorLogPath()) log = {ErrorLogPath(), ""};
    log.text += LogEntry(message);
    plat::SaveTextAtomic(log.path, log.text);
}

bool ReportDamagedFile(const std::string& path, const std::string& damage, std::string copy) {
    if (copy.empty()) copy = path + ".bad";
    const bool kept = plat::KeepCopy(path, copy);
    const std::string what = path + " was damaged (" + damage + ")";
    const std::string message = kept ? what + " and is repaired; the damaged file is kept as " + copy
                                     : what + " and is left as it is: no copy of it could be kept";
    plat::PrintError(message);
    AppendErrorLog(message);
    return kept;
}

void ShowMessageBox(const std::string& message, int width, int height) {
    SavedDrawState saved;
    // The panel is laid out in window pixels, whatever the game draws in.
    plat::SetVirtualResolution(static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    plat::SetOrigin(0, 0);
    plat::SetHandle(0, 0);
    plat::SetViewport(0, 0, ScreenWidth, ScreenHeight);
    ResetDrawState();
    plat::SetImageFont(nullptr);
    // A widget or fade may have left the shared text alpha low: the message
    // is always drawn readable, and the caller's alpha comes back afterwards.
    const float savedTextAlpha = TextAlpha;
    TextAlpha = 1.0f;

    const std::vector<std::string> lines =
        WrapTextLines(SplitLines(message), static_cast<float>(width - 20), nullptr, 1.0f);
    // The own key tables only fill through the shell's tick, which does not
    // run while the panel waits: it always reads the polled input.
    const bool ownTables = InputMode != 1;
    if (ownTables) UseFrameworkInput();
    FlushInput();

    const int left = (ScreenWidth - width) / 2;
    const int top = (ScreenHeight - height) / 2;
    const float centre = static_cast<float>(ScreenWidth / 2);
    const float lineHeight = static_cast<float>(plat::TextHeight("ABCXYZ"));
    const int fontHeight = plat::GetImageFont()->Height();

    // A close request (the window's close button, or SIGTERM at a logout)
    // answers the panel as a key would: nothing else could end it.
    struct CloseWatch {
        bool requested = false;
        int hook = plat::AddHook([this](const plat::TEvent& e) {
            if (e.id == plat::EVENT_APPTERMINATE) requested = true;
        });
        ~CloseWatch() { plat::RemoveHook(hook); }
        CloseWatch() = default;
        CloseWatch(const CloseWatch&) = delete;
        CloseWatch& operator=(const CloseWatch&) = delete;
    } close;

    int frame = 0;
    while (!close.requested && !AnyKeyHit() && !AnyMouseHit()) {
        plat::SetColor(0, 0, 0);
        plat::DrawRect(static_cast<float>(left + 4), static_cast<float>(top + 4),
                       static_cast<float>(width), static_cast<float>(height));
        plat::SetColor(150, 150, 150);
        plat::DrawRect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                       static_cast<float>(height));
        plat::SetColor(220, 220, 200);
        DrawRectOutline(static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                        static_cast<float>(height));

        plat::SetColor(0, 220, 220);
        TextShadowX = 1.0f;
        TextShadowY = 1.0f;
        float y = static_cast<float>(top + 10);
        for (const std::string& line : lines) {
            DrawTextShadowed(centre, y, line, 1);
            y += lineHeight;
        }
        plat::SetColor(0, 220, 0);
        DrawTextShadowed(centre, static_cast<float>(top + height - fontHeight - 10), "<press any key>", 1);

        FlipScreen();
        if (FrameHook()) FrameHook()(frame);
        ++frame;
    }
    plat::SetColor(255, 255, 255);
    TextAlpha = savedTextAlpha;
    FlushInput();
    if (ownTables) FlushAllInput();
}

void ReportError(const std::string& message, int endProgram) {
    const int savedMode = InputMode;
    // Without a window there is nothing to show a panel in: report as
    // before the window exists.
    if (ErrorReportMode == 0 || !plat::GraphicsOpen()) {
        plat::Notify(message, false);
        throw ReportedError(message);
    }
    UseFrameworkInput();
    // Logged before the panel waits: a program killed meanwhile has said it.
    WriteErrorLog(message);
    ShowMessageBox(message, 600, 100);
    if (endProgram) {
        plat::PrintError(message);  // as for every error that ends the program
        plat::End(ErrorExitCode);
    }
    if (savedMode == 1) UseFrameworkInput();
    else FlushAllInput();
}

void ReportException(std::exception_ptr caught) {
    plat::EndGraphics();
    plat::ShowMouse();
    std::string text;
    bool shown = false;
    try {
        if (caught) std::rethrow_exception(caught);
        text = "Unknown error";
    } catch (const ReportedError& e) {
        text = e.what();
        shown = true;
    } catch (const std::exception& e) {
        // A run-time error: tell which start-up step it came from.
        text = e.what();
        if (StartupStage != 0) text = "(" + std::to_string(StartupStage) + ") " + text;
    } catch (...) {
        text = "Unknown error";
    }
    if (!shown) plat::Notify(text, true);
    // Below whatever this run logged before (a repaired file, say).
    AppendErrorLog(text);
}

}  // namespace fw
