// Music sources: the numbered settings and the loader registry.

#include <gtest/gtest.h>

#include <vector>

#include "music/music.h"
#include "music/sid_stream.h"
#include "music/wav_stream.h"
#include "music_test_util.h"
#include "platform/core/error.h"

namespace {

using music::MusicLoader;
using music::MusicSource;
using music::Ref;
using music::TMusic;

class Silence : public TMusic {
public:
    int FillBuffer(void*, int) override { return 0; }
};

class Registry : public ::testing::Test {
protected:
    void SetUp() override { music::ResetMusicModuleForTests(); }
    void TearDown() override { music::ResetMusicModuleForTests(); }
};

TEST(MusicSettings, FormatSizesAndKeys) {
    EXPECT_EQ(music::SampleFormatBytes(200), 1);
    EXPECT_EQ(music::SampleFormatBytes(201), 2);
    EXPECT_EQ(music::SampleFormatBytes(202), 2);
    EXPECT_EQ(music::SampleFormatBytes(203), 4);
    EXPECT_EQ(music::SampleFormatBytes(199), 0);
    EXPECT_EQ(music::SampleFormatBytes(204), 0);

    Silence m;
    EXPECT_EQ(m.SAMPLE_RATE, 44100);
    EXPECT_EQ(m.STREAM_FORMAT, 203);
    EXPECT_EQ(m.STREAM_LOOP, 1);
    m.STREAM_SIZE = 111;
    m.STREAM_POS = 22;
    m.PlayStatus = 1;

    struct Case { int key, value, accepted; };
    const Case cases[] = {
        {1, 5, 0}, {2, 5, 0}, {3, 0, 0},           // size, position, status: read only
        {4, 204, 0}, {4, 199, 0}, {4, 200, 1},     // format: 200..203 only
        {5, 22050, 1}, {6, 1, 0}, {7, 0, 1}, {8, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(m.Seti(c.key, c.value), c.accepted) << "key " << c.key << " value " << c.value;
    EXPECT_EQ(m.Geti(1), 111);
    EXPECT_EQ(m.Geti(2), 22);
    EXPECT_EQ(m.Geti(3), 1);
    EXPECT_EQ(m.Geti(4), 200);
    EXPECT_EQ(m.Geti(5), 22050);
    EXPECT_EQ(m.Geti(7), 0);
    EXPECT_EQ(m.Geti(6), 0);
    EXPECT_EQ(m.Setf(5, 1.0f), 0);
    EXPECT_EQ(m.Getf(5), 0.0f);
    EXPECT_EQ(m.GetS(1), "");
    m.WriteBug("a");
    m.WriteBug("b");
    EXPECT_EQ(m.DebugData, "ab");
}

TEST_F(Registry, LoadersAreAskedInOrderOnARewoundStream) {
    EXPECT_EQ(MusicLoader::GetExtensions(0, 0), "");
    EXPECT_EQ(MusicLoader::GetExtensions(1, 1), "All supported:;All Files:*");

    std::vector<std::string> asked;
    std::vector<long long> positions;
    auto declining = [&](const char* name) {
        return [&, name](const MusicSource& s) -> Ref<TMusic> {
            asked.push_back(name);
            positions.push_back(plat::StreamPos(s.stream));
            plat::ReadByte(s.stream);  // moves the stream on: the next loader must see it rewound
            return nullptr;
        };
    };
    auto accepting = plat::New<Silence>();
    MusicLoader::Create(declining("first"), "First", "ONE");
    MusicLoader::Create(declining("second"), "Second", "two");
    MusicLoader::Create([&](const MusicSource&) -> Ref<TMusic> { asked.push_back("third"); return accepting; },
                        "Third", "Three");
    MusicLoader::Create(declining("fourth"), "Fourth", "four");

    auto stream = plat::CreateMemoryStream({1, 2, 3});
    plat::SeekStream(stream, 2);
    EXPECT_EQ(music::LoadMusic(stream), accepting);
    EXPECT_EQ(asked, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(positions, (std::vector<long long>{0, 0}));

    EXPECT_EQ(music::MusicFileFilter(1, 1),
              "All supported:,one,two,three,four;First:one;Second:two;Third:three;Fourth:four;All Files:*");
    EXPECT_EQ(music::MusicFileFilter(0, 0), "First:one;Second:two;Third:three;Fourth:four");
    EXPECT_EQ(music::MusicFileFilter(0, 1), "First:one;Second:two;Third:three;Fourth:four;All Files:*");
}

TEST_F(Registry, NoAcceptingLoaderGivesNoneAndANullFunctionRaises) {
    EXPECT_EQ(music::LoadMusic("anything.xyz"), nullptr);  // empty registry
    MusicLoader::Create([](const MusicSource&) -> Ref<TMusic> { return nullptr; }, "No", "no");
    EXPECT_EQ(music::LoadMusic("anything.xyz"), nullptr);
    MusicLoader::Create(nullptr, "Broken", "x");
    EXPECT_THROW(music::LoadMusic("anything.xyz"), plat::RuntimeError);
    music::FreeMusic(nullptr);  // nothing to free
}

TEST_F(Registry, TheProgramRegistersWavThenSid) {
    music::InitSidStreamModule();
    music::InitSidStreamModule();  // a second start registers nothing more
    EXPECT_EQ(music::MusicLoaders().Count(), 2);
    EXPECT_EQ(MusicLoader::GetExtensions(1, 1),
              "All supported:,wav,sid;Microsoft Wave \".wav\":wav;SID \".sid\":sid;All Files:*");

    // A SID tune is offered to the WAV loader first, which declines it.
    auto tune = music::LoadMusic(musictest::TonesPath());
    ASSERT_NE(tune, nullptr);
    EXPECT_TRUE(plat::Is<music::SIDStream>(tune));

    musictest::TempDir dir;
    musictest::WriteBytes(dir / "a.wav", musictest::MakeWav({}, musictest::Ramp(400)));
    EXPECT_TRUE(plat::Is<music::TWavStream>(music::LoadMusic(dir / "a.wav")));
    // A stream is handed to the loaders as it is, rewound for each.
    auto wavStream = plat::CreateMemoryStream(musictest::MakeWav({}, musictest::Ramp(400)));
    plat::SeekStream(wavStream, 10);
    EXPECT_TRUE(plat::Is<music::TWavStream>(music::LoadMusic(wavStream)));
    auto sidStream = plat::CreateMemoryStream(musictest::ReadBytes(musictest::TonesPath()));
    plat::SeekStream(sidStream, 50);
    EXPECT_TRUE(plat::Is<music::SIDStream>(music::LoadMusic(sidStream)));

    // Nothing to open: both decline.
    EXPECT_EQ(music::LoadMusic(dir / "missing.sid"), nullptr);
    musictest::WriteBytes(dir / "empty.sid", {});
    EXPECT_EQ(music::LoadMusic(dir / "empty.sid"), nullptr);
}

}  // namespace
