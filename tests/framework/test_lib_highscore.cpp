// The high-score table and its file: defaults, round trips with real files,
// the byte format, damaged files, insert order and failing saves.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "framework/errors.h"
#include "framework/highscore.h"
#include "platform/core/error.h"
#include "test_lib_util.h"

namespace {

using testlib::ReadBytes;
using testlib::TempDir;
using testlib::WriteBytes;

using Row = std::tuple<std::string, int, int>;

std::vector<Row> Rows(const fw::THighScoreList& list) {
    std::vector<Row> out;
    for (const auto& r : list) out.emplace_back(r->name, r->score, r->level);
    return out;
}

const std::vector<Row> kDefaults = {
    {"RAV", 10000, 8}, {"MEL", 9000, 7}, {"DUBO", 8000, 6}, {"PANTO", 7000, 5},
    {"WELM", 6000, 4}, {"SIV", 5000, 3}, {"DAX", 4000, 2},  {"QUORB", 3000, 1},
};

// One record as the file stores it.
std::vector<std::uint8_t> Record(const std::string& name, int score, int level) {
    std::vector<std::uint8_t> out;
    for (unsigned char c : name) out.push_back(static_cast<std::uint8_t>((c - fw::NameShift) & 255));
    out.push_back(0);
    for (int v : {score, level})
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * i)) & 255));
    return out;
}

class HighScoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::ErrorReportMode = 0;
        list.Create(dir / "velmarok", 8);
    }
    TempDir dir;
    fw::THighScoreList list;
};

TEST_F(HighScoreTest, ShiftIsASmallPositiveConstantBelowTheBlank) {
    static_assert(fw::NameShift > 0 && fw::NameShift < 32);
}

TEST_F(HighScoreTest, CreateSetsPathAndLength) {
    EXPECT_EQ(list.filepath, dir / "velmarok.dat");
    EXPECT_EQ(list.MaxNameLength, 8);
}

TEST_F(HighScoreTest, MissingFileGivesDefaultsAndCreatesTheFile) {
    EXPECT_EQ(list.Load(), 8);
    EXPECT_EQ(Rows(list), kDefaults);
    ASSERT_TRUE(std::filesystem::exists(list.filepath));

    fw::THighScoreList again;
    again.Create(dir / "velmarok", 8);
    EXPECT_EQ(again.Load(), 8);
    EXPECT_EQ(Rows(again), kDefaults);
}

TEST_F(HighScoreTest, FileFormatOfOneRow) {
    list.Add("ABC", 0x01020304, -2);
    list.Save();
    const std::vector<std::uint8_t> expected = {
        static_cast<std::uint8_t>('A' - fw::NameShift), static_cast<std::uint8_t>('B' - fw::NameShift),
        static_cast<std::uint8_t>('C' - fw::NameShift), 0, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF,
        0xFF};
    EXPECT_EQ(ReadBytes(list.filepath), expected);
}

TEST_F(HighScoreTest, RoundTripKeepsFileOrderAndAwkwardValues) {
    list.Add("", 50, 0);  // a name confirmed empty
    list.Add("Zed", 0, -3);
    list.Add("x y.z", 2147483647, -2147483647 - 1);
    list.Add("RAV", 100, 1);  // not sorted: Load keeps the file's order
    list.Save();
    const auto saved = Rows(list);
    fw::THighScoreList back;
    back.Create(dir / "velmarok", 8);
    EXPECT_EQ(back.Load(), 4);
    EXPECT_EQ(Rows(back), saved);
}

TEST_F(HighScoreTest, EmptyFileGivesAnEmptyTable) {
    WriteBytes(list.filepath, {});
    EXPECT_EQ(list.Load(), 0);
    EXPECT_TRUE(list.IsEmpty());
    // Operations the game runs on the table stay safe on an empty list.
    EXPECT_EQ(list.RemoveLast(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    list.Insert("ONE", 5, 1);
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"ONE", 5, 1}}));
}

TEST_F(HighScoreTest, FileCutAtEveryByteOfARecordKeepsTheCompleteRows) {
    std::vector<std::uint8_t> file;
    const std::vector<Row> rows = {{"FIRST", 300, 3}, {"SECOND", 200, 2}, {"THIRD", 100, 1}};
    std::vector<std::size_t> ends;
    for (const auto& [n, s, l] : rows) {
        const auto rec = Record(n, s, l);
        file.insert(file.end(), rec.begin(), rec.end());
        ends.push_back(file.size());
    }
    // Every cut inside the second and third records, and the exact ends.
    for (std::size_t cut = ends[0]; cut <= file.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        WriteBytes(list.filepath, std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<long>(cut)));
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut) ++complete;
        EXPECT_EQ(list.Load(), static_cast<int>(complete));
        EXPECT_EQ(Rows(list), std::vector<Row>(rows.begin(), rows.begin() + static_cast<long>(complete)));
        // A cut file is replaced by its complete rows, the cut one kept.
        const bool whole = complete > 0 && ends[complete - 1] == cut;
        EXPECT_EQ(ReadBytes(list.filepath).size(), ends[complete - 1]);
        if (!whole) {
            EXPECT_EQ(ReadBytes(list.filepath + ".bad").size(), cut);
        }
    }
    // Cuts inside the first record leave nothing.
    for (std::size_t cut = 1; cut < ends[0]; ++cut) {
        WriteBytes(list.filepath, std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<long>(cut)));
        EXPECT_EQ(list.Load(), 0) << "cut at " << cut;
    }
}

TEST_F(HighScoreTest, RowsThatAreNoNameAndScoreAreDroppedAndTheDamagedFileKept) {
    std::vector<std::uint8_t> file;
    for (const auto& rec : {Record("ACE", 500, 2), Record("\x01\x02", 400, 1), Record("NEG", -7, 1),
                            Record("\xC3\xA9t\xE9", 300, 1), Record("LOW", 100, 9)})
        file.insert(file.end(), rec.begin(), rec.end());
    WriteBytes(list.filepath, file);
    fw::ErrorLogFolder = dir.Dir();
    EXPECT_EQ(list.Load(), 2);
    fw::ErrorLogFolder.clear();
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"ACE", 500, 2}, {"LOW", 100, 9}}));
    EXPECT_EQ(ReadBytes(list.filepath + ".bad"), file);
    fw::THighScoreList back;
    back.Create(dir / "velmarok", 8);
    EXPECT_EQ(back.Load(), 2) << "the file now holds the good rows";
    const std::vector<std::uint8_t> bytes = ReadBytes(dir / "ErrorLog.txt");
    const std::string log(bytes.begin(), bytes.end());
    EXPECT_NE(log.find(list.filepath + " was damaged (3 rows that are no name and score)"), std::string::npos)
        << log;
}

TEST_F(HighScoreTest, AHugeFileIsReadOnlyUpToTheCap) {
    // Good rows all the way: what lies past the cap is ignored, not read,
    // and of what is read the table keeps its eight rows.
    const std::vector<std::uint8_t> rec = Record("AAAAAAA", 1, 1);  // 16 bytes
    std::vector<std::uint8_t> file;
    while (file.size() < 4u * fw::MaxScoreFileBytes) file.insert(file.end(), rec.begin(), rec.end());
    WriteBytes(list.filepath, file);
    EXPECT_EQ(list.Load(), fw::TableRows);
    EXPECT_EQ(ReadBytes(list.filepath).size(), 16u * fw::TableRows);
    EXPECT_EQ(ReadBytes(list.filepath + ".bad").size(), file.size());
}

TEST_F(HighScoreTest, NamesAreCutAt255Bytes) {
    list.Add(std::string(300, 'N'), 7, 1);
    list.Save();
    fw::THighScoreList back;
    back.Create(dir / "velmarok", 8);
    ASSERT_EQ(back.Load(), 1);
    EXPECT_EQ(back.First()->name, std::string(255, 'N'));
    EXPECT_EQ(back.First()->score, 7);

    // A run of name bytes longer than that is damage, not a name.
    std::vector<std::uint8_t> bad = Record("OK", 1, 1);
    bad.insert(bad.end(), 300, static_cast<std::uint8_t>('A' - fw::NameShift));
    bad.push_back(0);
    bad.insert(bad.end(), 8, 0);
    WriteBytes(list.filepath, bad);
    EXPECT_EQ(back.Load(), 1);
    EXPECT_EQ(back.First()->name, "OK");
}

TEST_F(HighScoreTest, CharacterThatWouldEndTheNameIsStoredAsABlank) {
    std::string name = "A";
    name += static_cast<char>(fw::NameShift);
    name += "B";
    list.Add(name, 1, 2);
    list.Add("C", 3, 4);
    list.Save();
    fw::THighScoreList back;
    back.Create(dir / "velmarok", 8);
    ASSERT_EQ(back.Load(), 2);
    EXPECT_EQ(back.First()->name, "A B");
    EXPECT_EQ(back.First()->score, 1);
    EXPECT_EQ(back.Last()->name, "C");
}

TEST_F(HighScoreTest, InsertGoesAboveEqualScores) {
    list.CreateDefault();
    list.Insert("NEW", 9000, 3);
    ASSERT_EQ(list.Count(), 9);
    auto rows = Rows(list);
    EXPECT_EQ(rows[0], kDefaults[0]);
    EXPECT_EQ(rows[1], (Row{"NEW", 9000, 3}));
    EXPECT_EQ(rows[2], kDefaults[1]);
    list.RemoveLast();
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(std::get<0>(Rows(list).back()), "DAX");

    list.Insert("TOP", 99999, 1);
    EXPECT_EQ(list.First()->name, "TOP");
    list.Insert("LOW", -1, 1);
    EXPECT_EQ(list.Last()->name, "LOW");
    list.Insert("SAME", 4000, 1);  // equal to DAX's score: above it
    auto it = Rows(list);
    auto pos = std::find(it.begin(), it.end(), Row{"SAME", 4000, 1});
    ASSERT_NE(pos, it.end());
    EXPECT_EQ(std::get<0>(*(pos + 1)), "DAX");
}

TEST_F(HighScoreTest, CreateDefaultAppendsWithoutClearing) {
    list.Add("MINE", 1, 1);
    list.CreateDefault();
    EXPECT_EQ(list.Count(), 9);
    EXPECT_EQ(list.First()->name, "MINE");
}

TEST_F(HighScoreTest, ZeroWritesEmptyRows) {
    list.CreateDefault();
    list.Zero(8);
    EXPECT_EQ(Rows(list), std::vector<Row>(8, Row{"Empty", 0, 0}));
    fw::THighScoreList back;
    back.Create(dir / "velmarok", 8);
    back.Load();
    EXPECT_EQ(Rows(back), std::vector<Row>(8, Row{"Empty", 0, 0}));
}

TEST_F(HighScoreTest, FailingSaveKeepsTheOldFileAndReports) {
    list.CreateDefault();
    const auto old = ReadBytes(list.filepath);
    list.Clear();
    for (int i = 0; i < 200; ++i) list.Add("PLAYER", i, 1);
    try {
        testlib::FileSizeLimit limit(256);
        list.Save();
        FAIL() << "a failed save must be reported";
    } catch (const plat::RuntimeError& e) {
        EXPECT_STREQ(e.what(), ("Failed to save file " + list.filepath + " (File too large)").c_str());
    }
    EXPECT_EQ(ReadBytes(list.filepath), old);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"velmarok.dat"});
}

}  // namespace
