#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/core/error.h"
#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "test_io_tempdir.h"

using namespace plat;
using testutil::Slurp;
using testutil::TempDir;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

// Names in a folder other than the ones a test expects: left-over temporaries.
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> out;
    for (auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(Stream, ValuesAreLittleEndianBothWays) {
    auto s = CreateMemoryStream({});
    WriteByte(s, 0x1FF);  // only the low byte
    WriteShort(s, 0xBEEF);
    WriteInt(s, 0x01020304);
    WriteInt(s, -2);
    WriteLong(s, 0x1122334455667788LL);
    WriteFloat(s, 1.5f);
    WriteDouble(s, -0.25);
    EXPECT_EQ(StreamSize(s), 1 + 2 + 4 + 4 + 8 + 4 + 8);
    SeekStream(s, 0);
    std::uint8_t head[7];
    ASSERT_EQ(ReadBytes(s, head, 7), 7);
    const std::uint8_t want[7] = {0xFF, 0xEF, 0xBE, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(std::memcmp(head, want, 7), 0);
    SeekStream(s, 0);
    EXPECT_EQ(ReadByte(s), 255);
    EXPECT_EQ(ReadShort(s), 0xBEEF);  // unsigned
    EXPECT_EQ(ReadInt(s), 0x01020304);
    EXPECT_EQ(ReadInt(s), -2);
    EXPECT_EQ(ReadLong(s), 0x1122334455667788LL);
    EXPECT_EQ(ReadFloat(s), 1.5f);
    EXPECT_EQ(ReadDouble(s), -0.25);
    EXPECT_TRUE(Eof(s));
}

TEST(Stream, ReadsPastTheEndRaiseReadError) {
    TempDir tmp;
    tmp.Put("short.bin", std::string("\x01\x02\x03", 3));
    auto file = ReadFile(tmp / "short.bin");
    ASSERT_TRUE(file);
    auto memory = CreateMemoryStream(Bytes("\x01\x02\x03"));
    for (const auto& s : {file, memory}) {
        EXPECT_EQ(ReadShort(s), 0x0201);
        try {
            ReadInt(s);
            ADD_FAILURE() << "no error";
        } catch (const ReadError& e) {
            EXPECT_STREQ(e.what(), "Error reading from stream");
        }
        EXPECT_THROW(ReadByte(s), ReadError);
        SeekStream(s, 1);
        EXPECT_THROW(ReadString(s, 3), ReadError);
        SeekStream(s, 1);
        EXPECT_EQ(ReadString(s, 2), "\x02\x03");
        SeekStream(s, 0);
        char buf[8];
        EXPECT_EQ(ReadBytes(s, buf, 8), 3);  // a short count, no error
        EXPECT_EQ(ReadBytes(s, buf, 8), 0);
        EXPECT_THROW(ReadDouble(s), ReadError);
    }
    EXPECT_THROW(ReadInt(nullptr), ReadError);
    EXPECT_THROW(WriteInt(nullptr, 1), WriteError);
}

TEST(Stream, LinesEndAtLineFeedZeroOrEndAndDropCarriageReturns) {
    auto s = CreateMemoryStream(Bytes(std::string("KEY=1\r\nB=2\nx\0y\rz\r\n\nlast", 23)));
    std::vector<std::string> lines;
    while (!Eof(s)) lines.push_back(ReadLine(s));
    EXPECT_EQ(lines, (std::vector<std::string>{"KEY=1", "B=2", "x", "yz", "", "last"}));
    EXPECT_EQ(ReadLine(s), "");
    auto one = CreateMemoryStream(Bytes("only\n"));
    EXPECT_EQ(ReadLine(one), "only");
    EXPECT_TRUE(Eof(one));  // no phantom empty line after the last LF

    auto out = CreateMemoryStream({});
    EXPECT_TRUE(WriteLine(out, "A=\xE9"));
    EXPECT_TRUE(WriteLine(out, ""));
    SeekStream(out, 0);
    EXPECT_EQ(ReadString(out, static_cast<int>(StreamSize(out))), "A=\xE9\r\n\r\n");
    EXPECT_FALSE(WriteLine(nullptr, "x"));
    EXPECT_EQ(ReadLine(nullptr), "");
}

TEST(Stream, OpenModes) {
    TempDir tmp;
    EXPECT_EQ(OpenFile(tmp / "missing.ini", true, true), nullptr);
    EXPECT_EQ(ReadFile(tmp / "missing.ini"), nullptr);
    EXPECT_EQ(ReadFile(tmp.path()), nullptr);  // a folder is not a file
    EXPECT_EQ(WriteFile(tmp.path()), nullptr);
    EXPECT_EQ(WriteFile(tmp / "no/such/folder/x"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(tmp / "missing.ini"));

    tmp.Put("a.ini", "ABCDEFGH");
    // Read-write keeps the content and lets reads and writes alternate.
    auto rw = OpenFile(tmp / "A.INI", true, true);
    ASSERT_TRUE(rw);
    EXPECT_EQ(StreamSize(rw), 8);
    EXPECT_EQ(ReadString(rw, 2), "AB");
    WriteString(rw, "xy");
    EXPECT_EQ(ReadString(rw, 2), "EF");
    SeekStream(rw, 100);  // clamped
    EXPECT_EQ(StreamPos(rw), 8);
    WriteString(rw, "IJ");
    EXPECT_EQ(StreamSize(rw), 10);
    EXPECT_TRUE(CloseFile(rw));
    EXPECT_EQ(Slurp(tmp / "a.ini"), "ABxyEFGHIJ");

    auto w = WriteFile(tmp / "a.ini");  // truncates
    ASSERT_TRUE(w);
    WriteString(w, "z");
    EXPECT_TRUE(CloseFile(w));
    EXPECT_EQ(Slurp(tmp / "a.ini"), "z");

    auto le = ReadStream("littleendian::" + (tmp / "A.ini"));
    ASSERT_TRUE(le);
    EXPECT_EQ(LittleEndianStream(le), le);
    EXPECT_EQ(ReadByte(le), 'z');
    EXPECT_FALSE(CloseStream(nullptr));
}

TEST(Stream, BankStreamWritesIntoTheBank) {
    auto bank = CreateBank(2);
    auto s = CreateBankStream(bank);
    ASSERT_TRUE(s);
    WriteInt(s, 0x0A0B0C0D);
    EXPECT_EQ(bank->Size(), 4);
    EXPECT_EQ(bank->Buf()[0], 0x0D);
    SeekStream(s, -5);
    EXPECT_EQ(StreamPos(s), 0);
    EXPECT_EQ(ReadInt(s), 0x0A0B0C0D);
    EXPECT_EQ(CreateBankStream(nullptr), nullptr);
}

TEST(Stream, WholeFilesAndTextEncodings) {
    TempDir tmp;
    bool ok = true;
    EXPECT_TRUE(LoadByteArray(tmp / "none", &ok).empty());
    EXPECT_FALSE(ok);
    tmp.Put("empty", "");
    LoadByteArray(tmp / "empty", &ok);
    EXPECT_TRUE(ok);

    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"plain", "caf\xE9\n", "caf\xE9\n"},
        {"utf8", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 ?"},
        {"utf16le", std::string("\xFF\xFE" "A\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE" "B\0", 14), "A\xE9??B"},
        {"utf16be", std::string("\xFE\xFF\0A\0\xE9", 6), "A\xE9"},
        {"utf16odd", std::string("\xFF\xFE" "A\0B", 5), "A"},
    };
    for (const auto& c : cases) {
        tmp.Put(c.name, c.bytes);
        EXPECT_EQ(LoadText(tmp / c.name, &ok), c.text) << c.name;
        EXPECT_TRUE(ok);
    }
    EXPECT_EQ(LoadText(tmp / "none", &ok), "");
    EXPECT_FALSE(ok);
}

TEST(AtomicSave, ReplacesTheFileAndLeavesNoTemporaries) {
    TempDir tmp;
    tmp.Put("Save/velmarok.dat", "old");
    chmod((tmp / "Save/velmarok.dat").c_str(), 0640);
    EXPECT_TRUE(SaveBytesAtomic(tmp / "save/VELMAROK.dat", Bytes("new content")));
    EXPECT_EQ(Slurp(tmp / "Save/velmarok.dat"), "new content");
    EXPECT_EQ(Names(tmp / "Save"), (std::vector<std::string>{"velmarok.dat"}));
    struct stat st;
    ASSERT_EQ(stat((tmp / "Save/velmarok.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the permissions the file had

    EXPECT_TRUE(SaveTextAtomic(tmp / "Save/new.ini", "A=1\r\n"));
    EXPECT_EQ(Slurp(tmp / "Save/new.ini"), "A=1\r\n");
    EXPECT_TRUE(SaveText(tmp / "Save/new.ini", ""));
    EXPECT_EQ(Slurp(tmp / "Save/new.ini"), "");
    EXPECT_FALSE(SaveBytesAtomic(tmp / "Missing/x.dat", Bytes("x")));
    EXPECT_FALSE(SaveBytesAtomic(tmp / "Save", Bytes("x")));  // a folder
}

TEST(AtomicSave, StreamCommitsOnlyWhenAsked) {
    TempDir tmp;
    tmp.Put("scores.dat", "good");
    {
        auto s = WriteStreamAtomic(tmp / "scores.dat");
        ASSERT_TRUE(s);
        WriteString(s, "half-writ");
        // Dropped without a commit (an error on the way): the old file stays.
    }
    EXPECT_EQ(Slurp(tmp / "scores.dat"), "good");
    EXPECT_EQ(Names(tmp.path()), (std::vector<std::string>{"scores.dat"}));

    auto s = WriteStreamAtomic(tmp / "scores.dat");
    ASSERT_TRUE(s);
    WriteLine(s, "line");
    EXPECT_EQ(Slurp(tmp / "scores.dat"), "good");  // nothing visible before the commit
    EXPECT_TRUE(CloseStream(s));                   // closing commits
    EXPECT_EQ(Slurp(tmp / "scores.dat"), "line\r\n");
    EXPECT_TRUE(CommitStream(s));  // once done, asking again changes nothing
    EXPECT_EQ(s->Write("x", 1), 0);
    EXPECT_EQ(Names(tmp.path()), (std::vector<std::string>{"scores.dat"}));
}

TEST(AtomicSave, FailedWriteKeepsTheOldFile) {
    TempDir tmp;
    tmp.Put("velmarok.ini", "KEEP=1\r\n");
    // The file-size limit makes writes past 4 KiB fail as a full disk would.
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = SaveBytesAtomic(tmp / "velmarok.ini", std::vector<std::uint8_t>(100000, 'x'));
    auto s = WriteStreamAtomic(tmp / "velmarok.ini");
    std::string big(100000, 'y');
    bool lineOk = s && WriteLine(s, big);
    bool committed = s && CommitStream(s);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(lineOk);
    EXPECT_FALSE(committed);
    EXPECT_EQ(Slurp(tmp / "velmarok.ini"), "KEEP=1\r\n");
    EXPECT_EQ(Names(tmp.path()), (std::vector<std::string>{"velmarok.ini"}));
}

TEST(AtomicSave, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempDir tmp;
    tmp.Put("ro/velmarok.ini", "KEEP=1\r\n");
    chmod((tmp / "ro").c_str(), 0555);
    EXPECT_EQ(WriteStreamAtomic(tmp / "ro/velmarok.ini"), nullptr);
    EXPECT_FALSE(SaveTextAtomic(tmp / "ro/velmarok.ini", "LOST=1\r\n"));
    EXPECT_FALSE(CopyFile(tmp / "ro/velmarok.ini", tmp / "ro/copy.ini"));
    chmod((tmp / "ro").c_str(), 0755);
    EXPECT_EQ(Slurp(tmp / "ro/velmarok.ini"), "KEEP=1\r\n");
    EXPECT_EQ(Names(tmp / "ro"), (std::vector<std::string>{"velmarok.ini"}));
}
