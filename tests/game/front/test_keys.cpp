// The key file: where it is read from and written to, reading by name,
// rewriting in the fixed order, and codes that name no key.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "game/front/key_config.h"
#include "game/globals.h"
#include "game/screens.h"
#include "platform/core/error.h"
#include "tests/platform/test_io_tempdir.h"

namespace {

const char* const kDefaultFile = "LEFT=37\r\nRIGHT=39\r\nUP=38\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n";

// A shared data folder and a program folder of their own; the game's
// objects as far as the key file needs them.
class FrontKeyFile : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = std::filesystem::current_path();
        if (!fw::Game) fw::Game = plat::New<fw::TGame>();
        savedSubPath_ = fw::Game->SubPath;
        fw::Game->SubPath = shared_.path() + "/";
        std::filesystem::current_path(program_.path());
        if (!game::KeyFile) game::KeyFile = plat::New<game::TIniFileKey>();
        if (!game::RedefineKeysScreen) game::RedefineKeysScreen = plat::New<game::TRedefineKeysScreen>();
        savedReportMode_ = fw::ErrorReportMode;
        fw::ErrorReportMode = 0;  // a failure raises instead of waiting in a panel
        ResetKeys();
    }
    void TearDown() override {
        ResetKeys();
        fw::ErrorReportMode = savedReportMode_;
        fw::Game->SubPath = savedSubPath_;
        std::filesystem::current_path(savedDir_);
    }
    static void ResetKeys() {
        game::LeftKeys = {37, 37};
        game::RightKeys = {39, 39};
        game::UpKeys = {38, 38};
        game::DownKeys = {40, 40};
        game::FireKeys = {162, 162};
        game::GrenadeKeys = {164, 164};
    }
    // The start-up's three steps.
    static void ReadKeys() {
        game::RedefineKeysScreen->IniKeysFill();
        game::KeyFile->Load();
        game::RedefineKeysScreen->IniKeysExtract();
    }
    std::string SharedFile() const { return shared_ / "Keys.ini"; }
    std::string ProgramFile() const { return program_ / "Keys.ini"; }

    testutil::TempDir shared_, program_;

private:
    std::filesystem::path savedDir_;
    std::string savedSubPath_;
    int savedReportMode_ = 0;
};

TEST_F(FrontKeyFile, ReadFromTheProgramFolderUntilTheSharedCopyExistsAndAlwaysWrittenShared) {
    // Nothing anywhere: the defaults, written to the shared folder.
    ReadKeys();
    EXPECT_EQ(testutil::Slurp(SharedFile()), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists(ProgramFile()));

    // A copy in the program folder only: used, and copied to the shared one.
    std::filesystem::remove(SharedFile());
    program_.Put("Keys.ini", "LEFT=65\r\nRIGHT=68\r\n");
    ReadKeys();
    EXPECT_EQ(game::LeftKeys[1], 65);
    EXPECT_EQ(game::RightKeys[1], 68);
    EXPECT_EQ(game::LeftKeys[0], 37);
    EXPECT_EQ(testutil::Slurp(SharedFile()),
              "LEFT=65\r\nRIGHT=68\r\nUP=38\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n");
    EXPECT_EQ(testutil::Slurp(ProgramFile()), "LEFT=65\r\nRIGHT=68\r\n");

    // Both: the shared copy wins.
    ResetKeys();
    shared_.Put("Keys.ini", "LEFT=90\r\n");
    ReadKeys();
    EXPECT_EQ(game::LeftKeys[1], 90);
    EXPECT_EQ(game::RightKeys[1], 39);
}

TEST_F(FrontKeyFile, ReadByNameAndRewrittenInTheFixedOrder) {
    struct Case {
        const char* file;
        std::vector<int> codes;  // left, right, up, down, fire, grenades in use afterwards
        const char* rewritten;
    };
    const std::vector<Case> cases = {
        // Any order, any case, line feeds alone, unknown names dropped.
        {"fire=32\ngrenades=66\nOTHER=5\nleft=74\r\n", {74, 39, 38, 40, 32, 66},
         "LEFT=74\r\nRIGHT=39\r\nUP=38\r\nDOWN=40\r\nFIRE=32\r\nGRENADES=66\r\n"},
        // A name with a blank before "=" is another name.
        {"UP =87\r\n", {37, 39, 38, 40, 162, 164}, kDefaultFile},
        // Numbers as the text-to-number rules read them.
        {"LEFT=$41\r\nRIGHT=%1000100\r\nUP=87junk\r\n", {65, 68, 87, 40, 162, 164},
         "LEFT=$41\r\nRIGHT=%1000100\r\nUP=87junk\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n"},
        // Codes that name no key (no number reads as 0): the control's
        // default, and the file repaired.
        {"LEFT=300\r\nRIGHT=-1\r\nUP=65\r\nFIRE=99999999999\r\n", {37, 39, 65, 40, 162, 164},
         "LEFT=37\r\nRIGHT=39\r\nUP=65\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n"},
        {"FIRE=fire\r\n", {37, 39, 38, 40, 162, 164}, kDefaultFile},
        {"FIRE=0\r\nDOWN=abc\r\n", {37, 39, 38, 40, 162, 164}, kDefaultFile},
        {"FIRE=3\r\nLEFT=187\r\nUP=27\r\n", {37, 39, 38, 40, 162, 164}, kDefaultFile},
        // A damaged file: nothing it says is a line the game knows.
        {"\x01\x02\xFF\xFE garbage", {37, 39, 38, 40, 162, 164}, kDefaultFile},
    };
    for (const Case& c : cases) {
        ResetKeys();
        shared_.Put("Keys.ini", c.file);
        ReadKeys();
        const std::vector<int> codes = {game::LeftKeys[1], game::RightKeys[1], game::UpKeys[1],
                                        game::DownKeys[1], game::FireKeys[1], game::GrenadeKeys[1]};
        EXPECT_EQ(codes, c.codes) << c.file;
        EXPECT_EQ(testutil::Slurp(SharedFile()), c.rewritten) << c.file;
    }
}

TEST_F(FrontKeyFile, ARepairedFileKeepsTheDamagedCopyAndSaysSo) {
    fw::ErrorLogFolder = shared_.path() + "/";
    const std::string damaged = "LEFT=65\r\nFIRE=fire\r\nGRENADES=0\r\nJUNK\r\n";
    shared_.Put("Keys.ini", damaged);
    ReadKeys();
    EXPECT_EQ(game::LeftKeys[1], 65);
    EXPECT_EQ(game::FireKeys[1], 162);
    EXPECT_EQ(game::GrenadeKeys[1], 164);
    EXPECT_EQ(testutil::Slurp(SharedFile()), "LEFT=65\r\nRIGHT=39\r\nUP=38\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n");
    EXPECT_EQ(testutil::Slurp(SharedFile() + ".bad"), damaged) << "the file exactly as it was";
    const std::string log = testutil::Slurp(shared_.path() + "/ErrorLog.txt");
    EXPECT_NE(log.find(SharedFile() + " was damaged (FIRE=fire, GRENADES=0) and is repaired; the damaged file is kept as " +
                       SharedFile() + ".bad"),
              std::string::npos)
        << log;

    // A good file is read and written without any of that.
    std::filesystem::remove(SharedFile() + ".bad");
    ReadKeys();
    EXPECT_FALSE(std::filesystem::exists(SharedFile() + ".bad"));
    fw::ErrorLogFolder.clear();
}

TEST_F(FrontKeyFile, AFileThatCannotBeWrittenEndsTheProgramWithItsName) {
    shared_.Put("not-a-folder", "x");
    fw::Game->SubPath = shared_ / "not-a-folder/";
    game::RedefineKeysScreen->IniKeysFill();
    try {
        game::KeyFile->Save();
        FAIL() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Failed to save file Keys.ini (Not a directory)");
    }
}

TEST(FrontKeyNames, NamedKeysAreExactlyTheOnesThatCanBeChosen) {
    game::FillKeyNames();
    int named = 0;
    for (int code = 0; code < 256; ++code)
        if (!game::KeyNames[static_cast<std::size_t>(code)].empty()) ++named;
    EXPECT_EQ(named, 72);
    const std::vector<std::pair<int, std::string>> samples = {
        {8, "BACKSPACE"}, {13, "RETURN"}, {33, "PAGE UP"}, {48, "0"}, {90, "Z"}, {96, "NUMPAD 0"},
        {106, "NUMPAD *"}, {111, "NUMPAD /"}, {162, "LEFT CONTROL"}, {164, "LEFT ALT"}, {188, ","},
        {190, "."}, {108, ""}, {165, ""}, {187, ""}, {189, ""}, {27, ""}, {112, ""}};
    for (const auto& [code, name] : samples) EXPECT_EQ(game::KeyNames[static_cast<std::size_t>(code)], name) << code;
}

// Exactly the named keys can be captured, and of several hit at once the
// first of the fixed list is taken first, the others on later polls.
TEST(FrontKeyNames, OnlyNamedKeysCanBeCapturedInTheListOrder) {
    game::FillKeyNames();
    fw::FlushKeyTables();
    for (int code = 0; code < 256; ++code) {
        fw::KeyTableDown(code);
        fw::KeyTableUp(code);
        const int polled = game::PollKeyHitCode();
        if (game::KeyNames[static_cast<std::size_t>(code)].empty())
            EXPECT_EQ(polled, -1) << code;
        else
            EXPECT_EQ(polled, code) << code;
        fw::FlushKeyTables();
    }
    for (int code : {190, 164, 65, 8, 27, 112}) {
        fw::KeyTableDown(code);
        fw::KeyTableUp(code);
    }
    std::vector<int> order;
    for (int code = game::PollKeyHitCode(); code != -1; code = game::PollKeyHitCode()) order.push_back(code);
    EXPECT_EQ(order, (std::vector<int>{8, 65, 164, 190}));
    fw::FlushKeyTables();
}

}  // namespace
