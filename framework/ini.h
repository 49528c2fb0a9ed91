#pragma once
// Settings files of KEY=value lines.  The program first adds every key it
// knows with its default, then loads the file (which only updates keys that
// are already there) and writes it straight back, so the file on disk always
// holds exactly the known keys, in the program's order.

#include <string>

#include "platform/core/list.h"
#include "platform/core/object.h"
#include "platform/io/stream.h"

namespace fw {

class TIniLine : public plat::Object {
public:
    std::string Name;   // always upper case
    std::string Value;  // exactly as read or given (no trimming)
};

class TIniFile : public plat::TList<TIniLine> {
public:
    // Path of the file without its extension; ".ini" is added on every load
    // and save.
    std::string FileName;

    // Appends a line; the caller adds each key once.
    virtual void Add(const std::string& name, const std::string& value);
    // Writes every line in order (atomically: the old file survives a failed
    // write).  A file that cannot be written is reported through ReportError
    // with "Failed to save file " + path, which ends the program.
    virtual void Save();
    // Updates every line whose name matches a key of the file, then Save().
    // A missing file is no error: the defaults stay and the file is created.
    virtual void Load();
    // Load() without the Save(): updates the lines from the file.  False when
    // the file holds bytes no text file has (a NUL or another control
    // character), a sign that it was damaged.
    bool Read();

    // FileName + ".ini".
    std::string Path() const { return FileName + ".ini"; }
};

// Whether a line read from a text file holds only text: no NUL and no other
// control character but the tab (and the carriage return of a CR LF end).
bool IsTextLine(const std::string& line);
// The text before the first "=" (the whole line when there is none), case kept.
std::string IniKey(const std::string& line);
// The text after the first "=" ("" when there is none).
std::string IniValue(const std::string& line);

// The value of the first line of the file whose key matches `key` (case
// ignored); "" when none matches or the file cannot be read.
std::string IniReadValue(const std::string& path, const std::string& key);
// Copies `source` to `target` line by line, writing KEY=value in place of
// every line whose key matches.  The target is written atomically.  Returns 1
// on success; 0 when the source cannot be read (the target is left
// untouched) or the target cannot be written.
int ReplaceIniValue(const std::string& source, const std::string& target, const std::string& key,
                    const std::string& value);
// One KEY=value line (KEY upper-cased) ending in CR LF; false when the write
// failed.
bool WriteIniInt(const plat::Ref<plat::TStream>& stream, const std::string& key, int value);
bool WriteIniString(const plat::Ref<plat::TStream>& stream, const std::string& key,
                    const std::string& value);

}  // namespace fw
