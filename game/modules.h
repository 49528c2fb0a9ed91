#pragma once
// The tile-map and music modules as the game uses them.
//
// While a module has not joined the build yet, a silent stand-in with the
// same calls keeps the game building and running (no map drawn, no music);
// the real module replaces it by being present.

#if __has_include("tilemap/tilemap.h")
#include "tilemap/tilemap.h"
#define VELMAROK_HAVE_TILEMAP 1
#else
#include <string>

#include "platform/core/object.h"

namespace tilemap {

class TileMap : public plat::Object {
public:
    int mapwidth = 0, mapheight = 0;
    int mapblockwidth = 0, mapblockheight = 0;
    int mapcurlyr = 0;
    int maperror = 0;
    int MapLoad(const std::string&, int) { return 0; }
    int MapFreeMem() { return 0; }
    int MapDrawBG(int, int, int, int, int, int) { return 0; }
    int MapDrawBGT(int, int, int, int, int, int) { return 0; }
};

}  // namespace tilemap
#endif

#if __has_include("music/sid_stream.h")
#include "music/sid_stream.h"
#define VELMAROK_HAVE_MUSIC 1
#else
#include <cstdint>
#include <string>

#include "platform/core/object.h"

namespace music {

inline void InitSidStreamModule() {}

class SidAudioStream : public plat::Object {
public:
    std::uint8_t Load(const std::string&, std::uint16_t, std::uint8_t, float, float) { return 0; }
    void Play() {}
    void Stop() {}
    void Pause() {}
    void Restart() {}
    std::uint8_t IsPaused() const { return 0; }
    std::uint16_t GetTrackCount() const { return 0; }
    std::uint16_t CurrentTrack() const { return 0; }
    int SelectTrack(std::uint16_t) { return 0; }
    void SetHertz(float) {}
    void SetVolume(float) {}
    void Dispose() {}
};

}  // namespace music
#endif
