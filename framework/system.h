#pragma once
// What the framework asks the system about itself and its machine: the
// single-instance guard, special folders, the system's name, desktop size,
// memory, cursor and window information, window placement, priorities.
// Items that only exist on the original desktop system answer neutrally
// here: no DirectX (""), folder rights left alone, window style bits
// untouched.

#include <cstdint>
#include <string>

#include "platform/core/object.h"

namespace fw {

class TPoint : public plat::Object {
public:
    int X = 0, Y = 0;
    void Set(int x, int y) { X = x; Y = y; }
};

class TAccuratePoint : public plat::Object {
public:
    float X = 0, Y = 0;
    void Set(float x, float y) { X = x; Y = y; }
};

class TRect : public plat::Object {
public:
    int L = 0, T = 0, R = 0, B = 0;
};

// Byte counts saturate at the largest 32-bit Int.
class TMemoryStatus : public plat::Object {
public:
    int dwLength = 32, dwMemoryLoad = 0, dwTotalPhys = 0, dwAvailPhys = 0, dwTotalPageFile = 0,
        dwAvailPageFile = 0, dwTotalVirtual = 0, dwAvailVirtual = 0;
};

class TWindowInfo : public plat::Object {
public:
    int cbSize = 60;
    int wl = 0, wt = 0, wr = 0, wb = 0;  // window rectangle
    int cl = 0, ct = 0, cr = 0, cb = 0;  // client rectangle
    int dwStyle = 0, dwExStyle = 0, dwWindowStatus = 0, cxWindowBorders = 0,
        cyWindowBorders = 0;
    std::int16_t atomWindowType = 0, wCreatorVersion = 0;
};

class TOSVersionInfoEx : public plat::Object {
public:
    int dwOSVersionInfoSize = 156, dwVerMajor = 0, dwVerMinor = 0, dwBuildNumber = 0,
        dwPlatformId = 0;
    std::string szCSDVersion;  // service-pack text (up to 128 bytes)
    std::int16_t wServicePackMajor = 0, wServicePackMinor = 0, wSuiteMask = 0;
    std::uint8_t wProductType = 0, wReserved = 0;
};

// Ends the program at once with exit code 0 when another copy holds `name`.
void EnsureSingleInstance(const std::string& name);

// Folder rights are left as the system made them (never world-writable):
// these succeed with 1 for an existing path, 0 otherwise.
int GrantFileAccess(const std::string& path);
int grant_full_access(const std::string& path);
int grant_full_access_to_group(const std::string& path, const std::string& group);

// Shell folder ids: 35 (data shared by all users) and 26 (the user's data)
// both give the per-user data folder with its trailing slash; others "".
std::string SpecialFolderPath(int folderId);

// The name for a version record (the table of the desktop system's names).
std::string WindowsVersionName(const TOSVersionInfoEx& info);
// The running system's name.
std::string WindowsVersionName();
// The version for a registry version text ("" when unknown).
std::string DirectXVersionFromText(const std::string& registryText);
// No DirectX here: "".
std::string DirectXVersion();
bool DirectXVersionOk(const std::string& version);
bool DirectXVersionOk();

// 1 with the desktop size, -1 (outputs untouched) when unknown.
int DesktopSize(int& width, int& height);
plat::Ref<TMemoryStatus> MemoryStatus();
plat::Ref<TPoint> CursorPos();  // nullptr when it cannot be read
plat::Ref<TPoint> NewPoint();
plat::Ref<TPoint> CreatePoint();

plat::Ref<TWindowInfo> ActiveWindowInfo(int window);
plat::Ref<TWindowInfo> InfoOfActiveWindow();
int IsWindowActive(int window);
plat::Ref<TRect> WindowRect(int window);
plat::Ref<TRect> ActiveWindowRect();
// Where a window of winW x winH goes to be centred on a desktop of deskW x deskH.
void CenteredWindowPosition(int deskW, int deskH, int winW, int winH, int& x, int& y);
void CenterWindow(int window);
void CenterActiveWindow();
void MinimizeWindow(int window);
void AddWindowStyleBox(int window);
void ClearWindowStyleBox(int window);
// The window icon from the PNG beside the program file (its name + ".png").
void SetWindowIconFromExe(const std::string& exePath, int window);
// selector 1: above normal, 2: high, else normal; threadPriority as the
// desktop system's levels (-2..2), clamped.
void SetProcessPriority(int selector, int threadPriority);
int SetDesktopWallpaper(const std::string& imagePath);
void GetVideoMemory(int& total, int& available);
void WaitVerticalBlankD3D7();

// The program file's path, with a ".debug" build name mapped to the release
// name (so both share one settings file).
std::string ReleaseExeName();
std::string ReleaseExeName(const std::string& path);
bool FileExists(const std::string& path);
int GraphicsModeExactExists(int width, int height, int depth, int hertz);
void PrintGraphicsModes();

}  // namespace fw
