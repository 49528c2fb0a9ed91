// The SID source: rendering, songs, restarts and the guards around the
// player library.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "music/sid_stream.h"
#include "music_test_util.h"
#include "platform/core/error.h"

namespace {

using music::Ref;
using music::SIDStream;
using namespace musictest;

Ref<SIDStream> OpenTones(std::uint16_t track, int format = 203) {
    return SIDStream::Load(TonesPath(), track, 44100, format, 1);
}

// `seconds` of the source's output, left channel.
std::vector<double> Render(SIDStream& sid, double seconds) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(seconds * 44100) * sid.Channels);
    sid.FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
    return Left(pcm, sid.Channels);
}

std::string LoadError(const std::string& url, std::uint16_t track, int rate, int clock) {
    try {
        SIDStream::Load(url, track, rate, 203, clock);
    } catch (const plat::RuntimeError& e) {
        return e.what();
    }
    return "no error";
}

TEST(SidStream, EachSongPlaysItsNote) {
    const double notes[] = {kA4, kD3, kE5};
    for (std::uint16_t song = 1; song <= 3; ++song) {
        auto sid = OpenTones(song);  // a fresh engine for each render
        ASSERT_NE(sid, nullptr);
        EXPECT_EQ(sid->GetTrackCount(), 5);
        EXPECT_EQ(sid->CurrentTrack(), song);
        EXPECT_EQ(sid->Channels, 2);
        EXPECT_EQ(sid->Bits, 16);
        EXPECT_EQ(sid->STREAM_FORMAT, 203);
        EXPECT_EQ(sid->SAMPLE_RATE, 44100);
        auto x = Slice(Render(*sid, 1.0), 0.2, 1.0);
        EXPECT_GT(Db(Rms(x)), -30) << "song " << song;
        EXPECT_TRUE(HasPitch(x, notes[song - 1])) << "song " << song;
    }
}

TEST(SidStream, SelectTrackSwitchesAndRestartsButRefusesSongsItLacks) {
    auto sid = OpenTones(4);
    Render(*sid, 1.0);  // now on the second note
    EXPECT_TRUE(HasPitch(Slice(Render(*sid, 0.3), 0.05, 0.3), kG5));
    for (int bad : {0, 6, 65535}) {
        EXPECT_EQ(sid->SelectTrack(static_cast<std::uint16_t>(bad)), 0) << bad;
        EXPECT_EQ(sid->CurrentTrack(), 4);
    }
    // The refused songs left the tune alone: a restart plays song 4 again,
    // from its beginning.
    EXPECT_EQ(sid->Stop(), 1);
    EXPECT_TRUE(HasPitch(Slice(Render(*sid, 0.4), 0.05, 0.4), kC5));
    EXPECT_EQ(sid->SelectTrack(1), 1);
    EXPECT_EQ(sid->CurrentTrack(), 1);
    EXPECT_TRUE(HasPitch(Slice(Render(*sid, 0.5), 0.1, 0.5), kA4));
    EXPECT_EQ(sid->Play(), 0);  // renders nothing
}

TEST(SidStream, FillsWholeFramesOnly) {
    auto sid = OpenTones(1);
    std::vector<std::uint8_t> buf(4099 + 16, 0xaa);
    EXPECT_EQ(sid->FillBuffer(buf.data(), 4099), 0);
    for (int i = 4096; i < 4099; ++i) EXPECT_EQ(buf[i], 0) << "a part frame is silence, byte " << i;
    EXPECT_EQ(buf[4099], 0xaa) << "nothing beyond the request";
    std::fill(buf.begin(), buf.end(), 0xaa);
    sid->FillBuffer(buf.data(), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(buf.begin(), buf.begin() + 4), (std::vector<std::uint8_t>{0, 0, 0, 0xaa}));
    sid->FillBuffer(buf.data(), 0);
    EXPECT_EQ(buf[0], 0);

    auto mono = OpenTones(1, 201);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->Channels, 1);
    EXPECT_EQ(mono->STREAM_FORMAT, 201);
    std::fill(buf.begin(), buf.end(), 0xaa);
    mono->FillBuffer(buf.data(), 101);
    EXPECT_EQ(buf[100], 0);
    EXPECT_TRUE(HasPitch(Slice(Render(*mono, 0.6), 0.1, 0.6), kA4));

    // The engine renders 16-bit samples whatever was asked, and says so.
    auto eight = OpenTones(1, 202);
    EXPECT_EQ(eight->Channels, 2);
    EXPECT_EQ(eight->STREAM_FORMAT, 203);
    EXPECT_EQ(OpenTones(1, 200)->STREAM_FORMAT, 201);
}

TEST(SidStream, LoadFailures) {
    TempDir dir;
    WriteBytes(dir / "empty.sid", {});
    WriteBytes(dir / "text.sid", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(SIDStream::Load(dir / "empty.sid", 1, 44100, 203, 1), nullptr);
    EXPECT_EQ(SIDStream::Load(dir / "missing.sid", 1, 44100, 203, 1), nullptr);
    EXPECT_EQ(LoadError(dir / "text.sid", 1, 44100, 1), "SIDStream.Load(): Unable To load " + (dir / "text.sid"));
    EXPECT_EQ(LoadError(TonesPath(), 9, 44100, 1), "SIDStream.Load(): Unable to select track 9");
    EXPECT_EQ(LoadError(TonesPath(), 0, 44100, 1), "SIDStream.Load(): Unable to select track 0");
    EXPECT_EQ(LoadError(TonesPath(), 1, 0, 1), "SIDStream.Load(): Unable to set rate 0");
    EXPECT_EQ(LoadError(TonesPath(), 1, 44100, 7), "SIDStream.Load(): Unable to set clockSpeed 7");
}

// Copies of the test tune with header fields changed.
std::vector<std::uint8_t> Mutated(std::vector<std::uint8_t> b, std::size_t at, std::vector<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
    return b;
}

TEST(SidStream, HeaderGuard) {
    const std::vector<std::uint8_t> good = ReadBytes(TonesPath());
    ASSERT_GT(good.size(), 0x80u);
    auto cut = [&](std::size_t n) { return std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(n)); };
    // Not plausible: no tune (an error), or a whole header over no data (a
    // tune cut short: none, as for an empty file).
    enum Verdict { kPlausible, kNoTune, kCutShort };
    struct Case { const char* what; std::vector<std::uint8_t> bytes; Verdict verdict; };
    const Case cases[] = {
        {"as built", good, kPlausible},
        {"RSID magic", Mutated(good, 0, {'R', 'S', 'I', 'D'}), kPlausible},
        {"bad magic", Mutated(good, 0, {'P', 'S', 'I', 'X'}), kNoTune},
        {"version 0", Mutated(good, 4, {0, 0}), kNoTune},
        {"version 5", Mutated(good, 4, {0, 5}), kNoTune},
        {"version 1 with a version 2 offset", Mutated(good, 4, {0, 1}), kNoTune},
        {"offset 0x7b", Mutated(good, 6, {0, 0x7b}), kNoTune},
        {"offset 0x7d", Mutated(good, 6, {0, 0x7d}), kNoTune},
        {"offset past the end", Mutated(good, 6, {0xff, 0xf0}), kNoTune},
        {"header only", cut(0x7c), kCutShort},
        {"half the load address", cut(0x7d), kCutShort},
        {"load address only", cut(0x7e), kCutShort},
        {"one byte of data", cut(0x7f), kPlausible},
        {"explicit load address, one byte", Mutated(cut(0x7d), 8, {0x10, 0x00}), kPlausible},
        {"explicit load address, no data", Mutated(cut(0x7c), 8, {0x10, 0x00}), kCutShort},
        {"shorter than a header", cut(0x40), kNoTune},
        {"version 1 header cut short", Mutated(cut(0x70), 4, {0, 1, 0, 0x76}), kNoTune},
    };
    TempDir dir;
    for (const Case& c : cases) {
        EXPECT_EQ(music::PlausibleSidHeader(c.bytes.data(), c.bytes.size()), c.verdict == kPlausible) << c.what;
        WriteBytes(dir / "bad.sid", c.bytes);
        if (c.verdict == kNoTune) {
            EXPECT_EQ(LoadError(dir / "bad.sid", 1, 44100, 1), "SIDStream.Load(): Unable To load " + (dir / "bad.sid"))
                << c.what;
        }
        if (c.verdict == kCutShort) {
            EXPECT_EQ(SIDStream::Load(dir / "bad.sid", 1, 44100, 203, 1), nullptr) << c.what;
        }
    }
}

// A tune file cut short anywhere after its header is no tune (none, as for an
// empty file: the caller plays on without it), however little is missing.
// The tunes made with our driver enter init through a jump that ends the
// file, so every cut takes some of it away.
TEST(SidStream, EveryCutOfAWholeTuneIsNoTune) {
    for (const std::string& path : {GameTunePath("Nova.sid"), GameTunePath("Velm.sid"), TonesPath()}) {
        SCOPED_TRACE(path);
        const std::vector<std::uint8_t> whole = ReadBytes(path);
        ASSERT_GT(whole.size(), 0x80u);
        ASSERT_NE(SIDStream::Load(whole, path, 1, 44100, 203, 1), nullptr) << "the whole tune plays";
        const std::size_t data = whole.size() - 0x7c;  // the load address and the image
        for (std::size_t cut = 1; cut <= data; ++cut) {
            const std::vector<std::uint8_t> shorter(whole.begin(), whole.end() - static_cast<long>(cut));
            ASSERT_EQ(SIDStream::Load(shorter, path, 1, 44100, 203, 1), nullptr) << cut << " bytes cut off";
        }
    }
}

// What the cut-short rule looks at is where init begins, and only that: a
// whole tune whose init lies anywhere in its data, even in its last byte, or
// whose play routine init puts outside its data, loads.
TEST(SidStream, WholeTunesAreNeverTakenForCutShortOnes) {
    const std::vector<std::uint8_t> good = ReadBytes(TonesPath());
    const unsigned end = 0x1000 + static_cast<unsigned>(good.size() - 0x7e);  // the first address past the image
    auto be = [](unsigned v) { return std::vector<std::uint8_t>{std::uint8_t(v >> 8), std::uint8_t(v & 255)}; };
    auto lastByte = [&](std::uint8_t b) { std::vector<std::uint8_t> t = good; t.back() = b; return t; };
    struct Case { const char* what; std::vector<std::uint8_t> bytes; bool loads; };
    const Case cases[] = {
        {"init through the jump that ends the file", good, true},
        {"init through the jump at the load address", Mutated(good, 0x0a, be(0x1000)), true},
        {"init 0: the load address", Mutated(good, 0x0a, {0, 0}), true},
        {"init a one-byte routine in the last byte", Mutated(lastByte(0x60), 0x0a, be(end - 1)), true},
        {"init a two-byte instruction in the last byte", Mutated(lastByte(0xa9), 0x0a, be(end - 1)), false},
        {"init a jump in the last two bytes", Mutated(Mutated(good, good.size() - 2, {0x4c}), 0x0a, be(end - 2)), false},
        {"init past the data", Mutated(good, 0x0a, be(end)), false},
        {"init before the data", Mutated(good, 0x0a, be(0x0fff)), false},
        {"play outside the data", Mutated(good, 0x0c, be(0xc000)), true},
        {"play 0: init sets up its own interrupt", Mutated(good, 0x0c, {0, 0}), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SIDStream::Load(c.bytes, "tune.sid", 1, 44100, 203, 1) != nullptr, c.loads) << c.what;
    }
}

TEST(SidStream, MutatedHeadersNeverCrashTheLibrary) {
    // Random changes to the header fields: every file either loads and
    // renders, or fails with one of the source's own texts.
    const std::vector<std::uint8_t> good = ReadBytes(TonesPath());
    std::mt19937 random(20260101);
    int loaded = 0, refused = 0;
    // the fields the library reads: 0x00-0x15 and 0x76-0x7b
    auto field = [&] { std::size_t i = random() % 28; return i < 22 ? i : 0x76 + (i - 22); };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> b = good;
        int changes = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < changes; ++i) b[field()] = static_cast<std::uint8_t>(random());
        if (random() % 4 == 0) b.resize(random() % b.size());
        try {
            auto sid = SIDStream::Load(b, "fuzz.sid", 1, 44100, 203, 1);
            if (!sid) continue;
            std::vector<std::uint8_t> buf(4096);
            sid->FillBuffer(buf.data(), 4096);
            ++loaded;
        } catch (const plat::RuntimeError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("SIDStream.", 0), 0u) << e.what();
            ++refused;
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
