#pragma once
// The tile-map and music modules as the game uses them.
//
// While a module has not joined the build yet, a silent stand-in with the
// same calls keeps the game building and running (no map drawn, no music).
// The build defines VELMAROK_HAVE_TILEMAP / VELMAROK_HAVE_MUSIC when the
// module's library exists, so every file of the game sees the same choice
// and a build folder recompiles the game when a module arrives.

#ifdef VELMAROK_HAVE_TILEMAP
#include "tilemap/tilemap.h"
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

#ifdef VELMAROK_HAVE_MUSIC
#include "music/sid_stream.h"
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
