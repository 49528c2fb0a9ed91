// Both tunes through the game's music front end, as the intro loads them:
// they open, and they hold every song the game selects.

#include <gtest/gtest.h>

#include "load_fixture.h"
#include "music/sid_stream.h"

namespace {

using namespace loadtest;

using MusicLoad = InProgramFolder;

TEST_F(MusicLoad, TunesOpenWithTheSongsTheGameSelects) {
    struct Case {
        const char* path;
        int songs;  // the highest song the game selects
    };
    // Nova: the loader's tune.  Velm: 1 title and areas, 2 name entry,
    // 3 area complete.
    music::SidAudioStream music;
    for (const Case c : {Case{"Data/Music/Nova.sid", 1}, Case{"Data/Music/Velm.sid", 3}}) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(music.Load(c.path, 1, 1, 1.0f, 1.0f), 1);
        ASSERT_NE(music::SidAudioStream::CurrentSource(), nullptr);
        EXPECT_GE(music.GetTrackCount(), c.songs);
        EXPECT_EQ(music.CurrentTrack(), 1);
        // A song the tune lacks would leave the current one playing.
        for (int song = c.songs; song >= 1; --song) {
            EXPECT_EQ(music.SelectTrack(static_cast<std::uint16_t>(song)), 1) << "song " << song;
            EXPECT_EQ(music.CurrentTrack(), song);
        }
        music.Stop();
        music.Dispose();
    }
}

}  // namespace
