#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "platform/io/fs.h"
#include "platform/io/stream.h"
#include "test_io_tempdir.h"

using namespace plat;
using testutil::ScopedEnv;
using testutil::Slurp;
using testutil::TempDir;

namespace {

class Paths : public ::testing::Test {
protected:
    void SetUp() override {
        tmp.Put("Data/Graphics/superdax.png", "png");
        tmp.Put("Data/Music/Nova.sid", "sid");
        tmp.Put("data/Default.ini", "ini");
        tmp.Put("Data/inichanged.dat", "");
    }
    std::string At(const std::string& rel) const { return tmp / rel; }
    TempDir tmp;
};

}  // namespace

TEST_F(Paths, ResolvesEachComponentIgnoringCase) {
    struct Case {
        const char* asked;
        const char* found;
    } cases[] = {
        {"Data/Graphics/superdax.png", "Data/Graphics/superdax.png"},  // exact
        {"Data/graphics/superdax.png", "Data/Graphics/superdax.png"},
        {"DATA/GRAPHICS/SUPERDAX.PNG", "Data/Graphics/superdax.png"},
        {"Data\\graphics\\SuperDax.png", "Data/Graphics/superdax.png"},
        {"Data/music/nova.SID", "Data/Music/Nova.sid"},
        {"Data/graphics/", "Data/Graphics/"},                  // the trailing slash stays
        {"Data//Graphics/./superdax.png", "Data//Graphics/./superdax.png"},  // exists as written
        // Something new in an existing folder lands in that folder.
        {"data/graphics/new.png", "Data/Graphics/new.png"},
        {"DATA/Missing/Sub/x.txt", "Data/Missing/Sub/x.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolvePath(At(c.asked)), At(c.found)) << c.asked;
    // Both "Data" and "data" exist: each file is found in the folder that has it.
    EXPECT_EQ(ResolvePath(At("Data/Default.ini")), At("data/Default.ini"));
    EXPECT_EQ(ResolvePath(At("DATA/inichanged.dat")), At("Data/inichanged.dat"));
    EXPECT_EQ(ResolvePath(At("data/inichanged.dat")), At("Data/inichanged.dat"));
    EXPECT_EQ(ResolvePath(""), "");
}

TEST_F(Paths, RelativePathsResolveFromTheCurrentFolder) {
    std::string old = CurrentDir();
    ASSERT_TRUE(ChangeDir(tmp.path()));
    EXPECT_EQ(ResolvePath("data/GRAPHICS/superdax.png"), "Data/Graphics/superdax.png");
    EXPECT_EQ(FileType("DATA\\music"), FILETYPE_DIR);
    EXPECT_EQ(LoadByteArray("data/music/NOVA.sid").size(), 3u);
    ASSERT_TRUE(ChangeDir(old));
}

TEST_F(Paths, EveryFileOperationGoesThroughTheResolver) {
    EXPECT_EQ(FileType(At("data/graphics/SUPERDAX.png")), FILETYPE_FILE);
    EXPECT_EQ(FileType(At("DATA/GRAPHICS")), FILETYPE_DIR);
    EXPECT_EQ(FileType(At("data/graphics/none.png")), FILETYPE_NONE);
    EXPECT_TRUE(FileExists(At("DATA/music/nova.sid")));
    EXPECT_EQ(FileSize(At("data/music/nova.sid")), 3);
    EXPECT_EQ(FileSize(At("nothing")), -1);
    EXPECT_GT(FileTime(At("data/music/nova.sid")), 0);

    // Writing a new file by another spelling creates no second folder.
    auto s = WriteFile(At("DATA/GRAPHICS/Extra.txt"));
    ASSERT_TRUE(s);
    WriteLine(s, "x");
    EXPECT_TRUE(CloseFile(s));
    EXPECT_EQ(Slurp(At("Data/Graphics/Extra.txt")), "x\r\n");
    EXPECT_FALSE(std::filesystem::exists(At("DATA")));

    EXPECT_TRUE(CopyFile(At("DATA/default.INI"), At("data/graphics/copy.ini")));
    EXPECT_EQ(Slurp(At("Data/Graphics/copy.ini")), "ini");
    EXPECT_TRUE(RenameFile(At("data/GRAPHICS/copy.ini"), At("data/graphics/moved.ini")));
    EXPECT_EQ(Slurp(At("Data/Graphics/moved.ini")), "ini");
    EXPECT_TRUE(DeleteFile(At("DATA/graphics/MOVED.ini")));
    EXPECT_FALSE(std::filesystem::exists(At("Data/Graphics/moved.ini")));
    EXPECT_FALSE(DeleteFile(At("Data/Graphics")));  // not a file
    EXPECT_TRUE(CreateFile(At("data/GRAPHICS/marker.dat")));
    EXPECT_EQ(FileSize(At("Data/Graphics/marker.dat")), 0);
    EXPECT_FALSE(CopyFile(At("missing.ini"), At("Data/x.ini")));
    EXPECT_FALSE(std::filesystem::exists(At("Data/x.ini")));
}

TEST_F(Paths, CreateDirWithAndWithoutParents) {
    EXPECT_FALSE(CreateDir(At("Saves/Profiles")));  // parent missing, no recursion
    EXPECT_TRUE(CreateDir(At("saves/Profiles/Bob"), true));
    EXPECT_TRUE(std::filesystem::is_directory(At("saves/Profiles/Bob")));
    EXPECT_TRUE(CreateDir(At("DATA/Profiles")));  // inside the existing "Data"
    EXPECT_TRUE(std::filesystem::is_directory(At("Data/Profiles")));
    EXPECT_TRUE(CreateDir(At("data/profiles")));  // already there
    EXPECT_TRUE(CreateDir(At("Data/graphics/deep/er/"), true));
    EXPECT_TRUE(std::filesystem::is_directory(At("Data/Graphics/deep/er")));
    EXPECT_FALSE(CreateDir(At("Data/Graphics/superdax.png/sub"), true));  // a file is in the way
    EXPECT_FALSE(DeleteDir(At("Data/Graphics/deep")));  // not empty
    EXPECT_TRUE(DeleteDir(At("data/graphics/DEEP"), true));
    EXPECT_FALSE(std::filesystem::exists(At("Data/Graphics/deep")));
}

TEST_F(Paths, ReadDirListsDotsFirstThenSortedNames) {
    tmp.Put("Data/Graphics/b.png", "");
    tmp.Put("Data/Graphics/A.png", "");
    auto dir = ReadDir(At("data/graphics"));
    ASSERT_TRUE(dir);
    std::vector<std::string> seen;
    for (std::string e = NextFile(dir); !e.empty(); e = NextFile(dir)) seen.push_back(e);
    EXPECT_EQ(seen, (std::vector<std::string>{".", "..", "A.png", "b.png", "superdax.png"}));
    CloseDir(dir);
    EXPECT_EQ(NextFile(dir), "");
    EXPECT_EQ(LoadDir(At("DATA/graphics")), (std::vector<std::string>{"A.png", "b.png", "superdax.png"}));
    EXPECT_EQ(ReadDir(At("no/such/folder")), nullptr);
    EXPECT_EQ(ReadDir(At("Data/Graphics/superdax.png")), nullptr);
    EXPECT_EQ(NextFile(nullptr), "");
}

TEST(PathPieces, SplitFileNames) {
    struct Case {
        const char *path, *ext, *noExt, *file, *all, *dir;
    } cases[] = {
        {"Data/Graphics/titulo.png", "png", "Data/Graphics/titulo", "titulo.png", "titulo", "Data/Graphics"},
        {"velmarok", "", "velmarok", "velmarok", "velmarok", ""},
        {"a.b/c", "", "a.b/c", "c", "c", "a.b"},
        {"/usr/bin/game.tar.gz", "gz", "/usr/bin/game.tar", "game.tar.gz", "game.tar", "/usr/bin"},
        {"/file.txt", "txt", "/file", "file.txt", "file", "/"},
        {"dir\\name.ini", "ini", "dir\\name", "name.ini", "name", "dir"},
        {"folder/", "", "folder/", "", "", "folder"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractExt(c.path), c.ext) << c.path;
        EXPECT_EQ(StripExt(c.path), c.noExt) << c.path;
        EXPECT_EQ(StripDir(c.path), c.file) << c.path;
        EXPECT_EQ(StripAll(c.path), c.all) << c.path;
        EXPECT_EQ(ExtractDir(c.path), c.dir) << c.path;
    }
    EXPECT_EQ(StripSlash("a/b//"), "a/b");
    EXPECT_EQ(StripSlash("/"), "/");
}

TEST(Folders, DataHomeAndRuntimeFolderFollowTheEnvironment) {
    {
        ScopedEnv data("XDG_DATA_HOME", "/tmp/velmarok-xdg");
        ScopedEnv run("XDG_RUNTIME_DIR", "/tmp/velmarok-run/");
        EXPECT_EQ(UserDataFolder(), "/tmp/velmarok-xdg/");
        EXPECT_EQ(RuntimeFolder(), "/tmp/velmarok-run/");
    }
    {
        ScopedEnv home("HOME", "/home/someone");
        ScopedEnv data("XDG_DATA_HOME", nullptr);
        ScopedEnv run("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share/");
        EXPECT_EQ(RuntimeFolder(), "/tmp/");
    }
    {
        // A relative or empty setting is not a folder and is ignored.
        ScopedEnv home("HOME", "/home/someone");
        ScopedEnv data("XDG_DATA_HOME", "relative/share");
        ScopedEnv run("XDG_RUNTIME_DIR", "");
        EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share/");
        EXPECT_EQ(RuntimeFolder(), "/tmp/");
    }
}

TEST(Folders, AppFileIsThisProgram) {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
    ASSERT_GT(n, 0);
    EXPECT_EQ(AppFile(), std::string(buf, static_cast<std::size_t>(n)));
    EXPECT_EQ(AppDir(), std::filesystem::path(AppFile()).parent_path().string());
    EXPECT_EQ(StripAll(AppFile()), "platform_core_tests");
}
