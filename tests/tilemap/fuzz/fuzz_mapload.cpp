// Any bytes as a map file: loading must never crash, leak or read outside
// its buffers, and the loaded map must answer queries and draw safely.

#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "platform/gfx/draw.h"
#include "tilemap/tilemap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/velmarok-fuzz-map-" + std::to_string(::getpid()) + ".dat";
    }();
    static bool recording = (plat::StartRecording(), true);
    (void)recording;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    tilemap::TileMap m;
    m.MapLoad(path, 2);
    for (int layer = 0; layer <= 2; ++layer) {
        m.mapcurlyr = layer;
        m.MapCollision(5, 5);
        m.MapCollision(342, -7);
        m.MapPPCollision(3, 3);
        m.MapGetBlockInPixels(9, 9);
        m.MapDrawBG(3, 5, 0, 26, 64, 40);
        m.MapDrawBGT(-3, 7, 0, 26, 64, 40);
        m.MapDrawFG(0, 0, 0, 26, 32, 32, 1);
        m.MapDrawRow(0, 0, 0, 26, 32, 32, 1);
    }
    m.MapInitAnims();
    for (int i = 0; i < 4; ++i) m.MapUpdateAnims();
    plat::ClearRecordedCalls();
    return 0;
}
