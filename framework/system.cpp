#include "framework/system.h"

#include <algorithm>
#include <climits>

#include "platform/core/text.h"
#include "platform/gfx/display.h"
#include "platform/io/fs.h"
#include "platform/sys/system.h"

namespace fw {

namespace {

int Saturate(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < 0) return 0;
    return static_cast<int>(v);
}

// The handle names the program's own window (0 names none).
bool IsOurWindow(int window) { return window != 0 && window == plat::WindowHandle(); }

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void EnsureSingleInstance(const std::string& name) {
    // Held for the whole run; the system drops it when the process ends.
    static plat::SingleInstanceLock lock;
    if (!lock.Acquire(name)) plat::End(0);
}

int grant_full_access_to_group(const std::string& path, const std::string& group) {
    (void)group;
    return plat::FileExists(path) ? 1 : 0;
}

int grant_full_access(const std::string& path) {
    if (!grant_full_access_to_group(path, "Users")) return 0;
    return grant_full_access_to_group(path, "Everyone");
}

int GrantFileAccess(const std::string& path) { return grant_full_access(path); }

std::string SpecialFolderPath(int folderId) {
    if (folderId == 35 || folderId == 26) return plat::UserDataFolder();
    return "";
}

std::string WindowsVersionName(const TOSVersionInfoEx& info) {
    const int id = info.dwPlatformId, major = info.dwVerMajor, minor = info.dwVerMinor;
    if (id == 0) return "Win32s";
    if (id == 2) {
        if (major == 5 && minor == 0) return "Windows 2000";
        if (major == 5 && (minor == 1 || minor == 2)) return "Windows XP";
        if (major == 6 && minor == 0) return "Windows Vista";
        if (major == 6 && minor == 1) return "Windows 7";
        return "Windows NT";
    }
    if (id == 1) {
        if (minor == 0) return "Windows 95";
        if (minor == 10) return "Windows 98";
        if (minor == 90) return "Windows ME";
    }
    return "";
}

std::string WindowsVersionName() { return plat::OSName(); }

std::string DirectXVersionFromText(const std::string& text) {
    struct Row {
        const char* text;
        const char* version;
    };
    static constexpr Row kRows[] = {
        {"4.02.0095", "1.0"},      {"4.03.00.1096", "2.0"},   {"4.04.0068", "3.0"},
        {"4.04.0069", "3.0"},      {"4.05.00.0155", "5.0"},   {"4.05.01.1721", "5.0"},
        {"4.05.01.1998", "5.0"},   {"4.06.02.0436", "6.0"},   {"4.07.00.0700", "7.0"},
        {"4.07.00.0716", "7.0a"},  {"4.08.00.0400", "8.0"},   {"4.08.01.0881", "8.1"},
        {"4.08.01.0810", "8.1"},   {"4.09.0000.0900", "9.0"}, {"4.09.00.0900", "9.0"},
        {"4.09.0000.0901", "9.0a"}, {"4.09.00.0901", "9.0a"}, {"4.09.0000.0902", "9.0b"},
        {"4.09.00.0902", "9.0b"},  {"4.09.00.0904", "9.0c"},  {"4.09.0000.0904", "9.0c"},
    };
    for (const Row& r : kRows)
        if (text == r.text) return r.version;
    return "";
}

std::string DirectXVersion() { return DirectXVersionFromText(""); }

bool DirectXVersionOk(const std::string& v) {
    return !(v == "1.0" || v == "2.0" || v == "3.0" || v == "5.0" || v == "6.0");
}

bool DirectXVersionOk() { return DirectXVersionOk(DirectXVersion()); }

int DesktopSize(int& width, int& height) {
    const int w = plat::DesktopWidth(), h = plat::DesktopHeight();
    if (w < 0 || h < 0) return -1;
    width = w;
    height = h;
    return 1;
}

plat::Ref<TMemoryStatus> MemoryStatus() {
    auto status = plat::New<TMemoryStatus>();
    const plat::MemoryStatus m = plat::QueryMemory();
    status->dwTotalPhys = Saturate(m.totalBytes);
    status->dwAvailPhys = Saturate(m.availableBytes);
    status->dwTotalVirtual = status->dwTotalPhys;
    status->dwAvailVirtual = status->dwAvailPhys;
    if (m.totalBytes > 0)
        status->dwMemoryLoad = static_cast<int>(100 - (m.availableBytes * 100) / m.totalBytes);
    return status;
}

plat::Ref<TPoint> CursorPos() {
    int x = 0, y = 0;
    plat::CursorPos(x, y);
    auto p = plat::New<TPoint>();
    p->Set(x, y);
    return p;
}

plat::Ref<TPoint> NewPoint() { return plat::New<TPoint>(); }
plat::Ref<TPoint> CreatePoint() { return NewPoint(); }

plat::Ref<TWindowInfo> ActiveWindowInfo(int window) {
    auto info = plat::New<TWindowInfo>();
    info->cbSize = 60;
    if (!IsOurWindow(window)) return info;
    int x = 0, y = 0, w = 0, h = 0;
    plat::GetWindowRect(x, y, w, h);
    info->wl = x;
    info->wt = y;
    info->wr = x + w;
    info->wb = y + h;
    plat::GetClientRect(x, y, w, h);
    info->cl = x;
    info->ct = y;
    info->cr = x + w;
    info->cb = y + h;
    info->dwWindowStatus = plat::WindowHasFocus() ? 1 : 0;
    return info;
}

plat::Ref<TWindowInfo> InfoOfActiveWindow() { return ActiveWindowInfo(plat::ActiveWindowHandle()); }

int IsWindowActive(int window) { return ActiveWindowInfo(window)->dwWindowStatus == 1 ? 1 : 0; }

plat::Ref<TRect> WindowRect(int window) {
    auto r = plat::New<TRect>();
    if (!IsOurWindow(window)) return r;
    int x = 0, y = 0, w = 0, h = 0;
    plat::GetWindowRect(x, y, w, h);
    r->L = x;
    r->T = y;
    r->R = x + w;
    r->B = y + h;
    return r;
}

plat::Ref<TRect> ActiveWindowRect() { return WindowRect(plat::ActiveWindowHandle()); }

void CenteredWindowPosition(int deskW, int deskH, int winW, int winH, int& x, int& y) {
    x = deskW / 2 - winW / 2;
    y = deskH / 2 - winH / 2;
}

void CenterWindow(int window) {
    if (IsOurWindow(window)) plat::CenterWindow();
}

void CenterActiveWindow() { CenterWindow(plat::ActiveWindowHandle()); }

void MinimizeWindow(int window) {
    if (IsOurWindow(window)) plat::MinimizeWindow();
}

void AddWindowStyleBox(int window) { (void)window; }

void ClearWindowStyleBox(int window) {
    if (IsOurWindow(window)) plat::RemoveMinimizeBox();
}

void SetWindowIconFromExe(const std::string& exePath, int window) {
    if (!IsOurWindow(window)) return;
    const std::string png = plat::StripExt(exePath) + ".png";
    if (plat::FileExists(png)) plat::SetWindowIconFromFile(png);
}

void SetProcessPriority(int selector, int threadPriority) {
    plat::SetThreadPriority(std::clamp(threadPriority, -2, 2));
    plat::SetProcessPriority(selector == 1 ? 1 : selector == 2 ? 2 : 0);
}

int SetDesktopWallpaper(const std::string& imagePath) {
    (void)imagePath;
    return 0;
}

void GetVideoMemory(int& total, int& available) {
    total = 0;
    available = 0;
}

void WaitVerticalBlankD3D7() {}

std::string ReleaseExeName(const std::string& path) {
    // name.debug.exe -> name.exe; name.debug -> name.  Only a name that is
    // longer than the suffix itself counts.
    if (path.size() > 10 && EndsWith(path, ".debug.exe")) return path.substr(0, path.size() - 10) + ".exe";
    if (path.size() > 6 && EndsWith(path, ".debug") && path[path.size() - 7] != '/')
        return path.substr(0, path.size() - 6);
    return path;
}

std::string ReleaseExeName() { return ReleaseExeName(plat::AppFile()); }

bool FileExists(const std::string& path) { return plat::FileExists(path); }

int GraphicsModeExactExists(int width, int height, int depth, int hertz) {
    const int n = plat::CountGraphicsModes();
    for (int i = 0; i < n; ++i) {
        const plat::GraphicsMode m = plat::GetGraphicsMode(i);
        if (m.width == width && m.height == height && m.depth == depth && m.hertz == hertz) return 1;
    }
    return 0;
}

void PrintGraphicsModes() {
    const int n = plat::CountGraphicsModes();
    for (int i = 0; i < n; ++i) {
        const plat::GraphicsMode m = plat::GetGraphicsMode(i);
        plat::Print(std::to_string(i) + " Width: " + std::to_string(m.width) + " Height: " +
                    std::to_string(m.height) + " Depth: " + std::to_string(m.depth) + " Hertz: " +
                    std::to_string(m.hertz));
    }
}

}  // namespace fw
