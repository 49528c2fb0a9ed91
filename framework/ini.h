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
    // write; a file that holds them already is not written again).  A file
    // that cannot be written is reported through ReportError with "Failed to
    // save file " + path + " (" + the system's reason + ")", which ends the
    // program.  Nothing is written while Unreadable is set.
    virtual void Save();
    // Updates every line whose name matches a key of the file, then Save().
    // A missing file is no error: the defaults stay and the file is created.
    virtual void Load();
    // Load() without the Save(): updates the lines from the file.  False when
    // the file is damaged (see Damage).
    bool Read();
    // Read() from another file: `path` as it stands.
    bool ReadFrom(const std::string& path);

    // What the last read found wrong with the file ("not a text file": a
    // NUL or another control character, whose lines are not read), "" when
    // nothing.
    std::string Damage;
    // The last read found a file that exists but cannot be read (no
    // permission, a FIFO or folder in its place): the player was told, and
    // nothing is saved over it for the rest of the run.
    bool Unreadable = false;

    // The file's text as Save writes it.
    std::string Text() const;

    // FileName + ".ini".
    std::string Path() const { return FileName + ".ini"; }
};

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
