// Reading FMP files.  The container is read chunk by chunk; each chunk's
// bytes are taken whole into a buffer (never more than the file still holds)
// and decoded from there with bounds checks, so no chunk can run into the
// next one, and a file that lies about its lengths is rejected instead of
// read past its end.

#include <cstring>

#include "platform/core/error.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/system.h"
#include "tilemap/tilemap.h"

namespace tilemap {

namespace {

// The largest map we accept: enough for any game map, small enough that a
// hostile header cannot make us allocate gigabytes.
constexpr long long kMaxCells = 1 << 24;
constexpr int kMaxBlockSide = 1024;
constexpr int kMaxAnims = 1000;

bool Is(const std::uint8_t* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

// The container's own lengths are big-endian whatever the map's byte order.
std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::uint32_t ArgbOf(int a, int r, int g, int b) {
    return (static_cast<std::uint32_t>(a & 255) << 24) | (static_cast<std::uint32_t>(r & 255) << 16) |
           (static_cast<std::uint32_t>(g & 255) << 8) | static_cast<std::uint32_t>(b & 255);
}

}  // namespace

DRAWENV::DRAWENV() { EnvStore(); }

TileMap::TileMap() = default;

int TileMap::Short(const std::uint8_t* p) const {
    int v = mapislsb ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1];
    return v > 32767 ? v - 65536 : v;
}

int TileMap::Long(const std::uint8_t* p) const {
    std::uint32_t v = mapislsb ? (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                  std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24)
                               : (std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 |
                                  std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 24);
    return static_cast<int>(v);
}

int TileMap::MapGetcksz(const plat::Ref<plat::TStream>& s) {
    std::uint8_t b[4];
    s->ReadExact(b, 4);
    return static_cast<int>(BigEndian32(b));
}

int TileMap::MapReadLong(const plat::Ref<plat::TStream>& s) {
    std::uint8_t b[4];
    s->ReadExact(b, 4);
    return Long(b);
}

int TileMap::MapReadShort(const plat::Ref<plat::TStream>& s) {
    std::uint8_t b[2];
    s->ReadExact(b, 2);
    return Short(b);
}

int TileMap::MapReadByte(const plat::Ref<plat::TStream>& s) {
    std::uint8_t b = 0;
    s->ReadExact(&b, 1);
    return b;
}

void TileMap::ResetHeader() {
    maperror = 0;
    mapislsb = maptype = mapchunkdone = 0;
    maptrans8 = maptransr = maptransg = maptransb = 0;
    maptransval = 0;
    mapwidth = mapheight = mapblockwidth = mapblockheight = mapdepth = 0;
    mapblockstrsize = mapnumblockstr = mapnumblockgfx = 0;
    mapblockgapx = mapblockgapy = mapblockstaggerx = mapblockstaggery = 0;
    mapclickmask_fld = 0;
    mapcurlyr = 0;
    mapnumanims = 0;
    headerDone_ = false;
}

void TileMap::Empty() {
    int err = maperror;
    ResetHeader();
    maperror = err;
    mappt.clear();
    mapptw = mappth = mapptl = 0;
    aniseq.clear();
    tilegfx.clear();
    cmappt.clear();
    blks.clear();
    anis.clear();
}

bool TileMap::Fail(int code) {
    maperror = code;
    Empty();
    return false;
}

int TileMap::ResizeMAPPT(int width, int height, int layers) {
    mappt.assign(static_cast<std::size_t>(width) * height * layers, 0);
    mapptw = width;
    mappth = height;
    mapptl = layers;
    return 0;
}

int TileMap::MapFreeMem() {
    anis.clear();
    blks.clear();
    tilegfx.clear();
    return 0;
}

int TileMap::MapLoad(const std::string& file, int maxlayer) {
    ResetHeader();
    mapmaxlayers = maxlayer < 0 ? 0 : (maxlayer > 7 ? 7 : maxlayer);
    auto s = plat::ReadStream(file);  // the file closes when the stream goes
    if (!s) {
        Fail(MER_CANTOPEN);
        return 0;
    }
    try {
        const long long size = s->Size();
        std::uint8_t head[12];
        const int got = s->Read(head, 12);
        if (got < 12) {
            // A file that starts like an FMP file but stops is truncated.
            const bool form = got >= 4 ? Is(head, "FORM") : std::memcmp(head, "FORM", got) == 0;
            Fail(form && got > 0 ? MER_MALFORMED : MER_NOTFMP);
            return 0;
        }
        if (!Is(head, "FORM") || !Is(head + 8, "FMAP")) {
            Fail(MER_NOTFMP);
            return 0;
        }
        long long remaining = static_cast<long long>(BigEndian32(head + 4)) - 4;
        if (remaining < 0 || remaining > size - 12) {
            Fail(MER_MALFORMED);
            return 0;
        }
        std::vector<std::uint8_t> data;
        bool ok = true;
        while (ok && remaining >= 8) {
            std::uint8_t ch[8];
            if (s->Read(ch, 8) != 8) {
                ok = Fail(MER_MALFORMED);
                break;
            }
            const long long n = BigEndian32(ch + 4);
            remaining -= 8;
            if (n > remaining || n > size - s->Pos()) {
                ok = Fail(MER_MALFORMED);
                break;
            }
            remaining -= n;
            data.resize(static_cast<std::size_t>(n));
            if (n > 0 && s->Read(data.data(), static_cast<int>(n)) != n) {
                ok = Fail(MER_MALFORMED);
                break;
            }
            mapchunkdone = 0;
            if (Is(ch, "MPHD")) {
                if (MapDecodeMPHD(data) != 0) ok = false;
            } else if (Is(ch, "CMAP")) {
                MapDecodeCMAP(data);  // plain bytes: it needs nothing of the header
            } else if (!headerDone_) {
                // Everything else needs the header's sizes: skipped before it.
            } else if (Is(ch, "BKDT")) {
                MapDecodeBKDT(data);
            } else if (Is(ch, "ANDT")) {
                if (MapDecodeANDT(data) != 0) ok = false;
            } else if (Is(ch, "BGFX")) {
                MapDecodeBGFX(data);
            } else if (Is(ch, "BODY")) {
                MapDecodeLYR(data, 0);
            } else if (ch[0] == 'L' && ch[1] == 'Y' && ch[2] == 'R' && ch[3] >= '1' && ch[3] <= '7') {
                MapDecodeLYR(data, ch[3] - '0');
            }
        }
        if (ok && remaining != 0) Fail(MER_MALFORMED);
    } catch (const plat::RuntimeError&) {
        Fail(MER_MALFORMED);
    }
    return 0;
}

int TileMap::MapDecodeMPHD(const std::vector<std::uint8_t>& d) {
    const int n = static_cast<int>(d.size());
    if (n < 24 || (n > 24 && n < 28) || (n > 28 && n < 36) || n == 37) {
        Fail(MER_MALFORMED);
        return -1;
    }
    if (d[0] > 1 || d[3] > 3) {
        Fail(MER_UNSUPPORTED);
        return -1;
    }
    mapislsb = d[2] == 1 ? 1 : 0;
    maptype = d[3];
    const std::uint8_t* p = d.data();
    const int w = Short(p + 4), h = Short(p + 6), bw = Short(p + 12), bh = Short(p + 14);
    const int depth = Short(p + 16), strsize = Short(p + 18), nblk = Short(p + 20), ngfx = Short(p + 22);
    if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) {
        Fail(MER_UNSUPPORTED);
        return -1;
    }
    int gapx = bw, gapy = bh, stx = 0, sty = 0;
    if (n > 28) {
        gapx = Short(p + 28);
        gapy = Short(p + 30);
        stx = Short(p + 32);
        sty = Short(p + 34);
    }
    const long long cells = static_cast<long long>(w + 1) * (h + 1) * (mapmaxlayers + 1);
    if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0 || bw > kMaxBlockSide || bh > kMaxBlockSide ||
        gapx <= 0 || gapy <= 0 || stx < 0 || sty < 0 || stx >= gapx || sty >= gapy ||
        nblk < 0 || ngfx < 0 || cells > kMaxCells || (maptype == 0 && strsize <= 0)) {
        Fail(MER_MALFORMED);
        return -1;
    }
    mapwidth = w;
    mapheight = h;
    mapblockwidth = bw;
    mapblockheight = bh;
    mapdepth = depth;
    mapblockstrsize = strsize;
    mapnumblockstr = nblk;
    mapnumblockgfx = ngfx;
    ResizeMAPPT(w + 1, h + 1, mapmaxlayers + 1);
    // Every slot holds an object: new slots get a zero block and the blank
    // graphic; slots of an earlier load keep what they held.
    if (!blank_ || plat::ImageWidth(blank_) != bw || plat::ImageHeight(blank_) != bh) {
        blank_ = plat::LoadImage(plat::CreatePixmap(bw, bh, plat::PF_RGBA8888, 4), -1);
        if (blank_) plat::SetImageHandle(blank_, 0, 0);
    }
    tilegfx.resize(static_cast<std::size_t>(ngfx) + 1, blank_);
    for (auto& g : tilegfx)
        if (!g) g = blank_;
    blks.resize(static_cast<std::size_t>(nblk) + 1);
    if (n == 24) {
        maptrans8 = 0;
        maptransr = 255;
        maptransg = 0;
        maptransb = 255;
    } else {
        maptrans8 = d[24];
        maptransr = d[25];
        maptransg = d[26];
        maptransb = d[27];
    }
    mapblockgapx = gapx;
    mapblockgapy = gapy;
    mapblockstaggerx = stx;
    mapblockstaggery = sty;
    // A header without the click-mask field keeps the value it had (0 after
    // the reset at the start of the load); one that stops just before it has none.
    if (n > 36)
        mapclickmask_fld = Short(p + 36);
    else if (n > 28)
        mapclickmask_fld = 0;
    if (mapclickmask_fld < 0 || mapclickmask_fld >= ngfx) mapclickmask_fld = 0;
    headerDone_ = true;
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapDecodeCMAP(const std::vector<std::uint8_t>& d) {
    cmappt.assign(d.begin(), d.end());
    cmappt.push_back(0);
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapDecodeBKDT(const std::vector<std::uint8_t>& d) {
    const int gsize = mapdepth == 15 ? mapblockwidth * mapblockheight * 2
                                     : mapblockwidth * mapblockheight * (mapdepth / 8);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(mapnumblockstr), d.size() / 32);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = d.data() + 32 * i;
        BLKSTR b;
        b.bg = Long(p);
        b.fg = Long(p + 4);
        b.fg2 = Long(p + 8);
        b.fg3 = Long(p + 12);
        if (maptype == 0) {
            b.bg /= gsize;
            b.fg /= gsize;
            b.fg2 /= gsize;
            b.fg3 /= gsize;
        }
        b.user1 = Long(p + 16);
        b.user2 = Long(p + 20);
        b.user3 = Short(p + 24);
        b.user4 = Short(p + 26);
        b.user5 = p[28];
        b.user6 = p[29];
        b.user7 = p[30];
        const int f = p[31];
        b.tl = f & 1;
        b.tr = (f >> 1) & 1;
        b.bl = (f >> 2) & 1;
        b.br = (f >> 3) & 1;
        b.trigger = (f >> 4) & 1;
        b.unused1 = (f >> 5) & 1;
        b.unused2 = (f >> 6) & 1;
        b.unused3 = (f >> 7) & 1;
        blks[i] = b;
    }
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapDecodeANDT(const std::vector<std::uint8_t>& d) {
    const long long n = static_cast<long long>(d.size());
    anis.assign(kMaxAnims + 1, ANISTR{});
    int k = 1;
    bool marker = false;
    for (; k <= kMaxAnims && 16LL * k <= n; ++k) {
        const std::uint8_t* p = d.data() + (n - 16LL * k);
        ANISTR a;
        a.antype = p[0];
        a.andelay = p[1];
        a.ancount = p[2];
        a.anuser = p[3];
        a.ancur = Long(p + 4);
        a.anstart = Long(p + 8);
        a.anend = Long(p + 12);
        if (maptype == 0) {
            a.ancur = static_cast<int>((a.ancur + n) / 4);
            a.anstart = static_cast<int>((a.anstart + n) / 4);
            a.anend = static_cast<int>((a.anend + n) / 4);
        }
        anis[k] = a;
        mapnumanims = k;
        if (a.antype == 255) {
            marker = true;
            break;
        }
    }
    if (!marker) {
        Fail(MER_MALFORMED);
        return -1;
    }
    const long long seq = n - 16LL * mapnumanims;
    aniseq.assign(static_cast<std::size_t>(seq / 4 + 1), 0);
    const long long last = (seq - 1) / 4;  // toward zero: one entry even when seq is 0
    for (long long i = 0; i <= last; ++i) {
        if (4 * i + 4 > n) break;
        int v = Long(d.data() + 4 * i);
        if (maptype == 0) v /= 32;
        aniseq[static_cast<std::size_t>(i)] = v;
    }
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapDecodeBGFX(const std::vector<std::uint8_t>& d) {
    const int w = mapblockwidth, h = mapblockheight;
    const int bpp = mapdepth == 8 ? 1 : mapdepth == 15 || mapdepth == 16 ? 2 : mapdepth == 24 ? 3 : 4;
    auto palette = [&](int idx, int& r, int& g, int& b) {
        const long long at = 3LL * idx;
        if (idx < 0 || at + 2 >= static_cast<long long>(cmappt.size())) {
            r = g = b = 0;  // a missing palette entry is black
            return;
        }
        r = cmappt[at];
        g = cmappt[at + 1];
        b = cmappt[at + 2];
    };
    // The transparent colour as the graphics store it (alpha 0).
    {
        int r = maptransr, g = maptransg, b = maptransb;
        if (mapdepth == 8) palette(maptrans8, r, g, b);
        maptransval = ArgbOf(0, r, g, b);
    }
    const std::size_t gbytes = static_cast<std::size_t>(w) * h * bpp;
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(mapnumblockgfx), d.size() / gbytes);
    const std::uint32_t transRgb = maptransval & 0xFFFFFF;
    const std::uint32_t keyRgb = ArgbOf(0, maptransr, maptransg, maptransb);
    for (std::size_t i = 0; i < count; ++i) {
        auto pm = plat::CreatePixmap(w, h, plat::PF_RGBA8888, 4);
        const std::uint8_t* p = d.data() + gbytes * i;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x, p += bpp) {
                int r = 0, g = 0, b = 0;
                switch (mapdepth) {
                case 8:
                    palette(p[0], r, g, b);
                    break;
                case 15: {
                    const int b1 = p[0] & 0x7F, b2 = p[1];
                    r = (b1 >> 2) << 3;
                    r |= r >> 5;
                    g = ((b1 & 3) << 6) | ((b2 >> 5) << 3);
                    g |= g >> 5;
                    b = (b2 << 3) & 255;
                    b |= b >> 5;
                    break;
                }
                case 16: {
                    const int b1 = p[0], b2 = p[1];
                    r = (b1 >> 3) << 3;
                    r |= r >> 5;
                    g = ((b1 & 7) << 5) | ((b2 >> 5) << 2);
                    g |= g >> 6;
                    b = (b2 << 3) & 255;
                    b |= b >> 5;
                    break;
                }
                case 24:
                    r = p[0];
                    g = p[1];
                    b = p[2];
                    break;
                default:
                    r = p[1];
                    g = p[2];
                    b = p[3];
                    break;
                }
                const std::uint32_t rgb = ArgbOf(0, r, g, b);
                const bool clear = mapdepth == 8 ? (rgb == keyRgb || rgb == transRgb) : rgb == transRgb;
                pm->Write(x, y, ArgbOf(clear ? 0 : 255, r, g, b));
            }
        }
        auto img = plat::LoadImage(pm, -1);
        if (img) {
            // Tiles are placed by their top-left corner whatever the loading defaults.
            plat::SetImageHandle(img, 0, 0);
            tilegfx[i] = img;
        }
    }
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapDecodeLYR(const std::vector<std::uint8_t>& d, int layer) {
    if (layer < 0 || layer > mapmaxlayers) return 0;  // the cell array has no room for it
    if (maptype == 3) {
        plat::Print("Sorry, unsupported use FMP0.5 or FMP1.0 for now");
        return 0;
    }
    const std::size_t n = d.size();
    std::size_t at = 0;
    auto next = [&](int& v) {
        if (at + 2 > n) return false;
        v = Short(d.data() + at);
        at += 2;
        return true;
    };
    auto put = [&](int x, int y, int v) { mappt[CellIndex(x, y, layer)] = v; };
    for (int y = 0; y < mapheight; ++y) {
        if (maptype == 2) {
            int x = 0;
            while (x < mapwidth) {
                int c = 0, v = 0;
                if (!next(c)) goto done;
                if (c > 0) {
                    for (int i = 0; i < c; ++i) {
                        if (!next(v)) goto done;
                        if (x < mapwidth) put(x++, y, v);  // a run stops at the row's end
                    }
                } else {
                    if (!next(v)) goto done;
                    for (int i = 0; i < -c && x < mapwidth; ++i) put(x++, y, v);
                }
            }
        } else {
            for (int x = 0; x < mapwidth; ++x) {
                int v = 0;
                if (!next(v)) goto done;
                if (maptype == 0) v = v < 0 ? v / 16 : v / mapblockstrsize;
                put(x, y, v);
            }
        }
    }
done:
    mapchunkdone = 1;
    return 0;
}

int TileMap::MapLoadMAR(const std::string& file) {
    auto s = plat::ReadStream(file);
    if (!s || mappt.empty() || mapcurlyr < 0 || mapcurlyr >= mapptl) return 0;
    for (int y = 0; y < mapheight; ++y) {
        for (int x = 0; x < mapwidth; ++x) {
            std::uint8_t b[2];
            if (s->Read(b, 2) != 2) return 0;
            mappt[CellIndex(x, y, mapcurlyr)] = Short(b);
        }
    }
    return 0;
}

}  // namespace tilemap
