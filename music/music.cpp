#include "music/music.h"

#include "music/module.h"
#include "platform/core/error.h"
#include "platform/core/text.h"

namespace music {

namespace {

Ref<plat::TList<MusicLoader>>& LoaderList() {
    static Ref<plat::TList<MusicLoader>> list;
    return list;
}

int generation = 0;

// The module functions reach the registry through these variables.
Ref<TMusic> (*LoadMusicFunc)(const MusicSource&) = &MusicLoader::Load;
std::string (*MusicFileFilterFunc)(int, int) = &MusicLoader::GetExtensions;

}  // namespace

int detail::ModuleGeneration() { return generation; }

int SampleFormatBytes(int format) {
    switch (format) {
        case FORMAT_MONO8: return 1;
        case FORMAT_MONO16: return 2;
        case FORMAT_STEREO8: return 2;
        case FORMAT_STEREO16: return 4;
        default: return 0;
    }
}

void TMusic::WriteBug(const std::string& text) { DebugData += text; }

void TMusic::Free() {}

int TMusic::Setf(int, float) { return 0; }
float TMusic::Getf(int) { return 0.0f; }
std::string TMusic::GetS(int) { return ""; }

int TMusic::Seti(int key, int value) {
    switch (key) {
        case KEY_STREAM_FORMAT:
            if (value < FORMAT_MONO8 || value > FORMAT_STEREO16) return 0;
            STREAM_FORMAT = value;
            return 1;
        case KEY_SAMPLE_RATE: SAMPLE_RATE = value; return 1;
        case KEY_STREAM_LOOP: STREAM_LOOP = value; return 1;
        default: return 0;
    }
}

int TMusic::Geti(int key) {
    switch (key) {
        case KEY_STREAM_SIZE: return STREAM_SIZE;
        case KEY_STREAM_POS: return STREAM_POS;
        case KEY_PLAY_STATUS: return PlayStatus;
        case KEY_STREAM_FORMAT: return STREAM_FORMAT;
        case KEY_SAMPLE_RATE: return SAMPLE_RATE;
        case KEY_STREAM_LOOP: return STREAM_LOOP;
        default: return 0;
    }
}

void InitMusicModule() {
    if (!LoaderList()) LoaderList() = plat::New<plat::TList<MusicLoader>>();
}

plat::TList<MusicLoader>& MusicLoaders() {
    InitMusicModule();
    return *LoaderList();
}

MusicLoader::MusicLoader(MusicLoaderFunc func, std::string name, std::string ext)
    : Name(std::move(name)), Func(std::move(func)), Ext(std::move(ext)) {}

void MusicLoader::Create(MusicLoaderFunc func, const std::string& name, const std::string& ext) {
    MusicLoaders().AddLast(plat::New<MusicLoader>(std::move(func), name, ext));
}

std::string MusicLoader::GetExtensions(int allsupported, int allfiles) {
    std::string text;
    if (allsupported) {
        text = "All supported:";
        for (const auto& loader : MusicLoaders()) text += "," + plat::Lower(loader->Ext);
    }
    for (const auto& loader : MusicLoaders()) {
        if (!text.empty()) text += ";";
        text += loader->Name + ":" + plat::Lower(loader->Ext);
    }
    if (allfiles) {
        if (!text.empty()) text += ";";
        text += "All Files:*";
    }
    return text;
}

Ref<TMusic> MusicLoader::Load(const MusicSource& source) {
    for (const auto& loader : MusicLoaders()) {
        if (source.stream) plat::SeekStream(source.stream, 0);
        if (!loader->Func) throw plat::RuntimeError("Attempt to call a null function");
        if (Ref<TMusic> music = loader->Func(source)) return music;
    }
    return nullptr;
}

Ref<TMusic> LoadMusic(const MusicSource& source) { return LoadMusicFunc(source); }

std::string MusicFileFilter(int allsupported, int allfiles) {
    return MusicFileFilterFunc(allsupported, allfiles);
}

void FreeMusic(const Ref<TMusic>& music) {
    if (music) music->Free();
}

void ResetMusicModuleForTests() {
    LoaderList().reset();
    ++generation;
}

}  // namespace music
