// Cell and collision queries, block animations and drawing a layer into a
// viewport.  Every layer draw saves the drawing state on entry and puts it
// back on exit.

#include <algorithm>

#include "platform/gfx/draw.h"
#include "platform/gfx/pixmap.h"
#include "tilemap/tilemap.h"

namespace tilemap {

namespace {
const BLKSTR kZeroBlock{};
const plat::Ref<plat::TImage> kNoImage;
}  // namespace

// --- drawing state ----------------------------------------------------------

void DRAWENV::EnvStore() {
    plat::GetColor(r, g, b);
    blend = plat::GetBlend();
    alpha = plat::GetAlpha();
    plat::GetViewport(vx, vy, vw, vh);
}

void DRAWENV::EnvRestore() const {
    plat::SetColor(r, g, b);
    plat::SetBlend(blend);
    plat::SetAlpha(alpha);
    plat::SetViewport(vx, vy, vw, vh);
}

int TileMap::SetDrawingEnv() {
    plat::SetAlpha(1.0f);
    plat::SetColor(255, 255, 255);
    plat::SetBlend(plat::ALPHABLEND);
    return 0;
}

void DrawImageSolid(const plat::Ref<plat::TImage>& image, float x, float y, int frame) {
    const int old = plat::GetBlend();
    plat::SetBlend(plat::SOLIDBLEND);
    plat::DrawImage(image, x, y, frame);
    plat::SetBlend(old);
}

// --- cells and blocks ---------------------------------------------------------

bool TileMap::InCells(int x, int y, int layer) const {
    return x >= 0 && y >= 0 && layer >= 0 && x < mapptw && y < mappth && layer < mapptl;
}

std::size_t TileMap::CellIndex(int x, int y, int layer) const {
    return (static_cast<std::size_t>(x) * mappth + y) * mapptl + layer;
}

bool TileMap::InPixels(int px, int py) const {
    return px >= 0 && py >= 0 && static_cast<long long>(px) < static_cast<long long>(mapblockwidth) * mapwidth &&
           static_cast<long long>(py) < static_cast<long long>(mapblockheight) * mapheight;
}

int TileMap::Cell(int x, int y, int layer) const {
    return InCells(x, y, layer) ? mappt[CellIndex(x, y, layer)] : 0;
}

const BLKSTR& TileMap::Block(int n) const {
    if (n >= 0 && n < static_cast<int>(blks.size())) return blks[n];
    return blks.empty() ? kZeroBlock : blks[0];
}

int TileMap::ResolveValue(int v) const {
    if (v >= 0) return v < static_cast<int>(blks.size()) ? v : 0;
    // -v names an animation record (the end marker is not one).
    const long long a = -static_cast<long long>(v);
    if (a >= mapnumanims || a >= static_cast<long long>(anis.size())) return 0;
    const int cur = anis[a].ancur;
    if (cur < 0 || cur >= static_cast<int>(aniseq.size())) return 0;
    const int b = aniseq[cur];
    return b >= 0 && b < static_cast<int>(blks.size()) ? b : 0;
}

int TileMap::ResolveCell(int x, int y, int layer) const { return ResolveValue(Cell(x, y, layer)); }

const BLKSTR& TileMap::MapGetBlock(int x, int y) const {
    return Block(InCells(x, y, mapcurlyr) ? ResolveCell(x, y, mapcurlyr) : 0);
}

int TileMap::MapSetBlock(int x, int y, int value) {
    if (InCells(x, y, mapcurlyr)) mappt[CellIndex(x, y, mapcurlyr)] = value;
    return 0;
}

const plat::Ref<plat::TImage>& TileMap::Graphic(int gfx) const {
    if (gfx < 0 || gfx >= static_cast<int>(tilegfx.size())) return kNoImage;
    return tilegfx[gfx];
}

int TileMap::MapClickMask(int px, int py, int xory) const {
    if (mapblockgapx <= 0 || mapblockgapy <= 0) return 0;
    const int x = px % mapblockgapx, y = py % mapblockgapy;
    if (x >= mapblockwidth && xory == 0) return 0;
    if (x >= mapblockwidth && xory == 1) return y < mapblockstaggery ? -1 : 1;
    if (y >= mapblockheight && xory == 1) return 1;
    if (y >= mapblockheight && xory == 0) return x < mapblockstaggerx ? -1 : 0;
    const auto& img = Graphic(mapclickmask_fld);
    if (!img || img->pixmaps.empty()) return 0;
    if (Transparent(img->pixmaps[0]->Read(x, y))) {
        if (xory == 0) return x < mapblockwidth / 2 ? -1 : 0;
        return y < mapblockheight / 2 ? -1 : 1;
    }
    return 0;
}

int TileMap::MapGetXOffset(int px, int py) const {
    if (mapblockgapx <= 0) return 0;
    int col;
    if (mapblockstaggerx == 0 && mapblockstaggery == 0) {
        col = px / mapblockgapx;
    } else {
        px += mapblockstaggerx;
        py += mapblockstaggery;
        col = px / mapblockgapx;
        if (mapclickmask_fld != 0) col += MapClickMask(px, py, 0);
    }
    return std::clamp(col, 0, std::max(0, mapwidth - 1));
}

int TileMap::MapGetYOffset(int px, int py) const {
    if (mapblockgapy <= 0) return 0;
    int row;
    if (mapblockstaggerx == 0 && mapblockstaggery == 0) {
        row = py / mapblockgapy;
    } else {
        px += mapblockstaggerx;
        py += mapblockstaggery;
        row = py / mapblockgapy;
        if (mapclickmask_fld != 0) row = 2 * row + MapClickMask(px, py, 1);
    }
    return std::clamp(row, 0, std::max(0, mapheight - 1));
}

const BLKSTR& TileMap::MapGetBlockInPixels(int px, int py) const {
    if (!InPixels(px, py)) return Block(0);
    return MapGetBlock(MapGetXOffset(px, py), MapGetYOffset(px, py));
}

int TileMap::MapSetBlockInPixels(int px, int py, int value) {
    if (!InPixels(px, py)) return 0;
    return MapSetBlock(MapGetXOffset(px, py), MapGetYOffset(px, py), value);
}

int TileMap::MapCollision(int px, int py) const {
    if (mapblockwidth <= 0 || mapblockheight <= 0) return MapGetBlock(-1, -1).tl ? 1 : 0;
    return MapGetBlock(px / mapblockwidth, py / mapblockheight).tl ? 1 : 0;
}

int TileMap::MapPPCollision(int px, int py) const {
    if (mapblockwidth <= 0 || mapblockheight <= 0) return 0;
    const BLKSTR& b = MapGetBlock(px / mapblockwidth, py / mapblockheight);
    if (!b.tl) return 0;
    const auto& img = Graphic(b.fg);
    if (!img) return 0;
    auto pm = plat::LockImage(img, 0, true, false);
    std::uint32_t pixel = maptransval;
    if (pm) pixel = plat::ReadPixel(pm, px % mapblockwidth, py % mapblockheight);
    plat::UnlockImage(img, 0);
    return Transparent(pixel) ? 0 : 1;
}

bool TileMap::Transparent(std::uint32_t pixel) const {
    // Images loaded with masking store the transparent colour as 0, and every
    // pixel the reader made see-through has alpha 0.
    return pixel == maptransval || (pixel >> 24) == 0;
}

// --- animation ---------------------------------------------------------------

int TileMap::MapInitAnims() {
    if (mapnumanims < 1) return 0;
    for (int i = 1; i < static_cast<int>(anis.size()) && i <= mapnumanims; ++i) {
        ANISTR& a = anis[i];
        if (a.antype == 255) break;
        if (a.antype == 8) a.antype = 5;
        if (a.antype == 7) a.antype = 6;
        if (a.antype == 9) a.antype = 3;
        a.ancur = a.anstart;
        if ((a.antype == 2 || a.antype == 6) && a.anstart != a.anend) a.ancur = a.anend - 1;
        a.ancount = a.andelay;
    }
    return 0;
}

int TileMap::MapUpdateAnims() {
    if (mapnumanims < 1) return 0;
    for (int i = 1; i < static_cast<int>(anis.size()) && i <= mapnumanims; ++i) {
        ANISTR& a = anis[i];
        if (a.antype == 255) break;
        if (a.antype == 0) continue;
        a.ancount -= 1;
        if (a.ancount >= 0) continue;
        a.ancount = a.andelay;
        if (a.anstart == a.anend) continue;
        switch (a.antype) {
        case 1:
            if (++a.ancur >= a.anend) a.ancur = a.anstart;
            break;
        case 2:
            if (--a.ancur <= a.anstart - 1) a.ancur = a.anend - 1;
            break;
        case 3:
            if (++a.ancur >= a.anend) {
                a.ancur = a.anstart;
                a.antype = 9;
            }
            break;
        case 4:
            if (a.ancur != a.anend - 1) ++a.ancur;
            break;
        case 5:
        case 8:
            // The start state 8 turns into the forward state 5, not 6.
            if (++a.ancur >= a.anend) {
                a.ancur -= 2;
                a.antype = a.antype == 8 ? 5 : 6;
                if (a.ancur < a.anstart) ++a.ancur;
            }
            break;
        case 6:
        case 7:
            // The start state 7 turns into the backward state 6, not 5.
            if (--a.ancur <= a.anstart - 1) {
                a.ancur += 2;
                a.antype = a.antype == 7 ? 6 : 5;
                if (a.ancur > a.anend - 1) --a.ancur;
            }
            break;
        default:
            break;
        }
    }
    return 0;
}

// --- drawing -------------------------------------------------------------------

int TileMap::MapDrawImageSimple(int gfx, float x, float y, int /*frame*/, int solid) {
    const auto& img = Graphic(gfx);
    if (!img) return 0;
    if (solid)
        DrawImageSolid(img, x, y, 0);
    else
        plat::DrawImage(img, x, y, 0);
    return 0;
}

int TileMap::MapDrawImage(int gfx, float x, float y, int frame, int solid) {
    DRAWENV env;
    SetDrawingEnv();
    MapDrawImageSimple(gfx, x, y, frame, solid);
    env.EnvRestore();
    return 0;
}

int TileMap::MapDrawImageRect(int gfx, float x, float y, float srcx, float srcy, float w, float h,
                              int frame) {
    const auto& img = Graphic(gfx);
    if (!img) return 0;
    DRAWENV env;
    SetDrawingEnv();
    plat::SetViewport(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h));
    plat::DrawImage(img, x - srcx, y - srcy, frame);
    env.EnvRestore();
    return 0;
}

int TileMap::GraphicOf(const BLKSTR& b, int which) const {
    switch (which) {
    case 0: return b.bg;
    case 1: return b.fg;
    case 2: return b.fg2;
    default: return b.fg3;
    }
}

void TileMap::DrawPlain(int mapx, int mapy, int x, int y, int w, int h, int which, bool solid,
                        bool skipZero) {
    if (mapblockwidth <= 0 || mapblockheight <= 0 || w <= 0 || h <= 0) return;
    DRAWENV env;
    SetDrawingEnv();
    plat::SetViewport(x, y, w, h);
    if (solid) plat::SetBlend(plat::SOLIDBLEND);
    const int c0 = mapx / mapblockwidth;
    const int px0 = x - mapx % mapblockwidth;
    int r = mapy / mapblockheight;
    for (int py = y - mapy % mapblockheight; py < y + h; py += mapblockheight, ++r) {
        int c = c0;
        for (int px = px0; px < x + w; px += mapblockwidth, ++c) {
            const int gfx = GraphicOf(Block(ResolveCell(c, r, mapcurlyr)), which);
            if (skipZero && gfx <= 0) continue;
            const auto& img = Graphic(gfx);
            if (img && img != blank_) plat::DrawImage(img, static_cast<float>(px), static_cast<float>(py), 0);
        }
    }
    env.EnvRestore();
}

int TileMap::MapDrawBG(int mapx, int mapy, int x, int y, int w, int h) {
    if (mapblockstaggerx || mapblockstaggery) return MapDrawStagger(mapx, mapy, x, y, w, h, 0);
    DrawPlain(mapx, mapy, x, y, w, h, 0, true, false);
    return 0;
}

int TileMap::MapDrawBGT(int mapx, int mapy, int x, int y, int w, int h) {
    if (mapblockstaggerx || mapblockstaggery) return MapDrawStagger(mapx, mapy, x, y, w, h, 0);
    DrawPlain(mapx, mapy, x, y, w, h, 0, false, true);
    return 0;
}

int TileMap::MapDrawFG(int mapx, int mapy, int x, int y, int w, int h, int which) {
    which = std::clamp(which, 0, 2);
    if (mapblockstaggerx || mapblockstaggery) return MapDrawStagger(mapx, mapy, x, y, w, h, which + 1);
    DrawPlain(mapx, mapy, x, y, w, h, which + 1, false, true);
    return 0;
}

int TileMap::MapDrawStagger(int mapx, int mapy, int x, int y, int w, int h, int which) {
    if (mapblockgapx <= 0 || mapblockgapy <= 0 || mapblockstaggery >= mapblockgapy || w <= 0 || h <= 0)
        return 0;
    which = std::clamp(which, 0, 3);
    DRAWENV env;
    SetDrawingEnv();
    plat::SetViewport(x, y, w, h);
    auto draw = [&](int c, int r, int px, int py) {
        const auto& img = Graphic(GraphicOf(Block(ResolveCell(c, r, mapcurlyr)), which));
        if (img && img != blank_) plat::DrawImage(img, static_cast<float>(px), static_cast<float>(py), 0);
    };
    const int c0 = mapx / mapblockgapx;
    int r = 2 * (mapy / mapblockgapy);
    const int px0 = x - mapx % mapblockgapx - mapblockstaggerx;
    int py = y - mapy % mapblockgapy - mapblockstaggery;
    while (py < y + h) {
        int c = c0;
        for (int px = px0; px < x + w; px += mapblockgapx, ++c) draw(c, r, px, py);
        ++r;
        py += mapblockstaggery;
        c = c0;
        for (int px = px0 + mapblockstaggerx; px < x + w; px += mapblockgapx, ++c) draw(c, r, px, py);
        ++r;
        py += mapblockgapy - mapblockstaggery;
    }
    env.EnvRestore();
    return 0;
}

int TileMap::MapDrawRow(int mapx, int mapy, int x, int y, int w, int h, int row) {
    if (mapblockgapx <= 0 || mapblockgapy <= 0 || w <= 0 || h <= 0) return 0;
    if (mapy / mapblockgapy + row >= mapheight) return 0;
    const int maprow = 2 * (mapy / mapblockgapy) + row;
    DRAWENV env;
    SetDrawingEnv();
    plat::SetViewport(x, y, w, h);
    int px = x - mapx % mapblockgapx;
    int base = y - mapy % mapblockgapy + (row / 2) * mapblockgapy;
    if (row % 2 == 0) {
        px -= mapblockstaggerx;
        base -= mapblockstaggery;
    }
    const int half = mapblockwidth / 2;
    auto piece = [&](const BLKSTR& b, int gfx, int gx, int gy) {
        if (gfx <= 0) return;
        if (!b.unused2 && !b.unused3) {
            MapDrawImageSimple(gfx, static_cast<float>(gx), static_cast<float>(gy), 0, 0);
        } else if (b.unused2 && !b.unused3) {
            MapDrawImageRect(gfx, static_cast<float>(gx), static_cast<float>(gy), 0, 0,
                             static_cast<float>(half), static_cast<float>(mapblockheight), 0);
        } else if (!b.unused2 && b.unused3) {
            MapDrawImageRect(gfx, static_cast<float>(gx + half), static_cast<float>(gy),
                             static_cast<float>(half), 0, static_cast<float>(half),
                             static_cast<float>(mapblockheight), 0);
        }
    };
    // A row beyond the cell array shows block 0 (ResolveCell answers 0 there).
    for (int c = mapx / mapblockgapx; px < x + w; ++c, px += mapblockgapx) {
        const int first = ResolveCell(c, maprow, mapcurlyr);
        int py = base;
        for (int j = 0;; ++j) {
            const long long k = static_cast<long long>(first) + j;
            if (k >= static_cast<long long>(blks.size())) break;
            const BLKSTR& b = blks[static_cast<std::size_t>(k)];
            if (j > 0) {
                piece(b, b.bg, px, py);
                py -= mapblockheight;
            }
            piece(b, b.fg, px, py);
            py -= mapblockheight;
            piece(b, b.fg2, px, py);
            py -= mapblockheight;
            piece(b, b.fg3, px, py);
            py -= mapblockheight;
            if (!b.unused1) break;
        }
    }
    env.EnvRestore();
    return 0;
}

}  // namespace tilemap
