// Player profiles: the file's bytes, damaged and short files, saves that
// fail or are cut short, unsafe names, the shell's save during play; and
// the manager that lists, creates, deletes and chooses them.

#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "framework/dialog.h"
#include "framework/errors.h"
#include "framework/fonts.h"
#include "framework/ini.h"
#include "framework/list_box.h"
#include "framework/player_manager.h"
#include "framework/profile.h"
#include "framework/screen.h"
#include "framework/shapes.h"
#include "framework/text_input.h"
#include "platform/core/error.h"
#include "platform/sys/input.h"

namespace {

using periphery::DialogTest;

int IntAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(bytes.at(at + i)) << (8 * i);
    return static_cast<int>(u);
}

std::vector<std::uint8_t> Ints(const std::vector<int>& values) {
    std::vector<std::uint8_t> out;
    for (int v : values)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * i)) & 255));
    return out;
}

class ProfileTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        std::filesystem::create_directories(dir / "profiles");
        fw::Game->ProfilePath = dir / "profiles/";
        fw::Game->SubPath = dir.Dir();
        fw::Game->Ini->FileName = dir / "settings";
        fw::ErrorLogFolder = dir.Dir();
    }
    void TearDown() override {
        fw::ProfileCreateFunction = nullptr;
        fw::ErrorLogFolder.clear();
        fw::SetMessageBoxFrameHook(nullptr);
        DialogTest::TearDown();
    }
    std::string File(const std::string& name) const { return dir / ("profiles/" + name); }
    std::vector<std::string> ProfileFiles() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir / "profiles"))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(ProfileTest, TheRecordsBytesAreScrambledAndReadBack) {
    auto profile = fw::TProfile::Create("Alice");
    ASSERT_EQ(profile->Save(), 1);
    const auto bytes = testlib::ReadBytes(File("Alice.dat"));
    ASSERT_EQ(bytes.size(), 440u);
    // Level 1, level 2 locked, score 0, 3 lives, no kills, each plus
    // i x 3187402 + 5920317.
    EXPECT_EQ(IntAt(bytes, 0), 5920318);
    EXPECT_EQ(IntAt(bytes, 4), 9107721);
    EXPECT_EQ(IntAt(bytes, 8), 12295121);
    EXPECT_EQ(IntAt(bytes, 12), 15482526);
    EXPECT_EQ(IntAt(bytes, 16), 18669925);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 20, bytes.begin() + 28), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(IntAt(bytes, 28), 0);
    EXPECT_EQ(IntAt(bytes, 32), 1);
    EXPECT_EQ(IntAt(bytes, 36), 1);
    for (std::size_t at = 40; at < 440; at += 4) EXPECT_EQ(IntAt(bytes, at), 0) << at;

    profile->Score = INT_MAX;
    profile->Kills = INT_MIN;
    profile->TimeTaken = 1234.5;
    profile->Difficulty = 2;
    profile->HintsShown[99] = 1;
    profile->Save();
    const auto wrapped = testlib::ReadBytes(File("Alice.dat"));
    EXPECT_EQ(IntAt(wrapped, 8), -2135188528) << "wrapped at 32 bits";
    EXPECT_EQ(std::bit_cast<double>(std::uint64_t{IntAt(wrapped, 20) & 0xFFFFFFFFull} |
                                    (std::uint64_t{static_cast<std::uint32_t>(IntAt(wrapped, 24))} << 32)),
              1234.5);
    auto back = fw::TProfile::Create("Alice");
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->Score, INT_MAX);
    EXPECT_EQ(back->Kills, INT_MIN);
    EXPECT_EQ(back->TimeTaken, 1234.5);
    EXPECT_EQ(back->Difficulty, 2);
    EXPECT_EQ(back->HintsShown[99], 1);
    EXPECT_EQ(back->Lives, 3);
}

TEST_F(ProfileTest, ShortFilesReadWhatIsWhole) {
    // 20 hints: the rest are 0; a hint cut in two is not read.
    std::vector<int> record = {5920318 + 4, 9107721, 12295121 + 700, 15482526, 18669925, 0, 0, 1, 0, 1};
    for (int i = 0; i < 20; ++i) record.push_back(1);
    auto bytes = Ints(record);
    bytes.push_back(1);
    bytes.push_back(0);
    testlib::WriteBytes(File("Bob.dat"), bytes);
    auto bob = fw::TProfile::Create("Bob");
    bob->HintsSet(7);
    EXPECT_EQ(bob->Load(), 1);
    EXPECT_EQ(bob->CurrentLevel, 5);
    EXPECT_EQ(bob->Score, 700);
    EXPECT_EQ(bob->TipsFlag, 0);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(bob->HintsShown[static_cast<std::size_t>(i)], i < 20 ? 1 : 0) << i;

    // Shorter than the fixed part: nothing is taken from it, it is kept as
    // ".bad", said so, and a whole record replaces it.
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 22);
    testlib::WriteBytes(File("Cara.dat"), cut);
    auto cara = fw::TProfile::Create("Cara");
    cara->Score = 55;
    EXPECT_EQ(cara->Load(), 0) << "as if missing";
    EXPECT_EQ(cara->Score, 55);
    EXPECT_EQ(cara->CurrentLevel, 1);
    EXPECT_EQ(testlib::ReadBytes(File("Cara.dat.bad")), cut);
    EXPECT_EQ(testlib::ReadBytes(File("Cara.dat")).size(), 440u);
    EXPECT_NE(testlib::ReadAll(dir / "ErrorLog.txt").find("Cara.dat was damaged"), std::string::npos);

    // Missing: written with the values it holds.
    auto dee = fw::TProfile::Create("Dee");
    dee->Lives = 9;
    EXPECT_EQ(dee->Load(), 0);
    auto again = fw::TProfile::Create("Dee");
    EXPECT_EQ(again->Load(), 1);
    EXPECT_EQ(again->Lives, 9);
}

TEST_F(ProfileTest, TheGamesOwnDataFollowsTheRecord) {
    auto profile = fw::TProfile::Create("Eve");
    int extra = 77;
    profile->SaveUserFunction = [&](const plat::Ref<plat::TStream>& s) { plat::WriteInt(s, extra); };
    profile->Save();
    EXPECT_EQ(testlib::ReadBytes(File("Eve.dat")).size(), 444u);
    int read = 0;
    auto back = fw::TProfile::Create("Eve");
    back->LoadUserFunction = [&](const plat::Ref<plat::TStream>& s) { read = plat::ReadInt(s); };
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(read, 77);

    // A file without that data: damaged, not the end of the program.
    auto plain = fw::TProfile::Create("Fay");
    plain->Score = 12;
    plain->Save();
    auto reader = fw::TProfile::Create("Fay");
    reader->LoadUserFunction = back->LoadUserFunction;
    EXPECT_EQ(reader->Load(), 0);
    EXPECT_EQ(reader->Score, 12) << "the record itself was read";
    EXPECT_TRUE(std::filesystem::exists(File("Fay.dat.bad")));
}

TEST_F(ProfileTest, ShowingAHintMarksAndSavesItOnce) {
    auto profile = fw::TProfile::Create("Gus");
    EXPECT_EQ(profile->ShowHint(5, 1), 1);
    const auto bytes = testlib::ReadBytes(File("Gus.dat"));
    ASSERT_EQ(bytes.size(), 440u) << "saved";
    EXPECT_EQ(IntAt(bytes, 40 + 5 * 4), 1);
    std::filesystem::remove(File("Gus.dat"));
    EXPECT_EQ(profile->ShowHint(5, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(File("Gus.dat"))) << "not saved again";
    EXPECT_EQ(profile->ShowHint(6, 0), 1);
    EXPECT_FALSE(std::filesystem::exists(File("Gus.dat")));
    for (int outside : {-1, 100, 1000}) EXPECT_EQ(profile->ShowHint(outside, 1), 0) << outside;
}

TEST_F(ProfileTest, AFailedOrInterruptedSaveKeepsTheGoodFile) {
    auto profile = fw::TProfile::Create("Hal");
    profile->Score = 300;
    profile->Save();
    const auto good = testlib::ReadBytes(File("Hal.dat"));
    profile->Score = 400;
    profile->SaveUserFunction = [](const plat::Ref<plat::TStream>& s) {
        for (int i = 0; i < 1000; ++i) plat::WriteInt(s, i);
    };
    try {
        testlib::FileSizeLimit limit(1024);
        profile->Save();
        ADD_FAILURE() << "a failed save must be reported";
    } catch (const plat::RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Could not create file '" + File("Hal.dat") + "'");
    }
    EXPECT_EQ(testlib::ReadBytes(File("Hal.dat")), good);
    EXPECT_EQ(ProfileFiles(), std::vector<std::string>{"Hal.dat"}) << "no half-written file left";

    // The program ends in the middle of a save.
    const pid_t child = fork();
    if (child == 0) {
        profile->SaveUserFunction = [](const plat::Ref<plat::TStream>& s) {
            plat::WriteInt(s, 1);
            _exit(0);
        };
        profile->Save();
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(testlib::ReadBytes(File("Hal.dat")), good);
    auto back = fw::TProfile::Create("Hal");
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->Score, 300);
}

TEST_F(ProfileTest, NamesThatAreNoFileNameHereAreRefused) {
    for (const char* name : {"", "../evil", "a/b", "a\\b", "..", "x..y", "tab\there"}) {
        auto profile = fw::TProfile::Create(name);
        EXPECT_FALSE(fw::IsSafeProfileName(name)) << name;
        // Saving is reported like a file that cannot be created.
        try {
            profile->Save();
            ADD_FAILURE() << "a refused name must be reported: " << name;
        } catch (const plat::RuntimeError& e) {
            EXPECT_EQ(std::string(e.what()), "Could not create file '" + File(std::string(name) + ".dat") + "'");
        }
        EXPECT_EQ(profile->Load(), 0) << name;
    }
    EXPECT_TRUE(ProfileFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "evil.dat"));
    for (const char* name : {"Ann", "Jo Ann", "x.y", "\xc9mile"}) EXPECT_TRUE(fw::IsSafeProfileName(name)) << name;
}

TEST_F(ProfileTest, EachNewProfileMeetsTheCreateHookAndTheShellSavesItDuringPlay) {
    int made = 0;
    fw::ProfileCreateFunction = [&](fw::TProfile& p) {
        ++made;
        p.Lives = 7;
    };
    fw::Game->CurrentProfile = fw::TProfile::Create("Ivy");
    EXPECT_EQ(made, 1);
    auto screen = plat::New<fw::TScreen>();
    screen->name = "title";
    fw::Game->CurrentTScreen = screen;
    fw::Game->TerminatedEvent = 1;
    EXPECT_EQ(fw::Game->GameTerminated(), -1);
    EXPECT_FALSE(std::filesystem::exists(File("Ivy.dat"))) << "only during play";
    screen->name = "game";
    fw::Game->TerminatedEvent = 1;
    EXPECT_EQ(fw::Game->GameTerminated(), -1);
    auto back = fw::TProfile::Create("Ivy");
    back->Lives = 0;
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->Lives, 7);
}

// --- the manager -----------------------------------------------------------------------

class ManagerTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        int score = 100;
        for (const char* name : {"Alice", "Bob", "Cara"}) {
            auto p = fw::TProfile::Create(name);
            p->Score = score;
            score += 100;
            p->Save();
        }
    }
    plat::Ref<fw::TPlayerManager> Manager() {
        auto m = fw::TPlayerManager::Create("Who is playing?", Picture(300, 220), 0, 0, 0, 10, "");
        m->ListBox->SetupFont(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, nullptr,
                              fw::TColor::Create(255, 255, 0, 1));
        m->ErrorDialogFunc = [this](const std::string& text) {
            messages.push_back(text);
            return fw::TDialogOK::Create(text, nullptr, 0, 0, 0);
        };
        m->DialogYesNoFunc = [this](const std::string& text) {
            messages.push_back(text);
            return fw::TDialogYesNo::Create(text, nullptr, 0, 0, 0, 1, 30);
        };
        m->EnterNamePromptFunc = [](int withCancel) {
            auto prompt = fw::TDialogTextInput::Create("Your name", "", 12, nullptr, 0, 0, 0, 0);
            prompt->MenuCreate(withCancel, 20);
            prompt->SetupText(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, 0, nullptr);
            return prompt;
        };
        m->CreateProfileFunc = [this](const std::string& name) {
            created.push_back(name);
            fw::TProfile::Create(name)->Save();
        };
        m->Start();
        return m;
    }
    static void ClickRow(fw::TPlayerManager& m, int row, int* result = nullptr) {
        const auto& box = *m.ListBox->Box;
        Pointer(static_cast<int>(box.X) + 20, static_cast<int>(box.Y) + row * m.ListBox->LineHeight + 4);
        Press();
        const int r = m.Manage();
        if (result) *result = r;
        Release();
        NextTick();
    }
    static int Click(fw::TPlayerManager& m, const std::string& button) {
        return ClickOn(*m.Menu, button, [&] { return m.Manage(); });
    }
    // Ticks until the manager gives a result (at most `ticks`).
    static int Run(fw::TPlayerManager& m, int ticks = 30) {
        for (int i = 0; i < ticks; ++i)
            if (const int r = m.Manage()) return r;
        return 0;
    }
    std::vector<std::string> messages, created;
};

TEST_F(ManagerTest, ListsTheProfilesAndSelectsTheCurrentOne) {
    testlib::WriteAll(File("notes.txt"), "x");
    testlib::WriteAll(File(".dat"), "x");
    fw::Game->CurrentProfile = fw::TProfile::Create("bob");
    auto m = Manager();
    EXPECT_EQ(m->ListBox->Strings, (std::vector<std::string>{"Alice", "Bob", "Cara"}));
    EXPECT_EQ(m->ListBox->Index, 1) << "found whatever its capitals";
    // The list fills the dialog inside its margins, between caption and buttons.
    const auto& box = *m->ListBox->Box;
    EXPECT_FLOAT_EQ(box.X, static_cast<float>(m->x + 20));
    EXPECT_FLOAT_EQ(box.W, 260);
    EXPECT_GT(box.Y, m->Caption->Y + m->Caption->CalcHeight());
    EXPECT_LT(box.Y + box.H, m->Button("OK")->y);
}

TEST_F(ManagerTest, ADoubleClickChoosesLikeOK) {
    auto m = Manager();
    int result = 0;
    ClickRow(*m, 1, &result);
    EXPECT_EQ(result, 0);
    ClickRow(*m, 1, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(fw::Game->ProfileName, "Bob");
    ASSERT_TRUE(fw::Game->CurrentProfile) << "made when there was none";
    EXPECT_EQ(fw::Game->CurrentProfile->Name, "Bob");
    EXPECT_EQ(fw::Game->CurrentProfile->Score, 200) << "loaded from its file";
    EXPECT_NE(testlib::ReadAll(dir / "settings.ini").find("PROFILE NAME=Bob"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "inichanged.dat"));
    EXPECT_EQ(m->Active, 0);
}

TEST_F(ManagerTest, CreatingANameChoosesItAndAnExistingNameIsNeverOverwritten) {
    auto m = Manager();
    Click(*m, "Create");
    ASSERT_TRUE(m->EnterName);
    EXPECT_EQ(fw::Game->BlockKeys, 1);
    TypeText("zed/\r");
    EXPECT_EQ(Run(*m), 1);
    EXPECT_EQ(created, std::vector<std::string>{"Zed"}) << "a capital first, no path characters";
    EXPECT_EQ(fw::Game->ProfileName, "Zed");
    EXPECT_EQ(testlib::ReadBytes(File("Zed.dat")).size(), 440u);
    EXPECT_EQ(fw::Game->BlockKeys, 0);

    const auto alice = testlib::ReadBytes(File("Alice.dat"));
    auto again = Manager();
    Click(*again, "Create");
    TypeText("aLICE\r");
    EXPECT_EQ(Run(*again), 1);
    EXPECT_EQ(created.size(), 1u) << "no new profile over Alice";
    EXPECT_EQ(testlib::ReadBytes(File("Alice.dat")), alice);
    EXPECT_EQ(fw::Game->ProfileName, "Alice");
    EXPECT_EQ(fw::Game->CurrentProfile->Score, 100);

    auto kept = Manager();
    kept->AutoAcceptAfterCreate = 0;
    Click(*kept, "Create");
    TypeText("Max\r");
    EXPECT_EQ(Run(*kept), 0);
    EXPECT_EQ(kept->ListBox->Value, "Max") << "selected, waiting for OK";
    EXPECT_EQ(kept->Active, 1);
}

// A typed name that can be no profile's file makes nothing; the player is
// told, the prompt closes and the manager stays open.
TEST_F(ManagerTest, ARefusedNameIsToldAndCreatesNothing) {
    auto m = Manager();
    Click(*m, "Create");
    ASSERT_TRUE(m->EnterName);
    TypeText("x..y\r");
    EXPECT_EQ(Run(*m, 5), 0);
    EXPECT_TRUE(created.empty());
    EXPECT_EQ(ProfileFiles(), (std::vector<std::string>{"Alice.dat", "Bob.dat", "Cara.dat"}));
    EXPECT_EQ(messages, std::vector<std::string>{"Could not create file '" + File("X..y.dat") + "'"});
    EXPECT_FALSE(m->EnterName);
    ASSERT_TRUE(m->DialogOK);
    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(m->Manage(), 0);
    EXPECT_FALSE(m->DialogOK);
    EXPECT_EQ(m->Active, 1);
    EXPECT_EQ(m->ListBox->Strings, (std::vector<std::string>{"Alice", "Bob", "Cara"}));
}

// Without a background picture the dialog is made big enough for its
// caption, ten lines of names and the buttons.
TEST_F(ManagerTest, WithoutAPictureTheDialogHoldsItsListAndButtons) {
    auto m = fw::TPlayerManager::Create("Who is playing?", nullptr, 0, 0, 0, 10, "");
    m->ListBox->SetupFont(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, nullptr,
                          fw::TColor::Create(255, 255, 0, 1));
    m->Start();
    const auto& box = *m->ListBox->Box;
    ASSERT_GT(m->ListBox->LineHeight, 1);
    EXPECT_FLOAT_EQ(box.H, 10.0f * static_cast<float>(m->ListBox->LineHeight));
    EXPECT_EQ(m->ListBox->DisplayLines, 10);
    EXPECT_GE(box.Y, m->Caption->Y + m->Caption->CalcHeight());
    const auto ok = m->Button("OK");
    const auto cancel = m->Button("Cancel");
    EXPECT_LE(box.Y + box.H, ok->y) << "the list ends above the buttons";
    EXPECT_LE(ok->y + ok->h, m->y + m->h) << "the buttons inside the dialog";
    EXPECT_GE(ok->x, m->x);
    EXPECT_LE(cancel->x + cancel->w, m->x + m->w);
    EXPECT_GE(box.X, m->x);
    EXPECT_LE(box.X + box.W, m->x + m->w);
    // A size the owner chose is kept when it is larger.
    auto tall = fw::TPlayerManager::Create("Who is playing?", nullptr, 600, 0, 0, 10, "");
    tall->h = 500;
    tall->Start();
    EXPECT_EQ(tall->h, 500);
    EXPECT_EQ(tall->w, 600);
}

TEST_F(ManagerTest, NoMoreThanTheLimitAndNeverTheLastOne) {
    for (const char* name : {"Dan", "Ed", "Flo", "Gil", "Hu", "Ian", "Jay"}) fw::TProfile::Create(name)->Save();
    auto m = Manager();
    ASSERT_EQ(m->ListBox->Count(), 10);
    Click(*m, "Create");
    EXPECT_EQ(messages, std::vector<std::string>{"You cannot create any more players!"});
    EXPECT_FALSE(m->EnterName);
    ASSERT_TRUE(m->DialogOK);
    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(m->Manage(), 0);
    EXPECT_FALSE(m->DialogOK) << "closed by Escape, the manager stays";
    EXPECT_EQ(m->Active, 1);

    // One profile left: it cannot go.  Without a message dialog the
    // message shows in the shell's panel.
    for (const auto& f : ProfileFiles())
        if (f != "Alice.dat") std::filesystem::remove(File(f));
    auto last = Manager();
    last->ErrorDialogFunc = nullptr;
    std::vector<std::string> shown;
    fw::SetMessageBoxFrameHook([&](int) {
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::TEXT) shown.push_back(c.text);
        plat::SimulateKeyPress(plat::KEY_SPACE);
    });
    ClickRow(*last, 0);
    Click(*last, "Delete");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "The list must contain at least one player!"), shown.end());
    EXPECT_TRUE(std::filesystem::exists(File("Alice.dat")));
    EXPECT_FALSE(last->DialogYesNo);
}

TEST_F(ManagerTest, DeletingTheLastSelectsTheNewLastAndCancelMovesOffADeletedPlayer) {
    fw::Game->CurrentProfile = fw::TProfile::Create("Cara");
    fw::Game->CurrentProfile->Load();
    fw::Game->ProfileName = "Cara";
    std::vector<std::string> deleted;
    auto m = Manager();
    m->DeleteProfileUserFunction = [&](const std::string& name) { deleted.push_back(name); };
    ASSERT_EQ(m->ListBox->Index, 2);
    HitKey(plat::KEY_DELETE);
    m->Manage();
    ASSERT_TRUE(m->DialogYesNo);
    EXPECT_EQ(messages.back(), "Are you sure you want to delete this player?");
    HitKey(plat::KEY_N);
    m->Manage();
    EXPECT_TRUE(std::filesystem::exists(File("Cara.dat"))) << "No keeps it";
    Click(*m, "Delete");
    HitKey(plat::KEY_Y);
    m->Manage();
    EXPECT_EQ(deleted, std::vector<std::string>{"Cara"});
    EXPECT_FALSE(std::filesystem::exists(File("Cara.dat")));
    EXPECT_EQ(m->ListBox->Strings, (std::vector<std::string>{"Alice", "Bob"}));
    EXPECT_EQ(m->ListBox->Index, 1) << "the new last";

    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(m->Manage(), -1);
    EXPECT_EQ(fw::Game->ProfileName, "Alice") << "the deleted player is replaced by the first";
    EXPECT_EQ(fw::Game->CurrentProfile->Name, "Alice");
    EXPECT_EQ(fw::Game->CurrentProfile->Score, 100);
    EXPECT_NE(testlib::ReadAll(dir / "settings.ini").find("PROFILE NAME=Alice"), std::string::npos);
}

TEST_F(ManagerTest, KilledWithAPromptOpenTheShellGetsItsKeysBack) {
    fw::Game->IgnoreEscapeKey = 0;
    auto m = Manager();
    Click(*m, "Create");
    EXPECT_EQ(fw::Game->BlockKeys, 1);
    m->Kill();
    EXPECT_EQ(fw::Game->BlockKeys, 0);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 0);
    EXPECT_FALSE(m->EnterName);
}

}  // namespace
