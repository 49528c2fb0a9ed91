#include "platform/io/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/io/stream.h"

namespace plat {

namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        // Only ASCII letters fold: names on disk are UTF-8, whose other bytes
        // must match exactly.
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// The entries of `dir` whose names equal `name` ignoring case, in byte
// order, so the answer never depends on the order on disk.
std::vector<std::string> MatchesIgnoringCase(const std::string& dir, const std::string& name) {
    std::vector<std::string> found;
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return found;
    while (dirent* e = readdir(d)) {
        std::string entry = e->d_name;
        if (entry != name && SameIgnoringCase(entry, name)) found.push_back(entry);
    }
    closedir(d);
    std::sort(found.begin(), found.end());
    return found;
}

// Depth first over the spellings on disk, the exact one first at each level:
// "Data/music/x" finds "Data/Music/x" even when an empty "Data/music" exists.
// Remembers the deepest folder reached, for paths that do not exist yet.
struct Search {
    const std::vector<std::string>& parts;
    std::string deepest;
    std::size_t depth = 0;

    bool From(const std::string& done, std::size_t i, std::string& out) {
        if (i > depth) {
            depth = i;
            deepest = done;
        }
        if (i == parts.size()) {
            out = done;
            return true;
        }
        const std::string& part = parts[i];
        std::string exact = Join(done, part);
        bool dots = part == "." || part == "..";
        if ((dots || Exists(exact)) && From(exact, i + 1, out)) return true;
        if (dots) return false;
        for (const std::string& m : MatchesIgnoringCase(done, part))
            if (From(Join(done, m), i + 1, out)) return true;
        return false;
    }
};

std::string Slashes(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

bool StatPath(const std::string& path, struct stat& st) {
    return stat(ResolvePath(path).c_str(), &st) == 0;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
    std::string p = Slashes(path);
    if (p.empty() || Exists(p)) return p;

    bool absolute = p.front() == '/';
    bool trailing = p.back() == '/';
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= p.size()) {
        std::size_t slash = p.find('/', pos);
        if (slash == std::string::npos) slash = p.size();
        if (slash > pos) parts.push_back(p.substr(pos, slash - pos));
        pos = slash + 1;
    }

    std::string root = absolute ? "/" : "";
    std::string done;
    Search search{parts, root, 0};
    if (!search.From(root, 0, done)) {
        // Nothing complete on disk: the deepest folder found, then the rest
        // as it was written, so a new file lands in the folder that is there
        // whatever its capitals.
        done = search.deepest;
        for (std::size_t j = search.depth; j < parts.size(); ++j) done = Join(done, parts[j]);
    }
    if (trailing && (done.empty() || done.back() != '/')) done += '/';
    return done;
}

int FileType(const std::string& path) {
    struct stat st;
    if (path.empty() || !StatPath(path, st)) return FILETYPE_NONE;
    return S_ISDIR(st.st_mode) ? FILETYPE_DIR : FILETYPE_FILE;
}

long long FileSize(const std::string& path) {
    struct stat st;
    if (path.empty() || !StatPath(path, st)) return -1;
    return static_cast<long long>(st.st_size);
}

long long FileTime(const std::string& path) {
    struct stat st;
    if (path.empty() || !StatPath(path, st)) return 0;
    return static_cast<long long>(st.st_mtime);
}

bool CreateDir(const std::string& path, bool recurse) {
    std::string p = StripSlash(ResolvePath(path));
    if (p.empty()) return false;
    if (!recurse) {
        if (mkdir(p.c_str(), 0777) == 0) return true;
        return FileType(p) == FILETYPE_DIR;
    }
    // Each missing folder from the top down.
    for (std::size_t slash = p.find('/', 1);; slash = p.find('/', slash + 1)) {
        std::string part = p.substr(0, slash);
        struct stat st;
        if (stat(part.c_str(), &st) != 0) {
            if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        } else if (!S_ISDIR(st.st_mode)) {
            return false;
        }
        if (slash == std::string::npos) break;
    }
    return FileType(p) == FILETYPE_DIR;
}

bool DeleteDir(const std::string& path, bool recurse) {
    std::string p = StripSlash(ResolvePath(path));
    if (p.empty() || FileType(p) != FILETYPE_DIR) return false;
    if (recurse) {
        std::error_code ec;
        std::filesystem::remove_all(p, ec);  // does not follow links out of the folder
        return !ec && !Exists(p);
    }
    return rmdir(p.c_str()) == 0;
}

bool CreateFile(const std::string& path) {
    std::string p = ResolvePath(path);
    if (p.empty()) return false;
    int fd = open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    return close(fd) == 0;
}

bool CopyFile(const std::string& src, const std::string& dst) {
    Ref<TStream> in = ReadStream(src);
    if (!in) return false;
    Ref<TStream> out = WriteStreamAtomic(dst);
    if (!out) return false;
    std::vector<std::uint8_t> buf(65536);
    for (;;) {
        int got = in->Read(buf.data(), static_cast<int>(buf.size()));
        if (got <= 0) break;
        if (out->Write(buf.data(), got) != got) return false;  // dropped: the target stays as it was
    }
    return CommitStream(out);
}

bool DeleteFile(const std::string& path) {
    std::string p = ResolvePath(path);
    if (p.empty() || FileType(p) == FILETYPE_DIR) return false;
    unlink(p.c_str());
    return !Exists(p);
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::string a = ResolvePath(from), b = ResolvePath(to);
    if (a.empty() || b.empty()) return false;
    return rename(a.c_str(), b.c_str()) == 0;
}

bool KeepCopy(const std::string& path, const std::string& copy) {
    const std::string a = ResolvePath(path), b = ResolvePath(copy);
    struct stat st;
    if (a.empty() || b.empty() || stat(a.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The link is made under a temporary name first, so an older copy is
    // only replaced by a complete one.
    const std::string temp = TempFileBeside(b);
    if (link(a.c_str(), temp.c_str()) == 0) {
        if (rename(temp.c_str(), b.c_str()) == 0) return true;
        unlink(temp.c_str());
    }
    return CopyFile(a, b);
}

Ref<TDir> ReadDir(const std::string& path) {
    std::string p = ResolvePath(path);
    DIR* d = opendir(p.empty() ? "." : p.c_str());
    if (!d) return nullptr;
    auto dir = New<TDir>();
    bool dot = false, dotdot = false;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == ".") dot = true;
        else if (name == "..") dotdot = true;
        else dir->entries.push_back(name);
    }
    closedir(d);
    std::sort(dir->entries.begin(), dir->entries.end());
    // "." and ".." first, as callers expect to skip them.
    std::vector<std::string> dots;
    if (dot) dots.push_back(".");
    if (dotdot) dots.push_back("..");
    dir->entries.insert(dir->entries.begin(), dots.begin(), dots.end());
    return dir;
}

std::string NextFile(const Ref<TDir>& dir) {
    if (!dir || dir->next >= dir->entries.size()) return {};
    return dir->entries[dir->next++];
}

void CloseDir(const Ref<TDir>& dir) {
    if (!dir) return;
    dir->entries.clear();
    dir->next = 0;
}

std::vector<std::string> LoadDir(const std::string& path, bool skipDots) {
    Ref<TDir> dir = ReadDir(path);
    if (!dir) return {};
    std::vector<std::string> out;
    for (auto& e : dir->entries)
        if (!skipDots || (e != "." && e != "..")) out.push_back(e);
    return out;
}

std::string AppFile() {
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<std::size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string AppDir() { return ExtractDir(AppFile()); }

std::string CurrentDir() {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string() : p.string();
}

bool ChangeDir(const std::string& path) {
    std::string p = ResolvePath(path);
    return !p.empty() && chdir(p.c_str()) == 0;
}

// --- path pieces ---------------------------------------------------------------

namespace {

std::size_t LastSlash(const std::string& p) { return p.find_last_of("/\\"); }

// Position of the extension's dot, or npos when the file name has none.
std::size_t ExtDot(const std::string& p) {
    std::size_t dot = p.rfind('.');
    if (dot == std::string::npos) return dot;
    std::size_t slash = LastSlash(p);
    if (slash != std::string::npos && slash > dot) return std::string::npos;
    return dot;
}

}  // namespace

std::string ExtractExt(const std::string& path) {
    std::size_t dot = ExtDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string StripExt(const std::string& path) {
    std::size_t dot = ExtDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string StripDir(const std::string& path) {
    std::size_t slash = LastSlash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StripAll(const std::string& path) { return StripExt(StripDir(path)); }

std::string ExtractDir(const std::string& path) {
    std::string p = Slashes(path);
    std::size_t slash = p.rfind('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string StripSlash(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
    return p;
}

// --- per-user folders ----------------------------------------------------------------

namespace {

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (passwd* pw = getpwuid(getuid())) {
        if (pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    }
    return "/tmp";
}

// An environment folder counts only when it is an absolute path (a relative
// one would depend on the current folder, which the program changes).
const char* AbsoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    return (v && v[0] == '/') ? v : nullptr;
}

}  // namespace

std::string UserDataFolder() {
    if (const char* v = AbsoluteEnv("XDG_DATA_HOME")) return WithSlash(v);
    return WithSlash(HomeFolder()) + ".local/share/";
}

std::string RuntimeFolder() {
    if (const char* v = AbsoluteEnv("XDG_RUNTIME_DIR")) return WithSlash(v);
    return "/tmp/";
}

std::string TempFolder() {
    if (const char* v = AbsoluteEnv("TMPDIR")) return WithSlash(v);
    return "/tmp/";
}

namespace {

// The descriptors of the locks this process holds, for the fork handler
// (which may only do what is safe between fork and exec: close).
constexpr int kMaxLocks = 8;
int heldLocks[kMaxLocks] = {-1, -1, -1, -1, -1, -1, -1, -1};

void CloseLocksInChild() {
    for (int& fd : heldLocks) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void RememberLock(int fd, bool held) {
    static const bool registered = pthread_atfork(nullptr, nullptr, &CloseLocksInChild) == 0;
    (void)registered;
    for (int& slot : heldLocks) {
        if (held && slot < 0) {
            slot = fd;
            return;
        }
        if (!held && slot == fd) {
            slot = -1;
            return;
        }
    }
}

}  // namespace

namespace {

// A lock file opened for flock, -1 when it cannot be had; `own` also asks
// that the file belongs to this user (in a folder every user can write to,
// another user's file would keep us out).
int OpenLockFile(const std::string& file, bool own) {
    int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    struct stat st;
    if (own && (fstat(fd, &st) != 0 || st.st_uid != geteuid())) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool SingleInstanceLock::Acquire(const std::string& name) {
    if (!fds_.empty() && owner_ != getpid()) fds_.clear();  // copies in a child, closed by the fork
    if (!fds_.empty()) return true;
    // Every place that can hold a lock, always in this order: a copy without
    // a runtime folder (an environment inherited across su, say) and one
    // with it meet in the temporary folder and in the data folder, and of
    // two copies starting at once the one that gets a shared place first
    // gets every later one.  Only when none of them can hold a lock does the
    // program run without one.
    struct Place {
        std::string file;
        bool own;
    };
    std::vector<Place> places;
    if (AbsoluteEnv("XDG_RUNTIME_DIR")) places.push_back({RuntimeFolder() + name + ".lock", false});
    // The temporary folder may be shared by all users.
    places.push_back({TempFolder() + name + "-" + std::to_string(getuid()) + ".lock", true});
    places.push_back({UserDataFolder() + name + ".lock", false});
    std::vector<int> taken;
    std::vector<std::pair<dev_t, ino_t>> files;  // two places may name one file
    auto giveBack = [&taken] {
        for (int fd : taken) {
            RememberLock(fd, false);
            flock(fd, LOCK_UN);
            close(fd);
        }
    };
    for (const Place& place : places) {
        const int fd = OpenLockFile(place.file, place.own);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) != 0 ||
            std::find(files.begin(), files.end(), std::make_pair(st.st_dev, st.st_ino)) != files.end()) {
            close(fd);
            continue;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            close(fd);
            if (err != EWOULDBLOCK) continue;
            giveBack();
            return false;
        }
        taken.push_back(fd);
        files.emplace_back(st.st_dev, st.st_ino);
        RememberLock(fd, true);
    }
    fds_ = taken;
    owner_ = getpid();
    return true;
}

bool SingleInstanceLock::Held() const { return !fds_.empty() && owner_ == getpid(); }

void SingleInstanceLock::Release() {
    // In a child the descriptors were closed by the fork (their numbers may
    // name other files now); only the owner unlocks.
    if (owner_ == getpid()) {
        for (int fd : fds_) {
            RememberLock(fd, false);
            flock(fd, LOCK_UN);
            close(fd);
        }
    }
    fds_.clear();
}

}  // namespace plat
