#pragma once
// A level play in a scratch world: a hand-driven clock, a seeded generator,
// a fresh shell, the game's lists and tables, stand-in screens that record
// the hand-overs, the game's pictures loaded by the game's own loading and
// silent sounds; music only for the tests that ask for it.  Ticks are driven one by one, exactly as the shell's loop
// does: the window events drained into the key tables, then the screen's
// Logic.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/timing.h"
#include "game/front/bitmap_font.h"
#include "game/front/highscores_screen.h"
#include "game/front/main_program.h"
#include "game/front/name_entry.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/checkpoints.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "game/play/level_complete_screen.h"
#include "game/play/level_screen.h"
#include "game/play/shots.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "music/music.h"
#include "music/sid_stream.h"
#include "platform/audio/audio.h"
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"
#include "tests/common/scratch.h"
#include "tilemap/tilemap.h"

namespace playtest {

namespace fs = std::filesystem;

// Counts the starts of a screen the level play hands over to.
template <class Base>
class Recorder : public Base {
public:
    int starts = 0;
    int kills = 0;
    void Load() override {}
    void Start() override { ++starts; }
    void Kill() override { ++kills; }
    void Logic() override {}
    void Draw() override {}
};
using FakeTitle = Recorder<game::TTitlescreen>;
using FakeComplete = Recorder<game::TLevelCompleteScreen>;
using FakeTable = Recorder<game::THighScoresScreen>;

// Where the game's data was generated.
inline fs::path BinFolder() {
    const std::string bin = testutil::ProgramFolder();
    return bin.empty() ? fs::current_path() : fs::path(bin);
}

// A map of 40 x `rows` blocks of 8 x 8: block 0 open, 1 solid, 2 solid and
// deadly (water), 3 deadly but not solid.  Every cell starts as block 0.
inline plat::Ref<tilemap::TileMap> MakeMap(int rows) {
    auto map = plat::New<tilemap::TileMap>();
    map->mapwidth = 40;
    map->mapheight = rows;
    map->mapblockwidth = map->mapblockheight = 8;
    map->ResizeMAPPT(40, rows, 2);
    map->blks.assign(4, tilemap::BLKSTR{});
    map->blks[1].tl = 1;
    map->blks[2].tl = 1;
    map->blks[2].br = 1;
    map->blks[3].br = 1;
    map->mapnumblockstr = 4;
    return map;
}

// Fills the blocks of a pixel rectangle of layer 0 with `block`.
inline void Paint(tilemap::TileMap& map, int px, int py, int pw, int ph, int block) {
    map.mapcurlyr = 0;
    for (int y = py / 8; y <= (py + ph - 1) / 8; ++y)
        for (int x = px / 8; x <= (px + pw - 1) / 8; ++x) map.MapSetBlock(x, y, block);
}

// The shell's channel pool replaced by one that only notes the name of
// every sound played.
class SoundLog : public fw::TChannelArray {
public:
    std::vector<std::string> played;
    plat::Ref<fw::TGameChannel> PlayGameSound(const plat::Ref<fw::TGameSound>& sound,
                                              const plat::Ref<fw::TGameChannel>&, float, float) override {
        played.push_back(sound ? sound->name : "");
        return nullptr;
    }
};

// A bitmap font that notes what it is asked to write instead of drawing.
class RecordingFont : public game::TBitmapFont2 {
public:
    struct Text {
        std::string text;
        float x, y;
        int h, v;
    };
    std::vector<Text> texts;
    int write(const std::string& text, float x, float y, int h, int v) override {
        texts.push_back({text, x, y, h, v});
        return 0;
    }
};

// A seed of RandRange whose first draw of lo..hi is `want`.
inline unsigned SeedGiving(int lo, int hi, int want) {
    for (unsigned seed = 1;; ++seed) {
        fw::SeedRandRange(seed);
        if (fw::RandRange(lo, hi) == want) return seed;
    }
}

// A grenade of `owner` put into ShotList at (x, y), bursting unless
// `explota` is 0.
inline plat::Ref<game::T_Granada> PutGrenade(float x, float y, int owner = game::GRANADA_HERO, int explota = 1) {
    auto g = plat::New<game::T_Granada>();
    g->owned = owner;
    g->explota = explota;
    g->x = x;
    g->y = y;
    game::ShotList->AddLast(g);
    return g;
}

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = std::make_unique<testutil::ScratchRoot>(BinFolder());
        root_ = scratch_->root();

        clock_ = std::make_unique<plat::ManualClock>(1000000);
        plat::SeedRnd(1234);
        fw::SeedRandRange(1234);
        fw::FlushKeyTables();
        plat::FlushEvent();
        fw::Game = plat::New<fw::TGame>();
        fw::Game->HighScores->Create((root_ / "home" / "velmarok").string(), 8);
        fw::Delta = 1.0f;
        game::UsePictureRules();

        using namespace game;
        CreateActorLists();
        GameMap = plat::New<tilemap::TileMap>();
        SidMusic = nullptr;
        FillGrenadeSpeedTable();
        FillKeyNames();
        SoundBank = plat::New<fw::TSoundBank>();
        for (const char* name : {"NS", "SND2", "SND3", "SND4", "SND5", "SND6", "SND7", "SND8", "SND9"}) {
            auto sound = plat::New<fw::TGameSound>();
            sound->name = name;
            SoundBank->Insert(name, sound);
        }
        // The game's own loading, once per process (the pictures stay).
        static bool imagesLoaded = false;
        if (!imagesLoaded) {
            LoadPlayImages();
            imagesLoaded = true;
        }

        title_ = plat::New<FakeTitle>();
        complete_ = plat::New<FakeComplete>();
        table_ = plat::New<FakeTable>();
        TitleScreen = title_;
        LevelCompleteScreen = complete_;
        HighScoresScreen = table_;
        LevelScreen = plat::New<TLevelScreen>();
        RecordsEntryScreen = plat::New<TIntroducirRecordsScreen>();

        ResetRunState();
        LevelStartKind = SCREEN_TITLE;
    }

    void TearDown() override {
        using namespace game;
        if (musicOn_) {
            SidMusic->Dispose();
            SidMusic = nullptr;
            plat::ShutdownAudio();
            music::ResetMusicModuleForTests();
        }
        Hero = nullptr;
        ShotList = EnemyList = HutList = GuardList = FireList = nullptr;
        GameMap = nullptr;
        LevelScreen = nullptr;
        RecordsEntryScreen = nullptr;
        TitleScreen = nullptr;
        LevelCompleteScreen = nullptr;
        HighScoresScreen = nullptr;
        if (plat::IsRecording()) plat::StopRecording();
        fw::Game = nullptr;
        plat::FlushEvent();
        fw::FlushKeyTables();
        clock_.reset();
        scratch_.reset();
    }

    // An area started with its real map: a new game on area 1, the next
    // area of a game (as the area-complete screen starts it) on the others.
    void StartArea(int level) {
        game::Level = level;
        game::LevelStartKind = level == 1 ? 1 : 3;
        game::LevelScreen->Load();
        game::LevelScreen->Start();
    }

    // The level screen on a map made by the test (not loaded from a file).
    void StartOnMap(const plat::Ref<tilemap::TileMap>& map, int level = 1) {
        game::Level = level;
        game::LevelStartKind = 3;
        game::GameMap = map;
        game::LevelScreen->Start();
    }

    // From now on the play has its music: the title tune, loaded and
    // stopped, in a real player on an off-line audio device.  Music() tells
    // what it does.
    void MusicOn() {
        music::SidAudioStream().Dispose();
        music::ResetMusicModuleForTests();  // the stream timer on the test's clock
        ASSERT_TRUE(plat::OpenLoopbackAudio(44100, 2));
        game::SidMusic = plat::New<music::SidAudioStream>();
        ASSERT_EQ(game::SidMusic->Load("Data/Music/Velm.sid", 1, 0, 1.0f, 1.0f), 1);
        musicOn_ = true;
    }
    // "playing", "paused" or "stopped"; "none" without a tune.
    static std::string Music() {
        const auto stream = music::SidAudioStream::CurrentStream();
        if (!game::SidMusic || !stream) return "none";
        if (stream->Playing()) return "playing";
        return game::SidMusic->IsPaused() && stream->paused ? "paused" : "stopped";
    }

    // From now on the sounds played are noted, not played.
    SoundLog& LogSounds() {
        auto log = plat::New<SoundLog>();
        fw::Game->Channels = log;
        return *log;
    }

    // One logic tick as the shell runs it: events into the key tables, then
    // the screen's Logic, with the clock moved on by one tick.
    void Tick(float delta = 1.0f) {
        fw::Delta = delta;
        fw::Game->DoPeekEvent();
        game::LevelScreen->Logic();
        clock_->Advance(5);
    }
    // One frame drawn (into the recorder when recording).
    void Frame() { game::LevelScreen->Draw(); }
    // Ticks with a drawn frame after each, as a 200 Hz display would.
    void Play(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            Tick();
            Frame();
        }
    }

    void Hold(int key) { plat::SimulateKeyDown(key); }
    void Release(int key) { plat::SimulateKeyUp(key); }
    void Press(int key) { plat::SimulateKeyPress(key); }

    // The draw calls of one frame.
    std::vector<plat::DrawRecord> RecordFrame() {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        Frame();
        auto calls = plat::RecordedCalls();
        plat::StopRecording();
        return calls;
    }

    int CountShots() const {
        int n = 0;
        for (const auto& o : *game::ShotList)
            if (plat::Is<game::T_Bala>(o)) ++n;
        return n;
    }
    int CountGrenades() const {
        int n = 0;
        for (const auto& o : *game::ShotList)
            if (plat::Is<game::T_Granada>(o)) ++n;
        return n;
    }
    template <class T>
    plat::Ref<T> FirstOf() const {
        for (const auto& o : *game::ShotList)
            if (auto t = plat::As<T>(o)) return t;
        return nullptr;
    }

    std::unique_ptr<testutil::ScratchRoot> scratch_;
    fs::path root_;
    std::unique_ptr<plat::ManualClock> clock_;
    plat::Ref<FakeTitle> title_;
    plat::Ref<FakeComplete> complete_;
    plat::Ref<FakeTable> table_;
    bool musicOn_ = false;
};

// The level play with a window open (offscreen), to save frames as
// pictures in the build's tests/play_frames folder for a person to look at.
class PictureTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        plat::Graphics(640, 480, 0, 60);
        plat::SetVirtualResolution(320, 240);
        open_ = plat::GraphicsOpen();
    }
    void TearDown() override {
        if (open_) plat::EndGraphics();
        PlayTest::TearDown();
    }
    // The screen as drawn so far, into the pictures folder.
    void SaveScreen(const std::string& name) {
        auto pixmap = plat::GrabPixmap(0, 0, 0, 0);
        ASSERT_TRUE(pixmap);
        const fs::path folder = BinFolder().parent_path() / "tests" / "play_frames";
        fs::create_directories(folder);
        EXPECT_TRUE(plat::SavePixmapPNG(pixmap, (folder / name).string()));
    }
    // A frame of play drawn and saved.
    void Save(const std::string& name) {
        Frame();
        SaveScreen(name);
        plat::Flip(0);
    }
    bool open_ = false;
};

}  // namespace playtest
