#pragma once
// One tile map read from an FMP file: header values, palette, block records
// with their collision flags, block animations, block graphics as images and
// up to eight layers of cells; drawing a layer into a viewport at a scroll
// offset, stepping animations, and the cell, block and collision queries.
//
// The reader does not trust the file: every chunk is decoded inside its own
// length, sizes are checked before anything is allocated, and a file that
// cannot be read leaves an empty map and an error code in `maperror`
// (0 fine, 1 not an FMP file, 2 cannot be opened, 3 unsupported header,
// 4 malformed or truncated).  Every block and graphic slot holds an object,
// and indices read from the file that point nowhere resolve to block 0,
// no graphic, or black.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/object.h"
#include "platform/gfx/image.h"
#include "platform/io/stream.h"

namespace tilemap {

// One block record.
struct BLKSTR {
    int bg = 0, fg = 0, fg2 = 0, fg3 = 0;
    int user1 = 0, user2 = 0, user3 = 0, user4 = 0, user5 = 0, user6 = 0, user7 = 0;
    int tl = 0, tr = 0, bl = 0, br = 0, trigger = 0, unused1 = 0, unused2 = 0, unused3 = 0;
};

// One block animation.
struct ANISTR {
    int antype = 0, andelay = 0, ancount = 0, anuser = 0, ancur = 0, anstart = 0, anend = 0;
};

// A saved 2D drawing state; constructing one captures the current state.
class DRAWENV {
public:
    DRAWENV();
    int vx = 0, vy = 0, vw = 0, vh = 0;
    int r = 0, g = 0, b = 0;
    int blend = 0;
    float alpha = 0;
    void EnvStore();
    void EnvRestore() const;
};

// Error codes of MapLoad.
enum MapError { MER_NONE = 0, MER_NOTFMP = 1, MER_CANTOPEN = 2, MER_UNSUPPORTED = 3, MER_MALFORMED = 4 };

class TileMap : public plat::Object {
public:
    TileMap();

    int mapmaxlayers = 2;
    int maperror = 0;
    int mapislsb = 0;
    int maptype = 0;
    int mapchunkdone = 0;
    int maptrans8 = 0;
    int maptransr = 0, maptransg = 0, maptransb = 0;
    std::uint32_t maptransval = 0;
    int mapwidth = 0, mapheight = 0;
    int mapblockwidth = 0, mapblockheight = 0;
    int mapdepth = 0;
    int mapblockstrsize = 0;
    int mapnumblockstr = 0;
    int mapnumblockgfx = 0;
    int mapblockgapx = 0, mapblockgapy = 0;
    int mapblockstaggerx = 0, mapblockstaggery = 0;
    int mapclickmask_fld = 0;
    int mapcurlyr = 0;
    int mapnumanims = 0;

    // Cells of (mapwidth+1) x (mapheight+1) x (mapmaxlayers+1); see Cell().
    std::vector<int> mappt;
    int mapptw = 0, mappth = 0, mapptl = 0;
    std::vector<int> aniseq;
    std::vector<plat::Ref<plat::TImage>> tilegfx;
    std::vector<int> cmappt;
    std::vector<BLKSTR> blks;
    std::vector<ANISTR> anis;

    // --- loading ----------------------------------------------------------
    int MapLoad(const std::string& file, int maxlayer);
    int MapFreeMem();
    int MapLoadMAR(const std::string& file);
    int MapGetcksz(const plat::Ref<plat::TStream>& stream);
    int MapReadLong(const plat::Ref<plat::TStream>& stream);
    int MapReadShort(const plat::Ref<plat::TStream>& stream);
    int MapReadByte(const plat::Ref<plat::TStream>& stream);
    // Chunk decoders over the chunk's bytes; each returns 0 (MPHD -1 when
    // the header is rejected) and sets mapchunkdone.
    int MapDecodeMPHD(const std::vector<std::uint8_t>& data);
    int MapDecodeCMAP(const std::vector<std::uint8_t>& data);
    int MapDecodeBKDT(const std::vector<std::uint8_t>& data);
    int MapDecodeANDT(const std::vector<std::uint8_t>& data);
    int MapDecodeBGFX(const std::vector<std::uint8_t>& data);
    int MapDecodeLYR(const std::vector<std::uint8_t>& data, int layer);
    int ResizeMAPPT(int width, int height, int layers);

    // --- queries (Part of the map's behaviour used every tick) -----------
    // Outside the cell array (or on a missing layer) the answer is block 0.
    const BLKSTR& MapGetBlock(int x, int y) const;
    int MapSetBlock(int x, int y, int value);
    const BLKSTR& MapGetBlockInPixels(int px, int py) const;
    int MapSetBlockInPixels(int px, int py, int value);
    int MapGetXOffset(int px, int py) const;
    int MapGetYOffset(int px, int py) const;
    int MapClickMask(int px, int py, int xory) const;
    int MapCollision(int px, int py) const;
    int MapPPCollision(int px, int py) const;

    // --- animation ---------------------------------------------------------
    int MapInitAnims();
    int MapUpdateAnims();

    // --- drawing ----------------------------------------------------------
    int MapDrawBG(int mapx, int mapy, int x, int y, int w, int h);
    int MapDrawBGT(int mapx, int mapy, int x, int y, int w, int h);
    int MapDrawFG(int mapx, int mapy, int x, int y, int w, int h, int which);
    int MapDrawStagger(int mapx, int mapy, int x, int y, int w, int h, int which);
    int MapDrawRow(int mapx, int mapy, int x, int y, int w, int h, int row);
    int MapDrawImageSimple(int gfx, float x, float y, int frame, int solid);
    int MapDrawImage(int gfx, float x, float y, int frame, int solid);
    int MapDrawImageRect(int gfx, float x, float y, float srcx, float srcy, float w, float h,
                         int frame);
    int SetDrawingEnv();

    // The stored value of a cell, 0 outside the array.
    int Cell(int x, int y, int layer) const;
    // The block number a cell shows (animations resolved), 0 when it names
    // nothing.
    int ResolveCell(int x, int y, int layer) const;
    // The image of a graphic number, nullptr for no graphic.
    const plat::Ref<plat::TImage>& Graphic(int gfx) const;

private:
    bool headerDone_ = false;
    plat::Ref<plat::TImage> blank_;
    void ResetHeader();
    void Empty();
    bool Fail(int code);
    // Whether a cell lies inside the cell array.
    bool InCells(int x, int y, int layer) const;
    // Where a cell inside the array is kept in mappt.
    std::size_t CellIndex(int x, int y, int layer) const;
    // Whether a map pixel lies inside the map.
    bool InPixels(int px, int py) const;
    int ResolveValue(int v) const;
    const BLKSTR& Block(int n) const;
    int Short(const std::uint8_t* p) const;
    int Long(const std::uint8_t* p) const;
    void DrawPlain(int mapx, int mapy, int x, int y, int w, int h, int which, bool solid,
                   bool skipZero);
    int GraphicOf(const BLKSTR& b, int which) const;
    // A graphic's pixel that shows nothing.
    bool Transparent(std::uint32_t pixel) const;
};

// Draws a frame of an image with blend mode 2 (solid), keeping the blend.
void DrawImageSolid(const plat::Ref<plat::TImage>& image, float x, float y, int frame);

}  // namespace tilemap
