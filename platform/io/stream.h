#pragma once
// Streams: files, memory and banks behind one interface, read and written
// little-endian.  A read past the end raises ReadError ("Error reading from
// stream"); opening a missing file gives nullptr, never an exception.
//
// Every path goes through the case-insensitive resolver of fs.h, and a
// "littleendian::" prefix is accepted (and ignored: streams are little-endian).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/bank.h"
#include "platform/core/object.h"

namespace plat {

class TStream : public Object {
public:
    // Reads up to n bytes, returns how many were read (0 at the end).
    virtual int Read(void* buf, int n) = 0;
    // Writes n bytes, returns how many were written.
    virtual int Write(const void* buf, int n) = 0;
    virtual bool Eof() = 0;
    virtual long long Pos() = 0;
    // Absolute position; returns the new position (clamped to 0..Size for
    // reading streams).
    virtual long long Seek(long long pos) = 0;
    virtual long long Size() = 0;
    virtual bool Flush() { return true; }
    // Returns false when pending data could not be written.
    virtual bool Close() { return true; }
    // True once a write or flush has failed (disk full, ...).
    virtual bool Failed() const { return false; }
    // The system's error number of the first failure, 0 when none is known.
    virtual int ErrorCode() const { return 0; }

    // Exact reads: all bytes or ReadError.
    void ReadExact(void* buf, int n);
    void WriteExact(const void* buf, int n);  // WriteError when short
};

// --- opening ---------------------------------------------------------------
Ref<TStream> ReadStream(const std::string& url);   // nullptr on failure
Ref<TStream> WriteStream(const std::string& url);  // create or truncate; nullptr on failure
// read && write: an existing file opened without truncation (nullptr when
// missing); read only / write only as ReadStream / WriteStream.
Ref<TStream> OpenStream(const std::string& url, bool read = true, bool write = true);
inline Ref<TStream> OpenFile(const std::string& url, bool read = true, bool write = true) {
    return OpenStream(url, read, write);
}
inline Ref<TStream> ReadFile(const std::string& url) { return ReadStream(url); }
inline Ref<TStream> WriteFile(const std::string& url) { return WriteStream(url); }
bool CloseStream(const Ref<TStream>& s);
inline bool CloseFile(const Ref<TStream>& s) { return CloseStream(s); }

// A stream over bytes in memory (a copy), or over a bank (shared).
Ref<TStream> CreateMemoryStream(std::vector<std::uint8_t> bytes);
Ref<TStream> CreateBankStream(const Ref<TBank>& bank);
// The layer's streams are already little-endian: returns the stream itself.
Ref<TStream> LittleEndianStream(const Ref<TStream>& s);

// --- atomic saving ------------------------------------------------------------
// A stream that writes into a temporary file beside `url`.  CommitStream
// flushes, syncs and renames it over the target only when every write
// succeeded; otherwise (or when the stream is dropped uncommitted) the
// temporary file is removed and the old file stays as it was.  Closing an
// atomic stream (CloseStream) commits it the same way.  When `url` is a
// symbolic link, the file it points to is replaced and the link stays.
Ref<TStream> WriteStreamAtomic(const std::string& url);
bool CommitStream(const Ref<TStream>& s);
// Whole-file convenience over the two above.  On failure `reason` (when
// given) gets the system's words for it ("No space left on device").
bool SaveBytesAtomic(const std::string& url, const std::vector<std::uint8_t>& bytes,
                     std::string* reason = nullptr);
bool SaveTextAtomic(const std::string& url, const std::string& text, std::string* reason = nullptr);
// A new name for a temporary file beside `target`, hidden and unique to
// this process and call: what atomic saves write into before the rename.
std::string TempFileBeside(const std::string& target);
// Removes the temporary files that atomic saves into `folder` left behind
// when their process was killed half-way (those of processes that are gone).
void RemoveStaleTempFiles(const std::string& folder);

// --- files a player keeps ----------------------------------------------------
// What reading a player's file found.  Only a regular file is read, and
// never with a wait: a FIFO, a device or a folder at its place counts as a
// file that exists but cannot be read, like one without read permission.
struct UserFileRead {
    enum State { MISSING, READ, UNREADABLE };
    State state = MISSING;
    std::vector<std::uint8_t> bytes;  // at most the limit
    bool larger = false;              // the file holds more than the limit
    std::string reason;               // UNREADABLE: why ("Permission denied", "not a regular file")
};
UserFileRead ReadUserFile(const std::string& url, std::size_t limit);

// --- reading and writing values (little-endian) --------------------------
int ReadByte(const Ref<TStream>& s);    // 0..255
int ReadShort(const Ref<TStream>& s);   // 0..65535
int ReadInt(const Ref<TStream>& s);     // signed 32-bit
long long ReadLong(const Ref<TStream>& s);
float ReadFloat(const Ref<TStream>& s);
double ReadDouble(const Ref<TStream>& s);
void WriteByte(const Ref<TStream>& s, int v);
void WriteShort(const Ref<TStream>& s, int v);
void WriteInt(const Ref<TStream>& s, int v);
void WriteLong(const Ref<TStream>& s, long long v);
void WriteFloat(const Ref<TStream>& s, float v);
void WriteDouble(const Ref<TStream>& s, double v);

// A line ends at LF, a 0 byte or the end of the stream; every CR in it is
// dropped.  Reading at the end gives "".
std::string ReadLine(const Ref<TStream>& s);
// The text followed by CR LF; false when the write failed.
bool WriteLine(const Ref<TStream>& s, const std::string& text);
// Exactly n bytes as text, or ReadError.
std::string ReadString(const Ref<TStream>& s, int n);
void WriteString(const Ref<TStream>& s, const std::string& text);
int ReadBytes(const Ref<TStream>& s, void* buf, int n);  // short count at the end
int WriteBytes(const Ref<TStream>& s, const void* buf, int n);

bool Eof(const Ref<TStream>& s);
long long StreamPos(const Ref<TStream>& s);
long long SeekStream(const Ref<TStream>& s, long long pos);
long long StreamSize(const Ref<TStream>& s);

// --- whole files ---------------------------------------------------------
// The whole file, or an empty vector when it cannot be read (ok = false).
std::vector<std::uint8_t> LoadByteArray(const std::string& url, bool* ok = nullptr);
// Text: UTF-8 / UTF-16 with a byte-order mark are decoded (characters above
// 255 become '?'); anything else is taken as 8-bit text.
std::string LoadText(const std::string& url, bool* ok = nullptr);
bool SaveText(const std::string& url, const std::string& text);  // atomic

}  // namespace plat
