#pragma once
// Music sources and the loaders that open them.
//
// A music source produces PCM sample bytes on demand, in any amount, for an
// audio stream.  Each kind of source registers a loader under a file
// extension; opening a file asks every loader in registration order until
// one accepts it.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/list.h"
#include "platform/core/object.h"
#include "platform/io/stream.h"

namespace music {

template <class T>
using Ref = plat::Ref<T>;

// Sample format codes.
enum SampleFormat {
    FORMAT_MONO8 = 200,
    FORMAT_MONO16 = 201,
    FORMAT_STEREO8 = 202,
    FORMAT_STEREO16 = 203,
};

// Bytes per sample frame of a format code: 1, 2, 2, 4; 0 for anything else.
int SampleFormatBytes(int format);

// Setting keys of Seti / Geti.
enum MusicKey {
    KEY_STREAM_SIZE = 1,
    KEY_STREAM_POS = 2,
    KEY_PLAY_STATUS = 3,
    KEY_STREAM_FORMAT = 4,
    KEY_SAMPLE_RATE = 5,
    KEY_STREAM_LOOP = 7,
};

class TMusic : public plat::Object {
public:
    std::string DebugData;
    int PlayStatus = 0;  // 1 while the source delivers sound, 0 once it has ended
    int SAMPLE_RATE = 44100;
    int STREAM_FORMAT = FORMAT_STEREO16;
    int STREAM_LOOP = 1;
    int STREAM_POS = 0;   // bytes delivered so far
    int STREAM_SIZE = 0;  // total bytes, when known

    virtual void WriteBug(const std::string& text);
    // The source's resources go when its last holder drops it; Free is the
    // early-release hint of the interface and has nothing to do here.
    virtual void Free();
    // Writes exactly `length` bytes of samples in STREAM_FORMAT.
    virtual int FillBuffer(void* buffer, int length) = 0;
    virtual int Setf(int key, float value);
    virtual float Getf(int key);
    // 1 when the key is settable and the value accepted, else 0.
    virtual int Seti(int key, int value);
    virtual int Geti(int key);
    virtual std::string GetS(int key);
};

// What a loader is handed: a path, or an open stream (rewound to 0).
struct MusicSource {
    MusicSource(const std::string& path) : url(path) {}
    MusicSource(const char* path) : url(path) {}
    MusicSource(Ref<plat::TStream> s) : stream(std::move(s)) {}
    std::string url;
    Ref<plat::TStream> stream;
};

using MusicLoaderFunc = std::function<Ref<TMusic>(const MusicSource&)>;

class MusicLoader : public plat::Object {
public:
    std::string Name;  // description shown in file filters
    MusicLoaderFunc Func;
    std::string Ext;   // extension without the dot

    MusicLoader(MusicLoaderFunc func, std::string name, std::string ext);

    // Constructs a loader; it joins the registry.
    static void Create(MusicLoaderFunc func, const std::string& name, const std::string& ext);
    // A file-requester filter: "All supported:,wav,sid;Name:wav;...;All Files:*".
    static std::string GetExtensions(int allsupported, int allfiles);
    // The first source a loader makes of `source`, or nullptr.
    static Ref<TMusic> Load(const MusicSource& source);
};

// The registry, in registration order (created when the module starts).
plat::TList<MusicLoader>& MusicLoaders();

Ref<TMusic> LoadMusic(const MusicSource& source);
std::string MusicFileFilter(int allsupported, int allfiles);
void FreeMusic(const Ref<TMusic>& music);

// Module start: registers nothing by itself (each source kind registers its
// own loader when its module starts).  Safe to call more than once.
void InitMusicModule();

// --- tests -----------------------------------------------------------------
// Empties the registry and forgets which modules have started, so a test can
// start from a fresh program state.
void ResetMusicModuleForTests();

}  // namespace music
