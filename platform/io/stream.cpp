#include "platform/io/stream.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/core/error.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"

namespace plat {

// --- TStream ---------------------------------------------------------------------

void TStream::ReadExact(void* buf, int n) {
    auto* p = static_cast<std::uint8_t*>(buf);
    while (n > 0) {
        int got = Read(p, n);
        if (got <= 0) throw ReadError();
        p += got;
        n -= got;
    }
}

void TStream::WriteExact(const void* buf, int n) {
    const auto* p = static_cast<const std::uint8_t*>(buf);
    while (n > 0) {
        int put = Write(p, n);
        if (put <= 0) throw WriteError();
        p += put;
        n -= put;
    }
}

namespace {

// --- file streams ------------------------------------------------------------------

class FileStream : public TStream {
public:
    FileStream(std::FILE* f, bool canRead, bool canWrite) : f_(f), canRead_(canRead), canWrite_(canWrite) {
        // A stream only read keeps its size: nothing of ours can change it.
        if (!canWrite_) size_ = StatSize();
    }
    ~FileStream() override {
        if (f_) std::fclose(f_);
    }
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int Read(void* buf, int n) override {
        if (!f_ || !canRead_ || n <= 0) return 0;
        Switch(Op::Read);
        return static_cast<int>(std::fread(buf, 1, static_cast<std::size_t>(n), f_));
    }

    int Write(const void* buf, int n) override {
        if (!f_ || !canWrite_ || n <= 0) return 0;
        Switch(Op::Write);
        std::size_t put = std::fwrite(buf, 1, static_cast<std::size_t>(n), f_);
        if (put < static_cast<std::size_t>(n)) Fail();
        return static_cast<int>(put);
    }

    bool Eof() override { return !f_ || Pos() >= Size(); }

    long long Pos() override { return f_ ? static_cast<long long>(ftello(f_)) : 0; }

    long long Seek(long long pos) override {
        if (!f_) return 0;
        long long size = Size();
        if (pos < 0) pos = 0;
        if (pos > size) pos = size;
        fseeko(f_, static_cast<off_t>(pos), SEEK_SET);
        last_ = Op::None;
        return Pos();
    }

    long long Size() override {
        if (!f_) return 0;
        if (!canWrite_) return size_;
        if (last_ == Op::Write && std::fflush(f_) != 0) Fail();
        return StatSize();
    }

    bool Flush() override {
        if (!f_) return !failed_;
        if (canWrite_ && std::fflush(f_) != 0) Fail();
        return !failed_;
    }

    bool Close() override {
        if (!f_) return !failed_;
        if (canWrite_ && std::fflush(f_) != 0) Fail();
        if (std::fclose(f_) != 0 && canWrite_) Fail();
        f_ = nullptr;
        return !failed_;
    }

    bool Failed() const override { return failed_; }
    int ErrorCode() const override { return error_; }

protected:
    enum class Op { None, Read, Write };

    // C streams need a seek or flush between reading and writing.
    void Switch(Op op) {
        if (last_ != Op::None && last_ != op) std::fseek(f_, 0, SEEK_CUR);
        last_ = op;
    }

    // Marks the stream failed, keeping the system's reason of the first failure.
    void Fail(int code = errno) {
        if (!failed_ && code != 0) error_ = code;
        failed_ = true;
    }

    long long StatSize() {
        struct stat st;
        if (fstat(fileno(f_), &st) != 0) return 0;
        return static_cast<long long>(st.st_size);
    }

    std::FILE* f_;
    bool canRead_, canWrite_;
    bool failed_ = false;
    int error_ = 0;
    long long size_ = 0;
    Op last_ = Op::None;
};

// Writes into a temporary file beside the target and renames it over the
// target once everything is on disk.
class AtomicFileStream : public FileStream {
public:
    AtomicFileStream(std::FILE* f, std::string temp, std::string target)
        : FileStream(f, false, true), temp_(std::move(temp)), target_(std::move(target)) {}
    ~AtomicFileStream() override {
        if (!done_) Abandon();
    }

    bool Close() override { return Commit(); }

    bool Commit() {
        if (done_) return committed_;
        done_ = true;
        if (!f_ || failed_ || std::fflush(f_) != 0 || fsync(fileno(f_)) != 0) {
            if (!failed_) Fail();
            Abandon();
            return false;
        }
        int rc = std::fclose(f_);
        f_ = nullptr;
        if (rc != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
            Fail();
            unlink(temp_.c_str());
            return false;
        }
        // The rename itself reaches the disk with the folder.
        std::string dir = ExtractDir(target_);
        int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            fsync(dfd);
            close(dfd);
        }
        committed_ = true;
        return true;
    }

private:
    void Abandon() {
        if (f_) std::fclose(f_);
        f_ = nullptr;
        Fail(0);
        done_ = true;
        unlink(temp_.c_str());
    }

    std::string temp_, target_;
    bool done_ = false, committed_ = false;
};

// --- memory and bank streams -----------------------------------------------------------

class BytesStream : public TStream {
public:
    int Read(void* buf, int n) override {
        auto& b = Bytes();
        if (n <= 0 || pos_ >= static_cast<long long>(b.size())) return 0;
        long long avail = static_cast<long long>(b.size()) - pos_;
        int got = static_cast<int>(avail < n ? avail : n);
        std::memcpy(buf, b.data() + pos_, static_cast<std::size_t>(got));
        pos_ += got;
        return got;
    }
    int Write(const void* buf, int n) override {
        if (n <= 0) return 0;
        auto& b = Bytes();
        std::size_t end = static_cast<std::size_t>(pos_) + static_cast<std::size_t>(n);
        if (end > b.size()) b.resize(end);
        std::memcpy(b.data() + pos_, buf, static_cast<std::size_t>(n));
        pos_ += n;
        return n;
    }
    bool Eof() override { return pos_ >= static_cast<long long>(Bytes().size()); }
    long long Pos() override { return pos_; }
    long long Seek(long long pos) override {
        long long size = static_cast<long long>(Bytes().size());
        pos_ = pos < 0 ? 0 : (pos > size ? size : pos);
        return pos_;
    }
    long long Size() override { return static_cast<long long>(Bytes().size()); }

protected:
    virtual std::vector<std::uint8_t>& Bytes() = 0;
    long long pos_ = 0;
};

class MemoryStream : public BytesStream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

protected:
    std::vector<std::uint8_t>& Bytes() override { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

class BankStream : public BytesStream {
public:
    explicit BankStream(Ref<TBank> bank) : bank_(std::move(bank)) {}

protected:
    std::vector<std::uint8_t>& Bytes() override { return bank_->Bytes(); }

private:
    Ref<TBank> bank_;
};

// --- opening ------------------------------------------------------------------------

std::string FilePath(const std::string& url) {
    static const std::string kPrefix = "littleendian::";
    std::string path = url.compare(0, kPrefix.size(), kPrefix) == 0 ? url.substr(kPrefix.size()) : url;
    return ResolvePath(path);
}

// The file a chain of symbolic links ends at (the path itself when it is no
// link), so that saving replaces that file and leaves the links in place.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40 && !path.empty(); ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) break;
        std::string next(buf.data(), static_cast<std::size_t>(n));
        if (next.front() != '/') {
            const std::string dir = ExtractDir(path);
            if (!dir.empty()) next = (dir == "/" ? dir : dir + "/") + next;
        }
        path = next;
    }
    return path;
}

Ref<TStream> OpenPath(const std::string& url, const char* mode, bool canRead, bool canWrite) {
    std::string path = FilePath(url);
    if (path.empty()) return nullptr;
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return nullptr;
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    return New<FileStream>(f, canRead, canWrite);
}

}  // namespace

Ref<TStream> ReadStream(const std::string& url) { return OpenPath(url, "rbe", true, false); }

Ref<TStream> WriteStream(const std::string& url) {
    if (FileType(FilePath(url)) == FILETYPE_DIR) return nullptr;
    return OpenPath(url, "wbe", false, true);
}

Ref<TStream> OpenStream(const std::string& url, bool read, bool write) {
    if (read && write) return OpenPath(url, "r+be", true, true);
    if (read) return ReadStream(url);
    if (write) return WriteStream(url);
    return nullptr;
}

bool CloseStream(const Ref<TStream>& s) { return s ? s->Close() : false; }

Ref<TStream> CreateMemoryStream(std::vector<std::uint8_t> bytes) { return New<MemoryStream>(std::move(bytes)); }

Ref<TStream> CreateBankStream(const Ref<TBank>& bank) {
    if (!bank) return nullptr;
    return New<BankStream>(bank);
}

Ref<TStream> LittleEndianStream(const Ref<TStream>& s) { return s; }

// --- atomic saving --------------------------------------------------------------------

std::string TempFileBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string dir = ExtractDir(target);
    // Hidden, and unique to this process and call.
    return (dir.empty() ? std::string() : (dir == "/" ? dir : dir + "/")) + "." + StripDir(target) + ".tmp" +
           std::to_string(getpid()) + "-" + std::to_string(counter++);
}

Ref<TStream> WriteStreamAtomic(const std::string& url) {
    std::string target = FollowLinks(FilePath(url));
    if (target.empty() || FileType(target) == FILETYPE_DIR) {
        errno = EISDIR;
        return nullptr;
    }
    struct stat old;
    bool hadOld = stat(target.c_str(), &old) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TempFileBeside(target);
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        // The replacement keeps the permissions the old file had.
        if (hadOld) fchmod(fd, old.st_mode & 07777);
        std::FILE* f = fdopen(fd, "wb");
        if (!f) {
            close(fd);
            unlink(temp.c_str());
            return nullptr;
        }
        return New<AtomicFileStream>(f, temp, target);
    }
    return nullptr;
}

bool CommitStream(const Ref<TStream>& s) {
    if (!s) return false;
    if (auto* atomic = dynamic_cast<AtomicFileStream*>(s.get())) return atomic->Commit();
    return s->Close();
}

bool SaveBytesAtomic(const std::string& url, const std::vector<std::uint8_t>& bytes, std::string* reason) {
    auto failed = [reason](int code) {
        if (reason) *reason = std::strerror(code != 0 ? code : EIO);
        return false;
    };
    Ref<TStream> s = WriteStreamAtomic(url);
    if (!s) return failed(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1 << 20);
        int put = s->Write(bytes.data() + done, static_cast<int>(chunk));
        if (put <= 0) return failed(s->ErrorCode());  // dropped uncommitted: the old file stays
        done += static_cast<std::size_t>(put);
    }
    if (!CommitStream(s)) return failed(s->ErrorCode());
    return true;
}

bool SaveTextAtomic(const std::string& url, const std::string& text, std::string* reason) {
    return SaveBytesAtomic(url, std::vector<std::uint8_t>(text.begin(), text.end()), reason);
}

namespace {

// The process id in a temporary file name of TempFileBeside ("." name ".tmp"
// pid "-" count), 0 when the name is not one.
long TempFileOwner(const std::string& entry) {
    if (entry.size() < 2 || entry[0] != '.') return 0;
    const std::size_t tmp = entry.rfind(".tmp");
    const std::size_t dash = entry.rfind('-');
    if (tmp == std::string::npos || tmp == 0 || dash == std::string::npos || dash < tmp + 5 ||
        dash + 1 == entry.size())
        return 0;
    const std::string pid = entry.substr(tmp + 4, dash - tmp - 4), count = entry.substr(dash + 1);
    auto digits = [](const std::string& t) { return t.find_first_not_of("0123456789") == std::string::npos; };
    if (!digits(pid) || !digits(count) || pid.size() > 9) return 0;
    return std::stol(pid);
}

}  // namespace

void RemoveStaleTempFiles(const std::string& folder) {
    const std::string dir = StripSlash(ResolvePath(folder));
    for (const std::string& entry : LoadDir(dir)) {
        const long pid = TempFileOwner(entry);
        if (pid <= 0 || pid == getpid()) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its writer may still run
        const std::string path = (dir == "/" ? dir : dir + "/") + entry;
        struct stat st;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path.c_str());
    }
}

UserFileRead ReadUserFile(const std::string& url, std::size_t limit) {
    UserFileRead result;
    const std::string path = FilePath(url);
    if (path.empty()) return result;
    // Non-blocking: opening a FIFO would otherwise wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return result;  // nothing there (or a dangling link)
        result.state = UserFileRead::UNREADABLE;
        result.reason = std::strerror(errno);
        return result;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.state = UserFileRead::UNREADABLE;
        result.reason = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
        close(fd);
        return result;
    }
    std::uint8_t buf[65536];
    for (;;) {
        const ssize_t got = read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result.state = UserFileRead::UNREADABLE;
            result.reason = std::strerror(errno);
            result.bytes.clear();
            close(fd);
            return result;
        }
        if (got == 0) break;
        const std::size_t room = limit - result.bytes.size();
        const std::size_t take = std::min<std::size_t>(room, static_cast<std::size_t>(got));
        result.bytes.insert(result.bytes.end(), buf, buf + take);
        if (take < static_cast<std::size_t>(got)) {
            result.larger = true;
            break;
        }
    }
    close(fd);
    result.state = UserFileRead::READ;
    return result;
}

bool SaveText(const std::string& url, const std::string& text) { return SaveTextAtomic(url, text); }

// --- values --------------------------------------------------------------------------

namespace {

template <class U>
U ReadLE(const Ref<TStream>& s) {
    if (!s) throw ReadError();
    std::uint8_t b[sizeof(U)];
    s->ReadExact(b, static_cast<int>(sizeof(U)));
    U v = 0;
    for (std::size_t i = sizeof(U); i-- > 0;) v = static_cast<U>((v << 8) | b[i]);
    return v;
}

template <class U>
void WriteLE(const Ref<TStream>& s, U v) {
    if (!s) throw WriteError();
    std::uint8_t b[sizeof(U)];
    for (std::size_t i = 0; i < sizeof(U); ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    s->WriteExact(b, static_cast<int>(sizeof(U)));
}

}  // namespace

int ReadByte(const Ref<TStream>& s) { return ReadLE<std::uint8_t>(s); }
int ReadShort(const Ref<TStream>& s) { return ReadLE<std::uint16_t>(s); }
int ReadInt(const Ref<TStream>& s) { return static_cast<std::int32_t>(ReadLE<std::uint32_t>(s)); }
long long ReadLong(const Ref<TStream>& s) { return static_cast<std::int64_t>(ReadLE<std::uint64_t>(s)); }
float ReadFloat(const Ref<TStream>& s) { return std::bit_cast<float>(ReadLE<std::uint32_t>(s)); }
double ReadDouble(const Ref<TStream>& s) { return std::bit_cast<double>(ReadLE<std::uint64_t>(s)); }

void WriteByte(const Ref<TStream>& s, int v) { WriteLE<std::uint8_t>(s, static_cast<std::uint8_t>(v)); }
void WriteShort(const Ref<TStream>& s, int v) { WriteLE<std::uint16_t>(s, static_cast<std::uint16_t>(v)); }
void WriteInt(const Ref<TStream>& s, int v) { WriteLE<std::uint32_t>(s, static_cast<std::uint32_t>(v)); }
void WriteLong(const Ref<TStream>& s, long long v) { WriteLE<std::uint64_t>(s, static_cast<std::uint64_t>(v)); }
void WriteFloat(const Ref<TStream>& s, float v) { WriteLE<std::uint32_t>(s, std::bit_cast<std::uint32_t>(v)); }
void WriteDouble(const Ref<TStream>& s, double v) { WriteLE<std::uint64_t>(s, std::bit_cast<std::uint64_t>(v)); }

std::string ReadLine(const Ref<TStream>& s) {
    std::string line;
    if (!s) return line;
    char c;
    while (s->Read(&c, 1) == 1) {
        if (c == '\n' || c == '\0') break;
        if (c != '\r') line.push_back(c);
    }
    return line;
}

bool WriteLine(const Ref<TStream>& s, const std::string& text) {
    if (!s) return false;
    std::string line = text + "\r\n";
    int n = static_cast<int>(line.size());
    return s->Write(line.data(), n) == n && !s->Failed();
}

std::string ReadString(const Ref<TStream>& s, int n) {
    if (n <= 0) return {};
    if (!s) throw ReadError();
    std::string out(static_cast<std::size_t>(n), '\0');
    s->ReadExact(out.data(), n);
    return out;
}

void WriteString(const Ref<TStream>& s, const std::string& text) {
    if (text.empty()) return;
    if (!s) throw WriteError();
    s->WriteExact(text.data(), static_cast<int>(text.size()));
}

int ReadBytes(const Ref<TStream>& s, void* buf, int n) {
    if (!s || n <= 0) return 0;
    auto* p = static_cast<std::uint8_t*>(buf);
    int done = 0;
    while (done < n) {
        int got = s->Read(p + done, n - done);
        if (got <= 0) break;
        done += got;
    }
    return done;
}

int WriteBytes(const Ref<TStream>& s, const void* buf, int n) {
    if (!s || n <= 0) return 0;
    return s->Write(buf, n);
}

bool Eof(const Ref<TStream>& s) { return !s || s->Eof(); }
long long StreamPos(const Ref<TStream>& s) { return s ? s->Pos() : 0; }
long long SeekStream(const Ref<TStream>& s, long long pos) { return s ? s->Seek(pos) : 0; }
long long StreamSize(const Ref<TStream>& s) { return s ? s->Size() : 0; }

// --- whole files ------------------------------------------------------------------------

std::vector<std::uint8_t> LoadByteArray(const std::string& url, bool* ok) {
    if (ok) *ok = false;
    Ref<TStream> s = ReadStream(url);
    if (!s) return {};
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(s->Size()));
    std::uint8_t buf[65536];
    // Read to the real end: some files (under /proc) report a size of 0.
    for (;;) {
        int got = s->Read(buf, static_cast<int>(sizeof buf));
        if (got <= 0) break;
        out.insert(out.end(), buf, buf + got);
    }
    if (ok) *ok = true;
    return out;
}

namespace {

void PutCode(std::string& out, std::uint32_t code) { out.push_back(code <= 0xFF ? static_cast<char>(code) : '?'); }

std::string DecodeUtf16(const std::vector<std::uint8_t>& b, std::size_t start, bool bigEndian) {
    std::string out;
    for (std::size_t i = start; i + 1 < b.size(); i += 2) {
        std::uint32_t unit = bigEndian ? (b[i] << 8 | b[i + 1]) : (b[i + 1] << 8 | b[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < b.size()) {
            std::uint32_t low = bigEndian ? (b[i + 2] << 8 | b[i + 3]) : (b[i + 3] << 8 | b[i + 2]);
            if (low >= 0xDC00 && low <= 0xDFFF) i += 2;  // one character beyond 8 bits
            out.push_back('?');
            continue;
        }
        PutCode(out, unit);
    }
    return out;
}

}  // namespace

std::string LoadText(const std::string& url, bool* ok) {
    std::vector<std::uint8_t> b = LoadByteArray(url, ok);
    if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        std::string_view rest(reinterpret_cast<const char*>(b.data()) + 3, b.size() - 3);
        return FromUtf8(rest);
    }
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) return DecodeUtf16(b, 2, false);
    if (b.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) return DecodeUtf16(b, 2, true);
    return std::string(b.begin(), b.end());
}

}  // namespace plat
