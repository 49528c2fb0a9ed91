#pragma once
// Named resources: images and samples loaded from one folder and filed under
// an upper-cased name, so the game asks for HERO instead of holding paths.
// Every load goes through a load-or-die helper: a missing or unreadable file
// is reported with its path and ends the program.

#include <string>

#include "platform/audio/audio.h"
#include "platform/core/map.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"
#include "platform/io/stream.h"

namespace fw {

class TGameImage : public plat::Object {
public:
    std::string name;  // bank key: file name without folder/extension, upper-cased
    plat::Ref<plat::TImage> image;
    int w = 0, h = 0;
    float w2 = 0, h2 = 0;  // integer halves of w and h
    int midhandled = 0;    // 1: handle at the centre; 0: top-left
    int tag = 0;           // free for the user

    // Bytes of 32-bit pixels over all frames.
    virtual int CalcRAM() const;
    // The same with width and height rounded up to powers of two.
    virtual int CalcVRAM() const;

    static plat::Ref<TGameImage> Create(const std::string& url, int flags, int midHandle);
    // A single image when cellCount < 2, else an animation strip.
    static plat::Ref<TGameImage> CreateAuto(const std::string& url, int cellWidth, int cellHeight,
                                            int firstCell, int cellCount, int flags,
                                            int midHandle);
    // Wraps an image; `name` is kept exactly as given.
    static plat::Ref<TGameImage> CreateFromImage(const plat::Ref<plat::TImage>& image,
                                                 const std::string& name, int midHandle);

    virtual void Draw(float x, float y);
    virtual void GetSize();
    virtual void Load(const std::string& url, int flags, int midHandle);
    virtual void LoadAnim(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                          int cellCount, int flags, int midHandle);
    virtual void MidHandle(int on);
    // Makes every frame ready in video memory before first use.
    virtual void Precache();
};

class TGameSound : public plat::Object {
public:
    std::string name;  // bank key, as for images
    plat::Ref<plat::TSound> sound;
    float pitch = 1.0f;   // rate factor applied on every play
    float volume = 1.0f;  // 0..1 for the next play; the channel pool overwrites it

    static plat::Ref<TGameSound> Create(const std::string& url, int flags);
    virtual void Load(const std::string& url, int flags);
    // Plays through the shell (Game.GameSoundPlay) on the given channel.
    virtual void PlayInChannel(plat::Ref<plat::TChannel>& channel, float pan);
};

class TImageBank : public plat::TMap<TGameImage> {
public:
    std::string Path;         // folder prefix; ends in "/" or "\" after SetPath
    std::string Ext = ".png"; // added when the file name has no extension

    // Kilobytes over all entries.
    virtual int CalcRAM() const;
    virtual int CalcVRAM() const;
    virtual void SetPath(const std::string& path);
    // Loads Path + file (Ext added when the file has no extension) and files
    // it under its derived name, or under `name` upper-cased when given.
    virtual void Load(const std::string& file, const std::string& name, int flags, int midHandle);
    virtual void LoadNoMid(const std::string& file, const std::string& name, int flags);
    // Path + file + Ext: the extension is always appended here.
    virtual void LoadAnim(const std::string& file, int cellWidth, int cellHeight, int firstCell,
                          int cellCount, int flags, int midHandle);
    // Reports "Image 'NAME' was Not found in the ImageBank" (ending the
    // program) when absent.
    virtual plat::Ref<TGameImage> Find(const std::string& name) const;
    // The entry's image, or nullptr; no report.
    virtual plat::Ref<plat::TImage> FindTImage(const std::string& name) const;
    virtual void Precache();
};

class TSoundBank : public plat::TMap<TGameSound> {
public:
    std::string Path;
    std::string Ext = ".wav";

    virtual void SetPath(const std::string& path);
    virtual void Load(const std::string& file, float pitch, float volume, const std::string& name,
                      int flags);
    // Reports "Sound 'NAME' was not found in the SoundBank" (ending the
    // program) when absent.
    virtual plat::Ref<TGameSound> Find(const std::string& name) const;
};

// Load-or-die helpers: the platform loader, and on failure
// ReportError(prefix + url, 1).
plat::Ref<plat::TImage> LoadImageOrDie(const std::string& url, int flags);        // "Error loading bitmap "
plat::Ref<plat::TImage> LoadAnimImageOrDie(const std::string& url, int cellWidth,  // "Error loading anim bitmap "
                                           int cellHeight, int firstCell, int cellCount, int flags);
plat::Ref<plat::TStream> OpenFileOrDie(const std::string& url);                   // "Error loading file "
plat::Ref<plat::TSound> LoadSoundOrDie(const std::string& url, int flags);        // "Error loading sample "

}  // namespace fw
