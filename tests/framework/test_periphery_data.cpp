// Text and value files, and ambient sounds.

#include <string>
#include <vector>

#include "framework/ambient_sounds.h"
#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/errors.h"
#include "framework/game_text.h"
#include "platform/core/error.h"
#include "platform/core/random.h"
#include "widget_fixture.h"

namespace {

using periphery::PoolSoundTest;
using periphery::WidgetTest;

class TextFileTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        fw::Game->TextPath = dir.Dir();
    }
    // The message of the error that reading `file` raises ("" when none).
    template <class Read>
    static std::string ErrorOf(Read read) {
        try {
            read();
        } catch (const plat::RuntimeError& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(TextFileTest, NamedTextsAreFoundRegardlessOfCaseAndJoinedByCRLF) {
    testlib::WriteAll(dir / "help.txt",
                      "[TEXT]\r\nGreeting\r\nl1\r\nl2\r\nl3\r\n"
                      "[text]\nEmpty\n"
                      "[TEXT]\n"  // no name line: skipped
                      "[TEXT]\nTwice\nfirst\n"
                      "[TEXT]\ntwice\nsecond\n\n"
                      "[TEXT]\nLast\nend\n");
    auto text = fw::TGameText::Create("help.txt");
    EXPECT_EQ(text->Find("greeting"), (std::vector<std::string>{"l1", "l2", "l3"}));
    EXPECT_EQ(text->FindString("GREETING"), "l1\r\nl2\r\nl3");
    EXPECT_TRUE(text->Find("empty").empty());
    EXPECT_EQ(text->FindString("Empty"), "");
    EXPECT_EQ(text->Find("twice"), (std::vector<std::string>{"second", ""})) << "the later one, blank line kept";
    EXPECT_EQ(text->Find("last"), std::vector<std::string>{"end"}) << "no line after the final line feed";
    EXPECT_TRUE(text->Find("missing").empty());
    EXPECT_EQ(text->Count(), 4);

    // A header with nothing after it, and a file with a byte-order mark.
    testlib::WriteAll(dir / "bom.txt", "\xef\xbb\xbf[TEXT]\nCaf\xc3\xa9\nna\xc3\xafve\n[TEXT]");
    text->Read("bom.txt");
    EXPECT_EQ(text->Find("CAF\xc9"), std::vector<std::string>{"na\xefve"}) << "decoded to 8-bit text";
    EXPECT_EQ(text->Count(), 1) << "read again from empty";
}

TEST_F(TextFileTest, ABadHeaderOrAMissingFileEndsTheProgramWithItsMessage) {
    testlib::WriteAll(dir / "bad.txt", "hello\n[TEXT]\nA\nx\n");
    EXPECT_EQ(ErrorOf([] { fw::TGameText::Create("bad.txt"); }), "[TEXT] header hot found");
    EXPECT_EQ(ErrorOf([] { fw::TGameText::Create("none.txt"); }), "Error loading file " + dir / "none.txt");
    EXPECT_EQ(ErrorOf([&] { fw::TValueList::Create(dir / "none.ini"); }), "Error loading file " + dir / "none.ini");
}

TEST_F(TextFileTest, ValuesAreFoundByTheirExactName) {
    testlib::WriteAll(dir / "values.ini", "LIVES=3\r\nSpeed=-12\nNAME=abc\nLIVES=9\n");
    auto values = fw::TValueList::Create(dir / "values.ini");
    ASSERT_EQ(values->Count(), 4);
    ASSERT_TRUE(values->GetValueByName("LIVES"));
    EXPECT_EQ(values->GetValueByName("LIVES")->value, 3) << "the first of the name";
    EXPECT_FALSE(values->GetValueByName("lives"));
    EXPECT_EQ(values->GetValueByName("Speed")->value, -12);
    EXPECT_EQ(values->GetValueByName("NAME")->value, 0);
    EXPECT_EQ(values->GetValueByIndex(3)->value, 9);
    EXPECT_FALSE(values->GetValueByIndex(4));
    EXPECT_FALSE(values->GetValueByIndex(-1));
    EXPECT_EQ(values->AddValue("EXTRA", 5)->name, "EXTRA");
    EXPECT_EQ(values->GetValueByIndex(4)->value, 5);
}

// --- ambient sounds ------------------------------------------------------------------

class AmbientTest : public PoolSoundTest {
protected:
    void SetUp() override {
        PoolSoundTest::SetUp();
        plat::SeedRnd(7);
    }
    // Ticks until the first sound plays; -1 when none does in `limit`.
    static int FirstPlay(fw::TAmbientSounds& a, int limit) {
        for (int t = 1; t <= limit; ++t) {
            a.Manage();
            if (Playing() > 0) return t;
        }
        return -1;
    }
};

TEST_F(AmbientTest, RollsOncePerIntervalAndPlaysAsOftenAsTheChanceSays) {
    fw::TAmbientSounds sure;
    sure.AddSound(click);
    sure.Init(1000, 100);
    EXPECT_EQ(sure.SoundCounterMax, 200);
    EXPECT_EQ(FirstPlay(sure, 1000), 200) << "a second is 200 ticks";
    Ticks(199, [&] { sure.Manage(); });
    EXPECT_EQ(Playing(), 1);
    sure.Manage();
    EXPECT_EQ(Playing(), 2);

    fw::Game->Channels->Kill();
    fw::Game->Channels = fw::TChannelArray::Create(16);
    fw::TAmbientSounds never;
    never.AddSound(click);
    never.Init(5, 0);
    Ticks(500, [&] { never.Manage(); });
    EXPECT_EQ(Playing(), 0);

    fw::TAmbientSounds half;
    half.AddSound(click);
    half.Init(5, 50);
    Ticks(16, [&] { half.Manage(); });
    EXPECT_GT(Playing(), 2);
    EXPECT_LT(Playing(), 14) << "about half of 16 rolls";
}

TEST_F(AmbientTest, WithoutInitEveryTickRollsAndWithoutSoundsNothingPlays) {
    fw::TAmbientSounds every;
    every.AddSound(click);
    every.Chance = 100;
    Ticks(5, [&] { every.Manage(); });
    EXPECT_EQ(Playing(), 5);

    fw::Game->Channels->Kill();
    fw::Game->Channels = fw::TChannelArray::Create(16);
    fw::TAmbientSounds empty;
    empty.Init(5, 100);
    Ticks(100, [&] { empty.Manage(); });
    every.Kill();
    EXPECT_EQ(every.TotalSounds, 0);
    Ticks(100, [&] { every.Manage(); });
    EXPECT_EQ(Playing(), 0);
}

TEST_F(AmbientTest, FillLoadsNumberedFilesAndTheTwentyFirstSoundIsNotTaken) {
    for (int i = 0; i < 3; ++i)
        testlib::WriteBytes(dir / ("wind" + std::to_string(i) + ".wav"),
                            testlib::MakeWav(std::vector<std::int16_t>(100, 500)));
    fw::TAmbientSounds wind;
    wind.Fill(dir / "wind", 3, ".wav");
    ASSERT_EQ(wind.TotalSounds, 3);
    EXPECT_TRUE(wind.Sounds[2] && wind.Sounds[2]->sound);
    for (int i = 0; i < 30; ++i) wind.AddSound(click);
    EXPECT_EQ(wind.TotalSounds, fw::TAmbientSounds::MAX_SOUNDS);
    wind.Fill(dir / "missing", 5, ".wav");
    EXPECT_EQ(wind.TotalSounds, fw::TAmbientSounds::MAX_SOUNDS) << "full: nothing more is loaded";
}

}  // namespace
