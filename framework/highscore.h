#pragma once
// The high-score table and its small binary file.
//
// File: records up to the end of the file, each the name bytes (character
// code - NameShift, AND 255), a 0 byte, then score and level as signed
// 32-bit little-endian Ints.  No header, no count.

#include <string>

#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

// The fixed shift of the name bytes, the same for every file.
inline constexpr int NameShift = 7;
// Longest name kept in the file; longer names are cut when saving, and a run
// of more name bytes without a terminator marks the rest of a file as damaged.
inline constexpr int MaxStoredNameLength = 255;
// The most of a file Load reads: a table of 8 rows takes at most 2 KiB, so
// anything past this is damage, and a huge file costs no memory.
inline constexpr int MaxScoreFileBytes = 64 * 1024;

// The rows of the table: eight, as the defaults; a file with more was not
// written by the game.
inline constexpr int TableRows = 8;

class THighScore : public plat::Object {
public:
    THighScore() = default;
    THighScore(std::string name_, int score_, int level_)
        : name(std::move(name_)), score(score_), level(level_) {}
    std::string name;
    int score = 0;  // the order key
    int level = 0;  // the area reached
};

class THighScoreList : public plat::TList<THighScore> {
public:
    std::string filepath;   // full path, extension included
    int MaxNameLength = 10; // stored for the name-entry code; never enforced here
    // The last Load found a file that exists but cannot be read: the player
    // was told, and nothing is saved over it for the rest of the run.
    bool Unreadable = false;

    // Clears the list; filepath = name + ".dat".
    virtual void Create(const std::string& name, int maxNameLength);
    // Appends a row.
    virtual void Add(const std::string& name, int score, int level);
    // Inserts before the first row whose score is <= the new one (so an equal
    // score goes above the old row), or appends.
    virtual void Insert(const std::string& name, int score, int level);
    // Reads the table in file order.  A missing file gives the default
    // table, saved at once.  One that exists but cannot be read gives the
    // default table in memory, with a message, and sets Unreadable.  A
    // damaged file (one that ends inside a record, is larger than
    // MaxScoreFileBytes, begins with a text file's byte-order mark, holds
    // rows with a name that is not printable text, with a negative score or
    // with neither a name nor a score, or more than TableRows rows) keeps its best TableRows complete, valid rows in the file's
    // order; the damaged file is kept as filepath + ".bad" and replaced by
    // those rows, with a message (see ReportDamagedFile).  Returns the
    // number of rows in the table afterwards (0 for an empty or wholly
    // damaged file).
    virtual int Load();
    // Writes the table atomically (not when the file holds it already); a
    // failure is reported through ReportError with "Failed to save file " +
    // filepath + " (" + the system's reason + ")", which ends the program.
    // Nothing is written while Unreadable is set.
    virtual void Save();
    // Appends the eight default rows (no clearing first) and saves.
    virtual void CreateDefault();
    // Clears, appends `count` rows "Empty" 0 0 and saves.
    virtual void Zero(int count);
};

}  // namespace fw
