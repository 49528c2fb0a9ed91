#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "tests/tilemap/fmp_writer.h"
#include "tilemap/tilemap.h"

using namespace fmptest;
using tilemap::TileMap;

namespace {

std::string WriteTemp(const Bytes& bytes) {
    static std::atomic<int> counter{0};
    auto dir = std::filesystem::temp_directory_path() / "velmarok-tilemap-tests";
    std::filesystem::create_directories(dir);
    auto path = dir / ("map" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".dat");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::shared_ptr<TileMap> Load(const Bytes& bytes, int maxlayer = 2) {
    auto m = std::make_shared<TileMap>();
    m->MapLoad(WriteTemp(bytes), maxlayer);
    return m;
}

std::uint32_t Pixel(const TileMap& m, int gfx, int x = 0, int y = 0) {
    return m.tilegfx.at(gfx)->pixmaps.at(0)->Read(x, y);
}

// The state every layer draw must put back.
struct State {
    int r, g, b, blend, vx, vy, vw, vh;
    float alpha;
    static State Now() {
        State s{};
        plat::GetColor(s.r, s.g, s.b);
        s.blend = plat::GetBlend();
        s.alpha = plat::GetAlpha();
        plat::GetViewport(s.vx, s.vy, s.vw, s.vh);
        return s;
    }
    bool operator==(const State& o) const {
        return r == o.r && g == o.g && b == o.b && blend == o.blend && vx == o.vx && vy == o.vy &&
               vw == o.vw && vh == o.vh && alpha == o.alpha;
    }
};

// Replays recorded image draws into a 320 x 240 picture: solid draws copy
// every pixel, alpha draws only the opaque ones; both clip to the viewport.
struct Screen {
    std::vector<std::uint32_t> px = std::vector<std::uint32_t>(320 * 240, 0xFF000000u);
    void Replay(const std::vector<plat::DrawRecord>& calls) {
        for (const auto& c : calls) {
            if (c.kind != plat::DrawRecord::IMAGE || !c.image) continue;
            const auto& pm = c.image->pixmaps.at(c.frame);
            for (int y = 0; y < pm->height; ++y)
                for (int x = 0; x < pm->width; ++x) {
                    const int sx = static_cast<int>(c.x) + x, sy = static_cast<int>(c.y) + y;
                    if (sx < c.vpX || sy < c.vpY || sx >= c.vpX + c.vpW || sy >= c.vpY + c.vpH) continue;
                    if (sx < 0 || sy < 0 || sx >= 320 || sy >= 240) continue;
                    const std::uint32_t v = pm->Read(x, y);
                    if (c.blend == plat::SOLIDBLEND)
                        px[sy * 320 + sx] = v | 0xFF000000u;
                    else if ((v >> 24) >= 128)
                        px[sy * 320 + sx] = v;
                }
        }
    }
    std::uint32_t At(int x, int y) const { return px[y * 320 + x] & 0xFFFFFF; }
};

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        plat::SetViewport(0, 0, 320, 240);
        plat::SetColor(10, 20, 30);
        plat::SetAlpha(0.5f);
        plat::SetBlend(plat::LIGHTBLEND);
    }
    void TearDown() override { plat::StopRecording(); }
};

}  // namespace

TEST(TileMapLoad, SmallMapRoundTrip) {
    auto m = Load(Container(SmallMap()));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->mapwidth, 4);
    EXPECT_EQ(m->mapheight, 3);
    EXPECT_EQ(m->mapblockwidth, 8);
    EXPECT_EQ(m->mapnumblockstr, 3);
    EXPECT_EQ(m->mapblockgapx, 8);
    ASSERT_EQ(m->blks.size(), 4u);    // one spare
    ASSERT_EQ(m->tilegfx.size(), 4u);  // one spare, never null
    for (const auto& g : m->tilegfx) EXPECT_NE(g, nullptr);
    EXPECT_EQ(m->blks[2].tl, 1);
    EXPECT_EQ(m->blks[2].br, 1);
    EXPECT_EQ(m->blks[1].user3, -3);
    EXPECT_EQ(m->blks[1].user7, 7);
    EXPECT_EQ(Pixel(*m, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(*m, 2, 7, 7), 0xFF0000FFu);
    EXPECT_EQ(m->MapGetBlock(1, 0).bg, 1);
    EXPECT_EQ(m->MapCollision(8, 0), 1);
    EXPECT_EQ(m->MapCollision(-3, 5), 0);  // toward zero: cell (0, 0)
    EXPECT_EQ(m->MapCollision(3 * 8 + 7, 8), 1);
    m->mapcurlyr = 1;
    EXPECT_EQ(m->MapGetBlock(1, 1).bg, 1);
    EXPECT_EQ(m->MapGetBlock(0, 0).bg, 0);
    m->mapcurlyr = 0;
    // The spare column and row, and anything outside, answer block 0.
    for (auto [x, y] : {std::pair{4, 0}, {0, 3}, {42, 5}, {-1, 0}, {0, -7}, {1000000, 1000000}})
        EXPECT_EQ(&m->MapGetBlock(x, y), &m->blks[0]) << x << "," << y;
    EXPECT_EQ(m->MapCollision(342, 10), 0);
    EXPECT_EQ(&m->MapGetBlockInPixels(32, 0), &m->blks[0]);
    m->MapSetBlock(50, 50, 2);  // outside: nothing
    m->MapSetBlock(0, 0, 2);
    EXPECT_EQ(m->MapCollision(0, 0), 1);
}

TEST(TileMapLoad, DepthsAndByteOrders) {
    struct Case { int depth; bool lsb; Bytes pixel; std::uint32_t want; };
    const Case cases[] = {
        {24, true, {10, 20, 30}, 0xFF0A141Eu},
        {24, false, {255, 0, 255}, 0x00FF00FFu},           // the mask colour: transparent
        {32, true, {99, 10, 20, 30}, 0xFF0A141Eu},
        {16, true, {0xF8, 0x1F}, 0x00FF00FFu},             // decodes to (255, 0, 255)
        {16, false, {0x07, 0xE0}, 0xFF00FF00u},
        {15, true, {0x7C, 0x00}, 0xFFFF0000u},
        {15, true, {0xFC, 0x00}, 0xFFFF0000u},             // bit 7 of b1 is not colour
        {8, true, {2}, 0xFF112233u},
        {8, true, {0}, 0x00FF00FFu},                        // palette entry of trans8
        {8, true, {200}, 0xFF000000u},                      // no such palette entry: black
    };
    for (const auto& c : cases) {
        Header h;
        h.depth = c.depth;
        h.lsb = c.lsb ? 1 : 0;
        h.bw = h.bh = 1;
        h.w = h.h = 1;
        h.nblk = h.ngfx = 1;
        std::vector<Chunk> chunks = {{"MPHD", Mphd(h)}};
        if (c.depth == 8) chunks.push_back({"CMAP", {255, 0, 255, 1, 1, 1, 0x11, 0x22, 0x33}});
        chunks.push_back({"BKDT", Bkdt({{0, 0, 0, 0, 0}}, c.lsb)});
        chunks.push_back({"BGFX", c.pixel});
        chunks.push_back({"BODY", Cells({0}, c.lsb)});
        auto m = Load(Container(chunks));
        ASSERT_EQ(m->maperror, 0) << c.depth;
        EXPECT_EQ(Pixel(*m, 0), c.want) << "depth " << c.depth << " lsb " << c.lsb;
        if (c.depth == 8) {
            // Chunks may come in any order: a palette ahead of the header counts.
            std::swap(chunks[0], chunks[1]);
            m = Load(Container(chunks));
            ASSERT_EQ(m->maperror, 0);
            EXPECT_EQ(Pixel(*m, 0), c.want) << "palette first, index " << int(c.pixel[0]);
        }
    }
}

TEST(TileMapLoad, MapTypesAndShortHeader) {
    // Type 0: cells are byte offsets of block records, negatives name animations.
    Header h;
    h.type = 0;
    h.length = 24;
    auto chunks = SmallMap(h);
    chunks[3].data = Cells({0, 32, 64, -16, 0, 0, 0, 0, 0, 0, 0, 0});
    auto m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->maptransr, 255);
    EXPECT_EQ(m->maptransb, 255);
    EXPECT_EQ(m->mapblockgapy, 8);
    EXPECT_EQ(m->Cell(1, 0, 0), 1);
    EXPECT_EQ(m->Cell(2, 0, 0), 2);
    EXPECT_EQ(m->Cell(3, 0, 0), -1);
    EXPECT_EQ(m->ResolveCell(3, 0, 0), 0);  // no animations: block 0

    // Type 2: runs; a run past the row's end stops there.
    h = Header{};
    h.type = 2;
    chunks = SmallMap(h);
    chunks[3].data = Cells({-3, 2, 1, 1,    // row 0: 2 2 2 1
                            0, 9, -9, 1,    // row 1: count 0 stores nothing; then 1 x4 (clamped)
                            6, 1, 2, 1, 2, 1, 2});  // row 2: six literals, four stored
    m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->Cell(0, 0, 0), 2);
    EXPECT_EQ(m->Cell(3, 0, 0), 1);
    EXPECT_EQ(m->Cell(0, 1, 0), 1);
    EXPECT_EQ(m->Cell(3, 1, 0), 1);
    EXPECT_EQ(m->Cell(4, 1, 0), 0);  // the spare column is untouched
    EXPECT_EQ(m->Cell(3, 2, 0), 2);

    // Type 3: layers are not decoded, loading goes on.
    h = Header{};
    h.type = 3;
    testing::internal::CaptureStdout();
    m = Load(Container(SmallMap(h)));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Sorry, unsupported use FMP0.5 or FMP1.0 for now\n"
              "Sorry, unsupported use FMP0.5 or FMP1.0 for now\n")
        << "one line per layer chunk";
    EXPECT_EQ(m->maperror, 0);
    EXPECT_EQ(m->Cell(1, 0, 0), 0);
    EXPECT_EQ(m->blks[2].tl, 1);
}

TEST(TileMapLoad, MalformedFilesLeaveAnEmptyMap) {
    auto with = [](auto edit) {
        auto c = SmallMap();
        edit(c);
        return Container(c);
    };
    Header zeroBlock;
    zeroBlock.bw = 0;
    Header zeroGap;
    zeroGap.gapx = 0;
    Header v2;
    v2.major = 2;
    Header t4;
    t4.type = 4;
    Header d12;
    d12.depth = 12;
    Header huge;
    huge.w = 32000;
    huge.h = 32000;
    Header len30;
    len30.length = 30;
    Header badStagger;
    badStagger.sty = 8;
    struct Case { const char* name; Bytes file; int error; };
    std::vector<Case> cases = {
        {"bad magic", [] { auto b = Container(SmallMap()); b[0] = 'X'; return b; }(), 1},
        {"bad FMAP", [] { auto b = Container(SmallMap()); b[9] = 'X'; return b; }(), 1},
        {"short header", {'F', 'O', 'R', 'M', 0, 0}, 4},
        {"truncated in a chunk", [] { auto b = Container(SmallMap()); b.resize(b.size() - 5); return b; }(), 4},
        {"FORM length too long", Container(SmallMap(), 100000), 4},
        {"FORM length too short", Container(SmallMap(), 60), 4},
        {"chunk length past the end", with([](auto& c) { c[2].lengthOverride = 0x7FFFFFF0; }), 4},
        {"chunk length above 2^31", with([](auto& c) { c[2].lengthOverride = 0x90000000LL; }), 4},
        {"zero block size", with([&](auto& c) { c[0].data = Mphd(zeroBlock); }), 4},
        {"zero gap", with([&](auto& c) { c[0].data = Mphd(zeroGap); }), 4},
        {"stagger as big as the gap", with([&](auto& c) { c[0].data = Mphd(badStagger); }), 4},
        {"absurd size", with([&](auto& c) { c[0].data = Mphd(huge); }), 4},
        {"header length 30", with([&](auto& c) { c[0].data = Mphd(len30); }), 4},
        {"header shorter than 24", with([](auto& c) { c[0].data.resize(20); }), 4},
        {"major version 2", with([&](auto& c) { c[0].data = Mphd(v2); }), 3},
        {"map type 4", with([&](auto& c) { c[0].data = Mphd(t4); }), 3},
        {"depth 12", with([&](auto& c) { c[0].data = Mphd(d12); }), 3},
        {"ANDT without marker", with([](auto& c) { c.push_back({"ANDT", Bytes(48, 1)}); }), 4},
        {"ANDT shorter than a record", with([](auto& c) { c.push_back({"ANDT", Bytes(8, 0)}); }), 4},
    };
    for (const auto& c : cases) {
        auto m = Load(c.file);
        EXPECT_EQ(m->maperror, c.error) << c.name;
        EXPECT_EQ(m->mapwidth, 0) << c.name;
        EXPECT_TRUE(m->blks.empty() && m->tilegfx.empty() && m->mappt.empty()) << c.name;
        // Still safe to use.
        EXPECT_EQ(m->MapCollision(10, 10), 0) << c.name;
        EXPECT_EQ(m->MapGetBlock(0, 0).bg, 0) << c.name;
        m->MapSetBlock(0, 0, 1);
        m->MapDrawBG(0, 0, 0, 0, 320, 160);
        m->MapUpdateAnims();
    }
    auto missing = std::make_shared<TileMap>();
    missing->MapLoad("/nonexistent/velmarok/Level9.dat", 2);
    EXPECT_EQ(missing->maperror, 2);
}

TEST(TileMapLoad, ResolvedOrIgnoredFaults) {
    // Cells naming missing blocks, a layer above the highest, chunks before
    // the header: the file loads, and nothing points nowhere.
    auto c = SmallMap();
    c[3].data = Cells({7, -5, 32000, -32768, 0, 0, 0, 0, 0, 0, 0, 0});
    c.insert(c.begin(), {"BODY", Cells({2, 2, 2, 2})});  // before MPHD: ignored
    c.push_back({"LYR5", Cells(std::vector<int>(12, 1))});
    c.push_back({"XTRA", Bytes(13, 0xEE)});
    auto m = Load(Container(c));
    ASSERT_EQ(m->maperror, 0);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(m->ResolveCell(x, 0, 0), 0) << x;
    EXPECT_EQ(m->mapptl, 3);
    // Graphic numbers out of range draw nothing; a click mask beyond the graphics is none.
    Header h;
    h.clickmask = 40;
    c = SmallMap(h);
    c[1].data = Bkdt({{-4, 0, 0, 0, 0}, {999, 999, 0, 0, 1}, {2, 0, 0, 0, 1}});
    m = Load(Container(c));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->mapclickmask_fld, 0);
    EXPECT_EQ(m->Graphic(999), nullptr);
    EXPECT_EQ(m->MapPPCollision(8, 0), 0);
}

TEST(TileMapLoad, ClickMaskByHeaderLength) {
    // The field is read from 38 bytes on, 0 for 36, and kept by a header
    // too short to have it (a second header in the same file).
    struct Case { int first, second; int want; };
    const Case cases[] = {{38, 38, 1}, {38, 36, 0}, {38, 28, 2}, {38, 24, 2}, {28, 24, 0}};
    for (const auto& c : cases) {
        Header h1, h2;
        h1.length = c.first;
        h1.clickmask = 2;
        h2.length = c.second;
        h2.clickmask = 1;
        auto chunks = SmallMap(h1);
        chunks.insert(chunks.begin() + 1, {"MPHD", Mphd(h2)});
        auto m = Load(Container(chunks));
        ASSERT_EQ(m->maperror, 0);
        EXPECT_EQ(m->mapclickmask_fld, c.want) << c.first << " then " << c.second;
    }
}

TEST(TileMapLoad, ReloadStartsClean) {
    auto m = std::make_shared<TileMap>();
    auto bad = Container(SmallMap());
    bad[0] = 'X';
    m->MapLoad(WriteTemp(bad), 2);
    EXPECT_EQ(m->maperror, 1);
    m->mapcurlyr = 1;
    m->MapLoad(WriteTemp(Container(SmallMap())), 2);
    EXPECT_EQ(m->maperror, 0);
    EXPECT_EQ(m->mapcurlyr, 0);
    EXPECT_EQ(m->mapwidth, 4);
    m->MapFreeMem();
    EXPECT_TRUE(m->blks.empty());
    EXPECT_EQ(m->MapCollision(8, 0), 0);  // freed: safe, block 0

    // Without MapFreeMem, slots the new file does not fill keep what they held.
    m->MapLoad(WriteTemp(Container(SmallMap())), 2);
    auto partial = SmallMap();
    partial[1].data.resize(32);                                // one block record of three
    partial[2].data = Bgfx24({0x123456});                      // one graphic of three
    const auto oldImage = m->tilegfx[2];
    m->MapLoad(WriteTemp(Container(partial)), 2);
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->blks[2].br, 1);
    EXPECT_EQ(m->tilegfx[2], oldImage);
    EXPECT_EQ(Pixel(*m, 0), 0xFF123456u);
}

namespace {
Bytes AnimFile(int type, int delay, int cur = 4, int start = 4, int end = 7) {
    // Sequence entries 0..7 name blocks 0,1,2,0,1,2,1,0; one animation 4..7, then the marker.
    Writer w;
    for (int v : {0, 1, 2, 0, 1, 2, 1, 0}) w.s32(v);
    auto rec = [&](int t, int d, int cur, int start, int end) {
        w.u8(t); w.u8(d); w.u8(0); w.u8(0); w.s32(cur); w.s32(start); w.s32(end);
    };
    rec(255, 0, 0, 0, 0);  // the marker comes first in the file: records are stored last-first
    rec(type, delay, cur, start, end);
    auto c = SmallMap();
    c.push_back({"ANDT", w.out});
    c[3].data = Cells({-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    return Container(c);
}
std::vector<int> Steps(TileMap& m, int n) {
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
        m.MapUpdateAnims();
        out.push_back(m.anis[1].ancur);
    }
    return out;
}
}  // namespace

TEST(TileMapAnims, StepsByType) {
    auto m = Load(AnimFile(1, 0));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->mapnumanims, 2);
    EXPECT_EQ(m->ResolveCell(0, 0, 0), 1);  // aniseq[4]
    m->MapInitAnims();
    EXPECT_EQ(Steps(*m, 6), (std::vector<int>{5, 6, 4, 5, 6, 4}));
    m = Load(AnimFile(2, 0));
    m->MapInitAnims();
    EXPECT_EQ(m->anis[1].ancur, 6);
    EXPECT_EQ(Steps(*m, 6), (std::vector<int>{5, 4, 6, 5, 4, 6}));
    m = Load(AnimFile(5, 0));
    m->MapInitAnims();
    EXPECT_EQ(Steps(*m, 6), (std::vector<int>{5, 6, 5, 4, 5, 6}));
    m = Load(AnimFile(3, 0));
    m->MapInitAnims();
    EXPECT_EQ(Steps(*m, 4), (std::vector<int>{5, 6, 4, 4}));
    EXPECT_EQ(m->anis[1].antype, 9);
    m->MapInitAnims();
    EXPECT_EQ(m->anis[1].antype, 3);
    m = Load(AnimFile(1, 2));
    m->MapInitAnims();
    EXPECT_EQ(Steps(*m, 6), (std::vector<int>{4, 4, 5, 5, 5, 6}));
}

TEST_F(Recording, LayersDrawAtScrollOffsetsAndRestoreTheState) {
    auto m = Load(Container(SmallMap()));
    ASSERT_EQ(m->maperror, 0);
    const State before = State::Now();
    // Map pixel (3, 5) at screen (10, 20): cell (0, 0) starts 3 left and 5 above.
    m->MapDrawBG(3, 5, 10, 20, 16, 16);
    EXPECT_TRUE(State::Now() == before);
    Screen s;
    s.Replay(plat::RecordedCalls());
    EXPECT_EQ(s.At(10, 20), 0xFF0000u);   // cell (0, 0), graphic 0, drawn solid
    EXPECT_EQ(s.At(15, 20), 0x00FF00u);   // cell (1, 0) starts at x 10 - 3 + 8 = 15
    EXPECT_EQ(s.At(14, 23), 0x00FF00u);   // cell (0, 1): y 20 - 5 + 8 = 23
    EXPECT_EQ(s.At(9, 20), 0x000000u);    // clipped to the viewport
    EXPECT_EQ(s.At(26, 20), 0x000000u);
    for (const auto& c : plat::RecordedCalls()) {
        if (c.kind == plat::DrawRecord::IMAGE) {
            EXPECT_EQ(c.blend, plat::SOLIDBLEND);
        }
    }

    // Layer 1 drawn transparent: only its one block, nothing for block 0.
    plat::ClearRecordedCalls();
    m->mapcurlyr = 1;
    m->MapDrawBGT(0, 0, 0, 26, 320, 160);
    m->mapcurlyr = 0;
    EXPECT_TRUE(State::Now() == before);
    int images = 0;
    for (const auto& c : plat::RecordedCalls())
        if (c.kind == plat::DrawRecord::IMAGE) {
            ++images;
            EXPECT_EQ(c.blend, plat::ALPHABLEND);
            EXPECT_EQ(c.x, 8);
            EXPECT_EQ(c.y, 34);
        }
    EXPECT_EQ(images, 1);

    // A view reaching beyond the map draws the spare column as block 0; an
    // offset that is a multiple of 8 starts at the viewport's corner.
    plat::ClearRecordedCalls();
    m->MapDrawBG(8, 0, 0, 0, 32, 8);
    std::vector<float> xs;
    for (const auto& c : plat::RecordedCalls())
        if (c.kind == plat::DrawRecord::IMAGE) xs.push_back(c.x);
    EXPECT_EQ(xs, (std::vector<float>{0, 8, 16, 24}));
    Screen s2;
    s2.Replay(plat::RecordedCalls());
    EXPECT_EQ(s2.At(24, 0), 0xFF0000u);  // the spare column: block 0, graphic 0
}

TEST(TileMapAnims, StartStatesHoldAndStillAnimations) {
    // Without MapInitAnims an animation steps from the state the file gives it.
    struct Case {
        const char* name;
        int type, cur, start, end;
        bool init;
        std::vector<int> seq;
        int typeAfter;
    };
    const Case cases[] = {
        // 7 moves backward like 6, and its first turn leaves it in 6.
        {"start state 7", 7, 4, 4, 7, false, {5, 4, 5, 6, 5, 4}, 6},
        // 8 moves forward like 5, and its first turn leaves it in 5.
        {"start state 8", 8, 4, 4, 7, false, {5, 6, 5, 6, 5, 4}, 6},
        {"7 after init is 6", 7, 4, 4, 7, true, {5, 4, 5, 6, 5, 4}, 6},
        {"8 after init is 5", 8, 4, 4, 7, true, {5, 6, 5, 4, 5, 6}, 5},
        {"play once and hold", 4, 4, 4, 7, false, {5, 6, 6, 6}, 4},
        {"stopped", 9, 5, 4, 7, false, {5, 5, 5}, 9},
        {"no animation", 0, 5, 4, 7, false, {5, 5, 5}, 0},
        {"one-frame ping-pong", 5, 4, 4, 5, false, {4, 4, 4, 4}, 5},
        {"start equals end", 1, 4, 4, 4, false, {4, 4, 4}, 1},
    };
    for (const auto& c : cases) {
        auto m = Load(AnimFile(c.type, 0, c.cur, c.start, c.end));
        ASSERT_EQ(m->maperror, 0) << c.name;
        if (c.init) m->MapInitAnims();
        EXPECT_EQ(Steps(*m, static_cast<int>(c.seq.size())), c.seq) << c.name;
        EXPECT_EQ(m->anis[1].antype, c.typeAfter) << c.name;
    }
    // A still animation's countdown reloads all the same; type 0 never counts.
    auto still = Load(AnimFile(1, 2, 4, 4, 4));
    still->anis[1].ancount = 0;
    still->MapUpdateAnims();
    EXPECT_EQ(still->anis[1].ancount, 2);
    auto none = Load(AnimFile(0, 2));
    none->anis[1].ancount = 0;
    none->MapUpdateAnims();
    EXPECT_EQ(none->anis[1].ancount, 0);
}

namespace {
// Graphics 0-2 solid red, green, blue; graphic 3 transparent (255, 0, 255)
// in its left half and in its top half, white elsewhere.  Block 1 is solid
// with graphic 3 as its foreground; block 2 solid with an opaque foreground.
std::vector<Chunk> MaskMap(const Header& h) {
    auto c = SmallMap(h);
    c[1].data = Bkdt({{0, 0, 0, 0, 0}, {1, 3, 0, 0, 1}, {2, 2, 0, 0, 1}});
    Bytes gfx = Bgfx24({0xFF0000, 0x00FF00, 0x0000FF});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool clear = x < 4 || y < 4;
            for (int v : clear ? std::vector<int>{255, 0, 255} : std::vector<int>{255, 255, 255})
                gfx.push_back(static_cast<std::uint8_t>(v));
        }
    c[2].data = gfx;
    return c;
}

// Image loading as the game sets it up (mask colour 255, 0, 255 masked away)
// and as it is by default.
struct ImageFlags {
    int flags;
    const char* name;
};
constexpr ImageFlags kImageFlags[] = {{0, "unmasked"}, {plat::MASKEDIMAGE, "masked"}};

struct RestoreImageFlags {
    int flags = plat::GetAutoImageFlags();
    int r = 0, g = 0, b = 0;
    RestoreImageFlags() { plat::GetMaskColor(r, g, b); }
    ~RestoreImageFlags() {
        plat::AutoImageFlags(flags);
        plat::SetMaskColor(r, g, b);
    }
};
}  // namespace

TEST(TileMapQueries, PixelPerfectCollisionSeesTransparentPixels) {
    RestoreImageFlags restore;
    plat::SetMaskColor(255, 0, 255);
    for (const auto& f : kImageFlags) {
        plat::AutoImageFlags(f.flags);
        Header h;
        h.ngfx = 4;
        auto m = Load(Container(MaskMap(h)));
        ASSERT_EQ(m->maperror, 0) << f.name;
        // Row 0 holds blocks 0, 1, 2, 0: cell (1, 0) is block 1, cell (2, 0) block 2.
        EXPECT_EQ(m->MapPPCollision(8 + 1, 1), 0) << f.name << ": transparent corner";
        EXPECT_EQ(m->MapPPCollision(8 + 6, 2), 0) << f.name << ": transparent top half";
        EXPECT_EQ(m->MapPPCollision(8 + 6, 6), 1) << f.name << ": opaque quarter";
        EXPECT_EQ(m->MapPPCollision(16 + 1, 1), 1) << f.name << ": opaque foreground";
        EXPECT_EQ(m->MapPPCollision(0 + 6, 6), 0) << f.name << ": block without the flag";
        EXPECT_EQ(m->MapCollision(8 + 1, 1), 1) << f.name;
    }
}

TEST(TileMapQueries, StaggeredPixelToCellAndTheClickMask) {
    RestoreImageFlags restore;
    plat::SetMaskColor(255, 0, 255);
    for (const auto& f : kImageFlags) {
        plat::AutoImageFlags(f.flags);
        // Blocks 8 x 8 on a 12 x 10 pitch, odd rows 6 right and 5 down; graphic 3 is the mask.
        Header h;
        h.ngfx = 4;
        h.gapx = 12;
        h.gapy = 10;
        h.stx = 6;
        h.sty = 5;
        h.clickmask = 3;
        auto m = Load(Container(MaskMap(h)));
        ASSERT_EQ(m->maperror, 0) << f.name;
        ASSERT_EQ(m->mapclickmask_fld, 3);
        // The four fixed answers of the gap areas, then the mask's pixels.
        struct Case { int x, y, xory, want; };
        const Case cases[] = {
            {9, 2, 0, 0},  {9, 2, 1, -1}, {9, 7, 1, 1},   // x in the horizontal gap
            {2, 9, 1, 1},  {2, 9, 0, -1}, {7, 9, 0, 0},   // y in the vertical gap
            {1, 1, 0, -1}, {5, 1, 0, 0},                   // transparent: left half, right half
            {1, 1, 1, -1}, {1, 6, 1, 1},                   // transparent: top half, bottom half
            {6, 6, 0, 0},  {6, 6, 1, 0},                   // opaque
            {12 + 1, 20 + 1, 0, -1},                       // taken modulo the pitch
        };
        for (const auto& c : cases)
            EXPECT_EQ(m->MapClickMask(c.x, c.y, c.xory), c.want)
                << f.name << " (" << c.x << ", " << c.y << ") " << c.xory;
        // Pixel (0, 0) is shifted by the stagger to (6, 5), an opaque mask pixel.
        EXPECT_EQ(m->MapGetXOffset(0, 0), 0);
        EXPECT_EQ(m->MapGetYOffset(0, 0), 0);
        // (7, 6) shifts to (13, 11), mask pixel (1, 1), transparent top-left:
        // column 1 - 1 and row 2 * 1 - 1.
        EXPECT_EQ(m->MapGetXOffset(13 - 6, 11 - 5), 0);
        EXPECT_EQ(m->MapGetYOffset(13 - 6, 11 - 5), 1);
        // (24, 5) shifts to (30, 10), mask pixel (6, 0), transparent right half: column 2.
        EXPECT_EQ(m->MapGetXOffset(30 - 6, 10 - 5), 2);
        EXPECT_EQ(m->MapGetYOffset(1000, 1000), m->mapheight - 1);
        EXPECT_EQ(m->MapGetXOffset(1000, 1000), m->mapwidth - 1);
    }
}

namespace {
// An image draw as recorded: where, which graphic, clipped to what, how blended.
struct Draw {
    int x, y, gfx, blend;
    int vx, vy, vw, vh;
    bool operator==(const Draw& o) const {
        return x == o.x && y == o.y && gfx == o.gfx && blend == o.blend && vx == o.vx && vy == o.vy &&
               vw == o.vw && vh == o.vh;
    }
};
std::ostream& operator<<(std::ostream& os, const Draw& d) {
    return os << "{" << d.x << "," << d.y << " g" << d.gfx << " b" << d.blend << " vp " << d.vx << ","
              << d.vy << "," << d.vw << "," << d.vh << "}";
}
std::vector<Draw> Draws(const TileMap& m) {
    std::vector<Draw> out;
    for (const auto& c : plat::RecordedCalls()) {
        if (c.kind != plat::DrawRecord::IMAGE) continue;
        int gfx = -1;
        for (std::size_t i = 0; i < m.tilegfx.size(); ++i)
            if (m.tilegfx[i].get() == c.image) gfx = static_cast<int>(i);
        out.push_back({static_cast<int>(c.x), static_cast<int>(c.y), gfx, c.blend, c.vpX, c.vpY, c.vpW, c.vpH});
    }
    return out;
}
constexpr int A = plat::ALPHABLEND, S = plat::SOLIDBLEND;
}  // namespace

TEST_F(Recording, StaggeredLayoutDrawsEvenAndOddRows) {
    Header h;
    h.gapx = 12;
    h.gapy = 10;
    h.stx = 6;
    h.sty = 5;
    auto chunks = SmallMap(h);
    // Foreground graphics: block 1 shows graphic 2 in front, block 2 graphic 0.
    chunks[1].data = Bkdt({{0, 0, 0, 0, 0}, {1, 2, 0, 0, 1}, {2, 0, 0, 0, 1 | 8}});
    auto m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    const State before = State::Now();
    // Map rows 0 and 1 share gap row 0; rows 2 and 3 gap row 1 (row 3 is the spare one).
    m->MapDrawBG(0, 0, 0, 0, 30, 15);
    EXPECT_TRUE(State::Now() == before);
    const std::vector<Draw> bg = {
        {-6, -5, 0, A, 0, 0, 30, 15}, {6, -5, 1, A, 0, 0, 30, 15}, {18, -5, 2, A, 0, 0, 30, 15},  // row 0
        {0, 0, 1, A, 0, 0, 30, 15},   {12, 0, 0, A, 0, 0, 30, 15}, {24, 0, 0, A, 0, 0, 30, 15},   // row 1
        {-6, 5, 0, A, 0, 0, 30, 15},  {6, 5, 0, A, 0, 0, 30, 15},  {18, 5, 1, A, 0, 0, 30, 15},   // row 2
        {0, 10, 0, A, 0, 0, 30, 15},  {12, 10, 0, A, 0, 0, 30, 15}, {24, 10, 0, A, 0, 0, 30, 15}, // row 3
    };
    EXPECT_EQ(Draws(*m), bg);
    // An offset inside the pitch moves every cell; the foreground includes graphic 0 too.
    plat::ClearRecordedCalls();
    m->MapDrawFG(13, 3, 0, 0, 12, 5, 0);
    const std::vector<Draw> fg = {
        {-7, -8, 2, A, 0, 0, 12, 5}, {5, -8, 0, A, 0, 0, 12, 5},   // row 0 from column 1
        {-1, -3, 0, A, 0, 0, 12, 5}, {11, -3, 0, A, 0, 0, 12, 5},  // row 1
        {-7, 2, 0, A, 0, 0, 12, 5},  {5, 2, 2, A, 0, 0, 12, 5},    // row 2
        {-1, 7, 0, A, 0, 0, 12, 5},  {11, 7, 0, A, 0, 0, 12, 5},   // row 3, below the view
    };
    EXPECT_EQ(Draws(*m), fg);
    EXPECT_TRUE(State::Now() == before);
}

TEST_F(Recording, ForegroundLayersSkipGraphicZero) {
    auto chunks = SmallMap();
    chunks[1].data = Bkdt({{0, 0, 0, 0, 0}, {1, 2, 0, 1, 1}, {2, 0, 1, 0, 1 | 8}});
    auto m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    const State before = State::Now();
    for (int which : {0, 1, 2}) {
        plat::ClearRecordedCalls();
        m->MapDrawFG(0, 0, 0, 0, 32, 8, which);
        EXPECT_TRUE(State::Now() == before);
        // Row 0 holds blocks 0, 1, 2, 0.
        const std::vector<std::vector<Draw>> want = {
            {{8, 0, 2, A, 0, 0, 32, 8}},   // fg
            {{16, 0, 1, A, 0, 0, 32, 8}},  // fg2
            {{8, 0, 1, A, 0, 0, 32, 8}},   // fg3
        };
        EXPECT_EQ(Draws(*m), want[static_cast<std::size_t>(which)]) << which;
    }
}

TEST_F(Recording, PillarRowsStackUpwardsAndDrawHalves) {
    // Block 1: fg 1, fg2 2, and the pillar goes on (unused1) into block 2:
    // bg 3, fg 1.  Block 3: fg 2, left half only (unused2); block 4: right
    // half only (unused3); block 5: both flags, not drawn.
    Header h;
    h.nblk = 6;
    h.ngfx = 4;
    auto chunks = SmallMap(h);
    chunks[1].data = Bkdt({{0, 0, 0, 0, 0},
                           {0, 1, 2, 0, 32},
                           {3, 1, 0, 0, 0},
                           {0, 2, 0, 0, 64},
                           {0, 2, 0, 0, 128},
                           {0, 2, 0, 0, 64 | 128}});
    chunks[2].data = Bgfx24({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    chunks[3].data = Cells({1, 3, 4, 5,
                            0, 0, 0, 0,
                            3, 0, 0, 0});
    auto m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    const State before = State::Now();
    m->MapDrawRow(0, 0, 0, 100, 32, 100, 0);
    EXPECT_TRUE(State::Now() == before);
    const std::vector<Draw> row0 = {
        {0, 100, 1, A, 0, 100, 32, 100}, {0, 92, 2, A, 0, 100, 32, 100},  // block 1: fg, fg2
        {0, 76, 3, A, 0, 100, 32, 100},  {0, 68, 1, A, 0, 100, 32, 100},  // block 2: bg, fg above
        {8, 100, 2, A, 8, 100, 4, 8},                                      // left half
        {16, 100, 2, A, 20, 100, 4, 8},                                    // right half
    };
    EXPECT_EQ(Draws(*m), row0);

    // Row 2 of the staggered layout stands one gap row lower.
    plat::ClearRecordedCalls();
    m->MapDrawRow(0, 0, 0, 100, 8, 100, 2);
    EXPECT_EQ(Draws(*m), (std::vector<Draw>{{0, 108, 2, A, 0, 108, 4, 8}}));

    // A row past the map draws nothing and leaves the state alone.
    plat::ClearRecordedCalls();
    m->MapDrawRow(0, 0, 0, 100, 32, 100, 3);
    EXPECT_TRUE(Draws(*m).empty());
    EXPECT_TRUE(State::Now() == before);
}

TEST_F(Recording, SingleGraphics) {
    auto m = Load(Container(SmallMap()));
    ASSERT_EQ(m->maperror, 0);
    const State before = State::Now();
    m->MapDrawImage(1, 5.5f, 6.5f, 3, 1);
    m->MapDrawImage(2, 7, 8, 0, 0);
    m->MapDrawImageRect(1, 20.7f, 30.2f, 2, 3, 4.9f, 5.9f, 0);
    EXPECT_TRUE(State::Now() == before);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].blend, S);
    EXPECT_EQ(calls[0].frame, 0) << "frame argument unused";
    EXPECT_EQ(calls[0].x, 5.5f);
    EXPECT_EQ(calls[1].blend, A);
    EXPECT_EQ(calls[1].r, 255) << "drawn in the plain state";
    EXPECT_EQ(calls[1].alpha, 1.0f);
    // The part of the graphic from (2, 3) shows at (20.7, 30.2), clipped to a truncated viewport.
    EXPECT_FLOAT_EQ(calls[2].x, 18.7f);
    EXPECT_FLOAT_EQ(calls[2].y, 27.2f);
    EXPECT_EQ(calls[2].vpX, 20);
    EXPECT_EQ(calls[2].vpY, 30);
    EXPECT_EQ(calls[2].vpW, 4);
    EXPECT_EQ(calls[2].vpH, 5);
    // MapDrawImageSimple uses the state as it is.
    plat::ClearRecordedCalls();
    m->MapDrawImageSimple(0, 1, 2, 0, 0);
    ASSERT_EQ(plat::RecordedCalls().size(), 1u);
    EXPECT_EQ(plat::RecordedCalls()[0].blend, plat::LIGHTBLEND);
    EXPECT_EQ(plat::RecordedCalls()[0].r, 10);
}

TEST(TileMapLoad, TypeZeroByteOffsets) {
    // Graphic fields are byte offsets of 8 x 8 x 3 = 192-byte graphics; the
    // animation indices count bytes back from the chunk's end, the sequence
    // holds byte offsets of 32-byte block records.
    Header h;
    h.type = 0;
    h.lsb = 0;
    auto chunks = SmallMap(h);
    chunks[1].data = Bkdt({{0, 0, 0, 0, 0}, {192, 384, 0, 191, 1}, {384, 0, 192, 0, 1 | 8}}, false);
    chunks[3].data = Cells({0, 32, 64, -16, 0, 0, 0, 0, 0, 0, 0, 0}, false);
    chunks[4].data = Cells(std::vector<int>(12, 0), false);
    Writer w;
    w.lsb = false;
    for (int v : {64, 32, 0}) w.s32(v);  // 12 bytes of sequence: blocks 2, 1, 0
    // Chunk of 12 + 32 = 44 bytes; indices 1, 0, 3 as offsets from the end.
    auto rec = [&](int t, int cur, int start, int end) {
        w.u8(t); w.u8(0); w.u8(0); w.u8(0); w.s32(cur); w.s32(start); w.s32(end);
    };
    rec(255, 0, 0, 0);
    rec(1, 4 - 44, 0 - 44, 12 - 44);
    chunks.push_back({"ANDT", w.out});
    auto m = Load(Container(chunks));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->blks[1].bg, 1);
    EXPECT_EQ(m->blks[1].fg, 2);
    EXPECT_EQ(m->blks[1].fg3, 0) << "toward zero";
    EXPECT_EQ(m->blks[2].fg2, 1);
    ASSERT_EQ(m->mapnumanims, 2);
    EXPECT_EQ(m->anis[1].ancur, 1);
    EXPECT_EQ(m->anis[1].anstart, 0);
    EXPECT_EQ(m->anis[1].anend, 3);
    EXPECT_EQ(m->aniseq, (std::vector<int>{2, 1, 0, 0}));
    EXPECT_EQ(m->Cell(3, 0, 0), -1);
    EXPECT_EQ(m->ResolveCell(3, 0, 0), 1) << "animation 1 shows sequence entry 1";
    m->MapUpdateAnims();
    EXPECT_EQ(m->ResolveCell(3, 0, 0), 0);
    EXPECT_EQ(m->MapGetBlock(3, 0).bg, 0);
}

TEST(TileMapLoad, OnlyTheEndMarker) {
    auto c = SmallMap();
    Writer w;
    w.u8(255); w.u8(0); w.u8(0); w.u8(0); w.s32(0); w.s32(0); w.s32(0);
    c.push_back({"ANDT", w.out});
    auto m = Load(Container(c));
    ASSERT_EQ(m->maperror, 0);
    EXPECT_EQ(m->mapnumanims, 1);
    EXPECT_EQ(m->aniseq.size(), 1u);
    m->MapSetBlock(0, 0, -1);  // the marker is no animation: block 0
    EXPECT_EQ(&m->MapGetBlock(0, 0), &m->blks[0]);
    m->MapInitAnims();
    m->MapUpdateAnims();
    EXPECT_EQ(m->anis[1].antype, 255);
}

TEST(TileMapLoad, FreeingKeepsCellsAndHeader) {
    auto m = Load(Container(SmallMap()));
    ASSERT_EQ(m->maperror, 0);
    m->MapFreeMem();
    EXPECT_TRUE(m->blks.empty() && m->tilegfx.empty() && m->anis.empty());
    EXPECT_EQ(m->mapwidth, 4);
    EXPECT_EQ(m->Cell(1, 0, 0), 1);
    EXPECT_EQ(m->MapGetBlock(1, 0).tl, 0) << "no block records: nothing solid";
}

TEST(TileMapLoad, MarCellsReplaceTheCurrentLayer) {
    for (bool lsb : {true, false}) {
        Header h;
        h.lsb = lsb ? 1 : 0;
        auto m = Load(Container(SmallMap(h)));
        ASSERT_EQ(m->maperror, 0);
        m->mapcurlyr = 1;
        std::vector<int> cells = {2, 1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 2};
        m->MapLoadMAR(WriteTemp(Cells(cells, lsb)));
        for (int i = 0; i < 12; ++i) EXPECT_EQ(m->Cell(i % 4, i / 4, 1), cells[i]) << i;
        EXPECT_EQ(m->Cell(1, 0, 0), 1) << "layer 0 untouched";
        // A file cut short fills what it has; a layer the map lacks, or a
        // missing file, changes nothing.
        m->MapLoadMAR(WriteTemp(Cells({1, 1}, lsb)));
        EXPECT_EQ(m->Cell(1, 0, 1), 1);
        EXPECT_EQ(m->Cell(2, 0, 1), 0);
        m->mapcurlyr = 7;
        m->MapLoadMAR(WriteTemp(Cells(std::vector<int>(12, 2), lsb)));
        m->mapcurlyr = 1;
        m->MapLoadMAR("/nonexistent/velmarok/x.mar");
        EXPECT_EQ(m->Cell(0, 0, 1), 1);
    }
}
