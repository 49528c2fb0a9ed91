#pragma once
// Builds FMP files in memory for the tests: a little builder of chunks and
// numbers in either byte order, with a ready-made small map.

#include <cstdint>
#include <string>
#include <vector>

namespace fmptest {

using Bytes = std::vector<std::uint8_t>;

struct Writer {
    bool lsb = true;
    Bytes out;
    void u8(int v) { out.push_back(static_cast<std::uint8_t>(v)); }
    void s16(int v) {
        const auto u = static_cast<std::uint16_t>(v);
        if (lsb) { u8(u & 255); u8(u >> 8); } else { u8(u >> 8); u8(u & 255); }
    }
    void s32(int v) {
        const auto u = static_cast<std::uint32_t>(v);
        if (lsb) { for (int i = 0; i < 4; ++i) u8((u >> (8 * i)) & 255); }
        else { for (int i = 3; i >= 0; --i) u8((u >> (8 * i)) & 255); }
    }
};

inline void be32(Bytes& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 255));
}

struct Chunk {
    std::string id;
    Bytes data;
    long long lengthOverride = -1;  // a lying length field
};

// "FORM" L "FMAP" chunks; L = 4 + sum(8 + N) unless given.
inline Bytes Container(const std::vector<Chunk>& chunks, long long formOverride = -1) {
    Bytes body = {'F', 'M', 'A', 'P'};
    for (const auto& c : chunks) {
        body.insert(body.end(), c.id.begin(), c.id.end());
        be32(body, static_cast<std::uint32_t>(c.lengthOverride >= 0 ? c.lengthOverride : c.data.size()));
        body.insert(body.end(), c.data.begin(), c.data.end());
    }
    Bytes f = {'F', 'O', 'R', 'M'};
    be32(f, static_cast<std::uint32_t>(formOverride >= 0 ? formOverride : body.size()));
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

struct Header {
    int major = 1, minor = 0, lsb = 1, type = 1;
    int w = 4, h = 3, bw = 8, bh = 8, depth = 24, strsize = 32, nblk = 3, ngfx = 3;
    int trans8 = 0, tr = 255, tg = 0, tb = 255;
    int gapx = -1, gapy = -1, stx = 0, sty = 0, clickmask = 0;
    int length = 38;  // 24, 28, 36 or 38+
};

inline Bytes Mphd(const Header& h) {
    Writer w;
    w.lsb = h.lsb == 1;
    w.u8(h.major); w.u8(h.minor); w.u8(h.lsb); w.u8(h.type);
    for (int v : {h.w, h.h, 0, 0, h.bw, h.bh, h.depth, h.strsize, h.nblk, h.ngfx}) w.s16(v);
    if (h.length > 24) { w.u8(h.trans8); w.u8(h.tr); w.u8(h.tg); w.u8(h.tb); }
    if (h.length > 28) {
        w.s16(h.gapx < 0 ? h.bw : h.gapx); w.s16(h.gapy < 0 ? h.bh : h.gapy);
        w.s16(h.stx); w.s16(h.sty);
    }
    if (h.length > 36) w.s16(h.clickmask);
    while (static_cast<int>(w.out.size()) < h.length) w.u8(0);
    w.out.resize(static_cast<std::size_t>(h.length));
    return w.out;
}

struct Block { int bg = 0, fg = 0, fg2 = 0, fg3 = 0, flags = 0; };

inline Bytes Bkdt(const std::vector<Block>& blocks, bool lsb = true) {
    Writer w;
    w.lsb = lsb;
    for (const auto& b : blocks) {
        w.s32(b.bg); w.s32(b.fg); w.s32(b.fg2); w.s32(b.fg3); w.s32(7); w.s32(8);
        w.s16(-3); w.s16(4); w.u8(5); w.u8(6); w.u8(7); w.u8(b.flags);
    }
    return w.out;
}

// Solid colour graphics at depth 24.
inline Bytes Bgfx24(const std::vector<std::uint32_t>& rgbs, int bw = 8, int bh = 8) {
    Bytes b;
    for (auto c : rgbs)
        for (int i = 0; i < bw * bh; ++i) {
            b.push_back((c >> 16) & 255); b.push_back((c >> 8) & 255); b.push_back(c & 255);
        }
    return b;
}

inline Bytes Cells(const std::vector<int>& v, bool lsb = true) {
    Writer w;
    w.lsb = lsb;
    for (int c : v) w.s16(c);
    return w.out;
}

// A 4 x 3 map, three blocks: 0 free (graphic 0, red), 1 solid (graphic 1,
// green), 2 solid + deadly (graphic 2, blue); layer 1 with block 1 at (1, 1).
inline std::vector<Chunk> SmallMap(const Header& h = Header{}) {
    return {
        {"MPHD", Mphd(h)},
        {"BKDT", Bkdt({{0, 0, 0, 0, 0}, {1, 0, 0, 0, 1}, {2, 0, 0, 0, 1 | 8}}, h.lsb == 1)},
        {"BGFX", Bgfx24({0xFF0000, 0x00FF00, 0x0000FF}, h.bw, h.bh)},
        {"BODY", Cells({0, 1, 2, 0,
                        1, 0, 0, 2,
                        0, 0, 1, 1}, h.lsb == 1)},
        {"LYR1", Cells({0, 0, 0, 0,
                        0, 1, 0, 0,
                        0, 0, 0, 0}, h.lsb == 1)},
    };
}

}  // namespace fmptest
