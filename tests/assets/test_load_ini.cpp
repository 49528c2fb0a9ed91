// The two ini files through the code that reads them: the settings template
// holds every key the program knows, in its order, and comes back unchanged
// from the program's load-and-save; the key file gives the six controls
// their default keys without a repair.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/game.h"
#include "framework/ini.h"
#include "game/front/key_config.h"
#include "game/globals.h"
#include "game/screens.h"
#include "load_fixture.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"

namespace {

using namespace loadtest;

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    auto in = plat::ReadStream(path);
    if (!in) return lines;
    while (!plat::Eof(in)) lines.push_back(plat::ReadLine(in));
    plat::CloseStream(in);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

using IniLoad = InProgramFolder;

TEST_F(IniLoad, DefaultIniHoldsEveryKnownKeyWithItsDefault) {
    // Spelt as the first start copies it and as the crash restore reads it.
    ASSERT_EQ(plat::FileType("data/Default.ini"), plat::FILETYPE_FILE);
    ASSERT_EQ(plat::FileType("data/default.ini"), plat::FILETYPE_FILE);

    fw::TGame defaults;
    defaults.IniFill();
    std::vector<std::string> names, values;
    for (const auto& line : *defaults.Ini) {
        names.push_back(line->Name);
        values.push_back(line->Value);
    }
    ASSERT_EQ(names.size(), 25u);

    const auto lines = Lines("data/Default.ini");
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(fw::IniKey(lines[i]), names[i]) << "line " << i + 1;
        // A first start in a window on OpenGL (the one driver there is);
        // every other value the program's default.
        const std::string want = names[i] == "FULL SCREEN" ? "0" : names[i] == "DRIVER" ? "1" : values[i];
        EXPECT_EQ(fw::IniValue(lines[i]), want);
    }
}

// The first start copies the template to the settings file, loads it and
// writes it back: the file it writes is the template itself.
TEST_F(IniLoad, DefaultIniComesBackUnchangedFromTheFirstStart) {
    testutil::TempDir dir;
    const std::string settings = dir / "velmarok";
    ASSERT_TRUE(plat::CopyFile("data/Default.ini", settings + ".ini"));

    fw::TGame game;
    game.Ini->FileName = settings;
    game.IniFill();
    game.Ini->Load();
    game.IniExtract();
    EXPECT_EQ(testutil::Slurp(settings + ".ini"), testutil::Slurp("Data/Default.ini"));
    EXPECT_EQ(game.FullScreen, 0);
    EXPECT_EQ(fw::ScreenWidth, 800);
    EXPECT_EQ(fw::ScreenHeight, 600);
    EXPECT_EQ(game.SoundVolume, 100);
    EXPECT_EQ(game.MusicVolume, 100);
}

// The key file in the program's folder read as the start reads it (no copy
// of the player's yet): the six controls get their default keys, nothing is
// repaired, and the copy written for the player is the same file.
TEST_F(IniLoad, KeysIniGivesTheSixControlsTheirDefaultKeys) {
    ASSERT_EQ(plat::FileType(game::TIniFileKey::kFileName), plat::FILETYPE_FILE);
    testutil::TempDir shared;
    fw::Game = plat::New<fw::TGame>();
    fw::Game->SubPath = shared.path() + "/";
    game::KeyFile = plat::New<game::TIniFileKey>();
    game::RedefineKeysScreen = plat::New<game::TRedefineKeysScreen>();

    struct Control {
        game::KeyPair* keys;
        int code;
    };
    const Control controls[] = {{&game::LeftKeys, 37}, {&game::RightKeys, 39}, {&game::UpKeys, 38},
                                {&game::DownKeys, 40}, {&game::FireKeys, 162}, {&game::GrenadeKeys, 164}};
    for (const Control& c : controls) *c.keys = {c.code, 0};  // defaults, nothing in use yet

    game::RedefineKeysScreen->IniKeysFill();
    game::KeyFile->Load();
    game::RedefineKeysScreen->IniKeysExtract();
    for (const Control& c : controls) EXPECT_EQ((*c.keys)[1], c.code);
    EXPECT_EQ(game::KeyFile->Count(), 6);
    EXPECT_EQ(testutil::Slurp(game::TIniFileKey::SavePath()), testutil::Slurp(game::TIniFileKey::kFileName));

    for (const Control& c : controls) *c.keys = {c.code, c.code};
    game::RedefineKeysScreen = nullptr;
    game::KeyFile = nullptr;
    fw::Game = nullptr;
}

}  // namespace
