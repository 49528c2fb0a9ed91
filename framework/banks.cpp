#include "framework/banks.h"

#include <algorithm>
#include <climits>

#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"
#include "platform/io/fs.h"
#include "platform/sys/system.h"

namespace fw {

namespace {

// The bank key a file is filed under when no name is given.
std::string DerivedName(const std::string& url) { return plat::Upper(plat::StripAll(url)); }

// Path + the file without its extension + its own extension, or the bank's
// default extension when it has none.
std::string BankUrl(const std::string& path, const std::string& file, const std::string& defaultExt) {
    const std::string own = plat::ExtractExt(file);
    std::string ext = own.empty() ? defaultExt : std::string(".").append(own);
    return path + plat::StripExt(file) + ext;
}

int ToKilobytes(long long bytes) { return static_cast<int>(std::min<long long>(bytes / 1024, INT_MAX)); }

// A fatal report that returned after all (it never should) still ends here.
[[noreturn]] void Die(const std::string& message) {
    ReportError(message, 1);
    plat::End(ErrorExitCode);
}

}  // namespace

// --- load-or-die helpers ---------------------------------------------------------

plat::Ref<plat::TImage> LoadImageOrDie(const std::string& url, int flags) {
    auto image = plat::LoadImage(url, flags);
    if (!image) Die("Error loading bitmap " + url);
    return image;
}

plat::Ref<plat::TImage> LoadAnimImageOrDie(const std::string& url, int cellWidth, int cellHeight,
                                           int firstCell, int cellCount, int flags) {
    auto image = plat::LoadAnimImage(url, cellWidth, cellHeight, firstCell, cellCount, flags);
    if (!image) Die("Error loading anim bitmap " + url);
    return image;
}

plat::Ref<plat::TStream> OpenFileOrDie(const std::string& url) {
    auto stream = plat::ReadStream(url);
    if (!stream) Die("Error loading file " + url);
    return stream;
}

plat::Ref<plat::TSound> LoadSoundOrDie(const std::string& url, int flags) {
    auto sound = plat::LoadSound(url, flags);
    if (!sound) Die("Error loading sample " + url);
    return sound;
}

// --- TGameImage -------------------------------------------------------------------

int TGameImage::CalcRAM() const {
    const long long frames = image ? image->Frames() : 0;
    return static_cast<int>(std::min<long long>(static_cast<long long>(w) * 4 * h * frames, INT_MAX));
}

int TGameImage::CalcVRAM() const {
    const long long frames = image ? image->Frames() : 0;
    const long long bytes = static_cast<long long>(NextPowerOfTwo(w)) * 4 * NextPowerOfTwo(h) * frames;
    return static_cast<int>(std::min<long long>(bytes, INT_MAX));
}

plat::Ref<TGameImage> TGameImage::Create(const std::string& url, int flags, int midHandle) {
    auto entry = plat::New<TGameImage>();
    entry->Load(url, flags, midHandle);
    return entry;
}

plat::Ref<TGameImage> TGameImage::CreateAuto(const std::string& url, int cellWidth, int cellHeight,
                                             int firstCell, int cellCount, int flags,
                                             int midHandle) {
    auto entry = plat::New<TGameImage>();
    if (cellCount < 2) entry->Load(url, flags, midHandle);
    else entry->LoadAnim(url, cellWidth, cellHeight, firstCell, cellCount, flags, midHandle);
    return entry;
}

plat::Ref<TGameImage> TGameImage::CreateFromImage(const plat::Ref<plat::TImage>& image,
                                                  const std::string& name, int midHandle) {
    auto entry = plat::New<TGameImage>();
    entry->image = image;
    entry->name = name;
    entry->GetSize();
    entry->MidHandle(midHandle);
    return entry;
}

void TGameImage::Draw(float x, float y) {
    if (image) plat::DrawImage(image, x, y, 0);
}

void TGameImage::GetSize() {
    if (!image) return;
    w = plat::ImageWidth(image);
    h = plat::ImageHeight(image);
    w2 = static_cast<float>(w / 2);
    h2 = static_cast<float>(h / 2);
}

void TGameImage::Load(const std::string& url, int flags, int midHandle) {
    name = DerivedName(url);
    image = LoadImageOrDie(url, flags);
    GetSize();
    MidHandle(midHandle);
}

void TGameImage::LoadAnim(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                          int cellCount, int flags, int midHandle) {
    name = DerivedName(url);
    image = LoadAnimImageOrDie(url, cellWidth, cellHeight, firstCell, cellCount, flags);
    GetSize();
    MidHandle(midHandle);
}

void TGameImage::MidHandle(int on) {
    if (on) {
        if (image) plat::MidHandleImage(image);
        midhandled = 1;
    } else {
        if (image) plat::SetImageHandle(image, 0, 0);
        midhandled = 0;
    }
}

void TGameImage::Precache() { PreloadImageFrames(image); }

// --- TGameSound ---------------------------------------------------------------------

plat::Ref<TGameSound> TGameSound::Create(const std::string& url, int flags) {
    auto entry = plat::New<TGameSound>();
    entry->Load(url, flags);
    return entry;
}

void TGameSound::Load(const std::string& url, int flags) {
    name = DerivedName(url);
    sound = LoadSoundOrDie(url, flags);
}

void TGameSound::PlayInChannel(plat::Ref<plat::TChannel>& channel, float pan) {
    if (Game) Game->GameSoundPlay(channel, std::static_pointer_cast<TGameSound>(shared_from_this()), pan);
}

// --- TImageBank ---------------------------------------------------------------------

int TImageBank::CalcRAM() const {
    long long sum = 0;
    for (const auto& kv : *this)
        if (kv.second) sum += kv.second->CalcRAM();
    return ToKilobytes(sum);
}

int TImageBank::CalcVRAM() const {
    long long sum = 0;
    for (const auto& kv : *this)
        if (kv.second) sum += kv.second->CalcVRAM();
    return ToKilobytes(sum);
}

void TImageBank::SetPath(const std::string& path) { Path = EnsureTrailingSlash(path); }

void TImageBank::Load(const std::string& file, const std::string& name, int flags, int midHandle) {
    auto entry = plat::New<TGameImage>();
    entry->Load(BankUrl(Path, file, Ext), flags, midHandle);
    if (!name.empty()) entry->name = plat::Upper(name);
    Insert(entry->name, entry);
}

void TImageBank::LoadNoMid(const std::string& file, const std::string& name, int flags) {
    Load(file, name, flags, 0);
}

void TImageBank::LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                          int cellCount, int flags, int midHandle) {
    auto entry = plat::New<TGameImage>();
    entry->LoadAnim(Path + file + Ext, cellWidth, cellHeight, firstCell, cellCount, flags,
                    midHandle == 1 ? 1 : 0);
    Insert(entry->name, entry);
}

plat::Ref<TGameImage> TImageBank::Find(const std::string& name) const {
    const std::string key = plat::Upper(name);
    auto entry = ValueForKey(key);
    if (!entry) Die("Image '" + key + "' was Not found in the ImageBank");
    return entry;
}

plat::Ref<plat::TImage> TImageBank::FindTImage(const std::string& name) const {
    auto entry = ValueForKey(plat::Upper(name));
    return entry ? entry->image : nullptr;
}

void TImageBank::Precache() {
    for (const auto& kv : *this)
        if (kv.second) kv.second->Precache();
}

// --- TSoundBank ---------------------------------------------------------------------

void TSoundBank::SetPath(const std::string& path) { Path = EnsureTrailingSlash(path); }

void TSoundBank::Load(const std::string& file, float pitch, float volume, const std::string& name,
                      int flags) {
    auto entry = plat::New<TGameSound>();
    entry->Load(BankUrl(Path, file, Ext), flags);
    entry->pitch = pitch;
    entry->volume = volume;
    if (!name.empty()) entry->name = plat::Upper(name);
    Insert(entry->name, entry);
}

plat::Ref<TGameSound> TSoundBank::Find(const std::string& name) const {
    const std::string key = plat::Upper(name);
    auto entry = ValueForKey(key);
    if (!entry) Die("Sound '" + key + "' was not found in the SoundBank");
    return entry;
}

}  // namespace fw
