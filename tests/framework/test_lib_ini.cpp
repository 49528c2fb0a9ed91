// Settings files: load, save, malformed lines, the module helpers, and a
// failing save that must leave the old file as it was.

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "framework/ini.h"
#include "platform/core/error.h"
#include "platform/io/stream.h"
#include "test_lib_util.h"

namespace {

using testlib::ReadAll;
using testlib::TempDir;
using testlib::WriteAll;

class IniTest : public ::testing::Test {
protected:
    void SetUp() override { fw::ErrorReportMode = 0; }
    TempDir dir;
};

TEST_F(IniTest, LoadUpdatesKnownKeysAndRewritesFileInProgramOrder) {
    fw::TIniFile ini;
    ini.FileName = dir / "settings";
    ini.Add("Screen Width", "800");
    ini.Add("Sound", "1");
    WriteAll(ini.Path(), "sound=0\nOther=5\r\nSCREEN WIDTH=1024=x\n");

    ini.Load();

    ASSERT_EQ(ini.Count(), 2);
    EXPECT_EQ(ini.First()->Name, "SCREEN WIDTH");
    EXPECT_EQ(ini.First()->Value, "1024=x");
    EXPECT_EQ(ini.Last()->Name, "SOUND");
    EXPECT_EQ(ini.Last()->Value, "0");
    EXPECT_EQ(ReadAll(ini.Path()), "SCREEN WIDTH=1024=x\r\nSOUND=0\r\n");
}

TEST_F(IniTest, MalformedLines) {
    struct Case {
        const char* file;
        const char* expected;  // value of SOUND after Load
    } cases[] = {
        {"SOUND\n", ""},              // no "=": the empty value
        {"SOUND = 1\n", "7"},         // key with a trailing blank does not match
        {"Sound=  2 \n", "  2 "},     // the value is kept exactly
        {"SOUND=3", "3"},             // last line without a line end
        {"SOUND=4\r\r\n", "4"},       // carriage returns dropped
        {"", "7"},                    // empty file: defaults stay
        {"\n\n=9\n", "7"},            // empty key matches nothing
        {"SOUND=5\nSOUND=6\n", "6"},  // later lines win
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fw::TIniFile ini;
        ini.FileName = dir / "m";
        ini.Add("Sound", "7");
        WriteAll(ini.Path(), c.file);
        ini.Load();
        EXPECT_EQ(ini.First()->Value, c.expected);
    }
}

TEST_F(IniTest, EveryEntryOfADuplicatedNameIsUpdated) {
    fw::TIniFile ini;
    ini.FileName = dir / "dup";
    ini.Add("A", "1");
    ini.Add("a", "2");
    WriteAll(ini.Path(), "A=x\n");
    ini.Load();
    EXPECT_EQ(ini.First()->Value, "x");
    EXPECT_EQ(ini.Last()->Value, "x");
}

TEST_F(IniTest, MissingFileIsCreatedFromDefaults) {
    fw::TIniFile ini;
    ini.FileName = dir / "fresh";
    ini.Add("Full Screen", "1");
    ini.Add("Profile Name", "");
    ini.Load();
    EXPECT_EQ(ReadAll(ini.Path()), "FULL SCREEN=1\r\nPROFILE NAME=\r\n");
}

TEST_F(IniTest, FailingSaveKeepsTheOldFileAndReports) {
    fw::TIniFile ini;
    ini.FileName = dir / "keep";
    ini.Add("Value", std::string(4000, 'v'));
    const std::string old = "VALUE=old\r\n";
    WriteAll(ini.Path(), old);
    try {
        testlib::FileSizeLimit limit(1024);
        ini.Save();
        FAIL() << "a failed save must be reported";
    } catch (const plat::RuntimeError& e) {
        // The message's own words, then the system's reason.
        EXPECT_STREQ(e.what(), ("Failed to save file " + ini.Path() + " (File too large)").c_str());
    }
    EXPECT_EQ(ReadAll(ini.Path()), old);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"keep.ini"}) << "no temporary file left behind";
}

TEST_F(IniTest, SaveIntoMissingFolderReports) {
    fw::TIniFile ini;
    ini.FileName = dir / "no/such/folder/x";
    ini.Add("A", "1");
    EXPECT_THROW(ini.Save(), plat::RuntimeError);
}

TEST_F(IniTest, IniReadValue) {
    const std::string path = dir / "p.ini";
    WriteAll(path, "SOUND=1\r\nPROFILE NAME=Player1\r\nPROFILE NAME=Second\r\n");
    EXPECT_EQ(fw::IniReadValue(path, "profile name"), "Player1");
    EXPECT_EQ(fw::IniReadValue(path, "nothing"), "");
    EXPECT_EQ(fw::IniReadValue(dir / "missing.ini", "sound"), "");
}

TEST_F(IniTest, IniReadValueReadsAReadOnlyFile) {
    const std::string path = dir / "ro.ini";
    WriteAll(path, "PROFILE NAME=Kept\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(fw::IniReadValue(path, "Profile Name"), "Kept");
}

TEST_F(IniTest, ReplaceIniValue) {
    const std::string src = dir / "Default.ini";
    const std::string dst = dir / "game.ini";
    WriteAll(src, "SOUND=1\nprofile name=\nMUSIC=1\nProfile Name=x\n");
    std::filesystem::permissions(src, std::filesystem::perms::owner_read);

    EXPECT_EQ(fw::ReplaceIniValue(src, dst, "Profile Name", "Player1"), 1);
    EXPECT_EQ(ReadAll(dst), "SOUND=1\r\nPROFILE NAME=Player1\r\nMUSIC=1\r\nPROFILE NAME=Player1\r\n");

    WriteAll(dst, "untouched");
    EXPECT_EQ(fw::ReplaceIniValue(dir / "none.ini", dst, "a", "b"), 0);
    EXPECT_EQ(ReadAll(dst), "untouched");

    EXPECT_EQ(fw::ReplaceIniValue(src, dir / "no/folder/t.ini", "a", "b"), 0)
        << "a target that cannot be written is no success";
}

TEST_F(IniTest, ReplaceIniValueFailingWriteKeepsTarget) {
    const std::string src = dir / "big.ini";
    const std::string dst = dir / "target.ini";
    WriteAll(src, std::string(3000, 'k') + "=1\n");
    WriteAll(dst, "OLD=1\r\n");
    {
        testlib::FileSizeLimit limit(1024);
        EXPECT_EQ(fw::ReplaceIniValue(src, dst, "a", "b"), 0);
    }
    EXPECT_EQ(ReadAll(dst), "OLD=1\r\n");
}

TEST_F(IniTest, KeyValueHelpersAndLineWriters) {
    EXPECT_EQ(fw::IniKey("Sound=1=2"), "Sound");
    EXPECT_EQ(fw::IniValue("Sound=1=2"), "1=2");
    EXPECT_EQ(fw::IniKey("NoEquals"), "NoEquals");
    EXPECT_EQ(fw::IniValue("NoEquals"), "");
    EXPECT_EQ(fw::IniKey("=v"), "");

    const std::string path = dir / "w.ini";
    {
        auto out = plat::WriteStream(path);
        ASSERT_TRUE(out);
        EXPECT_TRUE(fw::WriteIniInt(out, "Screen Width", -800));
        EXPECT_TRUE(fw::WriteIniString(out, "sound driver", "OpenAL Generic Software"));
        plat::CloseStream(out);
    }
    EXPECT_EQ(ReadAll(path), "SCREEN WIDTH=-800\r\nSOUND DRIVER=OpenAL Generic Software\r\n");
    EXPECT_FALSE(fw::WriteIniInt(nullptr, "a", 1));
}

}  // namespace
