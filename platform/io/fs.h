#pragma once
// Files and folders.  The data spells the same folder with different
// capitals ("Data/graphics", "Data/Graphics") and with "\" separators, so
// every path is resolved first: the exact path when it exists, otherwise each
// component is matched case-insensitively against what is on disk.

#include <string>
#include <vector>

#include "platform/core/object.h"

namespace plat {

// The path as it exists on disk; for a missing file, the longest existing
// prefix resolved and the rest as given (so a new file lands in the existing
// folder, whatever its capitals).  "\" becomes "/".
std::string ResolvePath(const std::string& path);

enum FileKind { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };
int FileType(const std::string& path);
inline bool FileExists(const std::string& path) { return FileType(path) != FILETYPE_NONE; }
long long FileSize(const std::string& path);  // -1 when missing
long long FileTime(const std::string& path);  // seconds since 1970, 0 when missing

bool CreateDir(const std::string& path, bool recurse = false);
bool DeleteDir(const std::string& path, bool recurse = false);
bool CreateFile(const std::string& path);  // empty file (truncates)
bool CopyFile(const std::string& src, const std::string& dst);  // atomic at dst
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Makes `copy` (replaced when it exists) hold what `path` holds now, without
// reading it when the folder allows a second name for the same file: the
// program replaces its files by renaming a new one into place, which leaves
// the copy on the old bytes.  False when no copy could be made.
bool KeepCopy(const std::string& path, const std::string& copy);

// Folder listing; the entries include "." and "..".
class TDir : public Object {
public:
    std::vector<std::string> entries;
    std::size_t next = 0;
};
Ref<TDir> ReadDir(const std::string& path);  // nullptr when unreadable
std::string NextFile(const Ref<TDir>& dir);  // "" after the last entry
void CloseDir(const Ref<TDir>& dir);
std::vector<std::string> LoadDir(const std::string& path, bool skipDots = true);

// The program file and its folder (no trailing slash); ChangeDir makes a
// folder current.
std::string AppFile();
std::string AppDir();
std::string CurrentDir();
bool ChangeDir(const std::string& path);

// Path pieces, forward slashes.
std::string ExtractExt(const std::string& path);  // "png" (no dot), "" when none
std::string StripExt(const std::string& path);    // path without ".ext"
std::string StripDir(const std::string& path);    // file name with its extension
std::string StripAll(const std::string& path);    // file name without extension
std::string ExtractDir(const std::string& path);  // folder, no trailing slash
std::string StripSlash(const std::string& path);

// The per-user data folder: $XDG_DATA_HOME, else ~/.local/share, with a
// trailing "/".  Tests point XDG_DATA_HOME at a temporary folder.
std::string UserDataFolder();
// $XDG_RUNTIME_DIR, else /tmp, with a trailing "/".
std::string RuntimeFolder();
// The temporary folder: $TMPDIR, else /tmp, with a trailing "/".
std::string TempFolder();

// Holds a per-user single-instance lock (flock on files in the per-user
// places below); released when the process ends, even by a crash.  A child
// process never holds it: a fork closes the child's copy of the lock at
// once, so a child that outlives the program (a message box) cannot keep
// the next start out.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    // Returns false when another process holds the lock for `name` in any
    // of its places: $XDG_RUNTIME_DIR, a file of this user's in the
    // temporary folder, and the per-user data folder.  Every place that can
    // hold a lock is taken, so two copies started with different
    // environments (one with a runtime folder, one without) still meet in
    // one of them.  Only when none of them can hold a lock is the answer
    // true without a lock (Held() stays false).
    bool Acquire(const std::string& name);
    void Release();
    bool Held() const;
    ~SingleInstanceLock() { Release(); }

private:
    std::vector<int> fds_;  // one for each place held
    int owner_ = 0;         // the process that took them
};

}  // namespace plat
