#pragma once
// TProfile: one player's saved progress (level reached, score, lives, time,
// difficulty, which hints were shown), kept as Name + ".dat" in the shell's
// profiles folder.  The shell saves the current profile when the program is
// closed during play.
//
// The file is 440 bytes, little-endian, then whatever the game's
// SaveUserFunction adds: the five Ints CurrentLevel, LockedLevel, Score,
// Lives and Kills, each stored as value + i x 3187402 + 5920317 (i = 0..4,
// wrapping at 32 bits); TimeTaken as a double; Difficulty, TipsFlag and
// InstructionsFlag; then the 100 HintsShown entries.  It is written
// atomically, so a failed save leaves the old file as it was.
//
// The name becomes a file name: a name that is empty, holds "/", "\",
// ".." or a control character is refused (nothing is read or written).

#include <array>
#include <functional>
#include <string>

#include "platform/core/object.h"
#include "platform/io/stream.h"

namespace fw {

class TProfile : public plat::Object {
public:
    static constexpr int MAX_HINTS = 100;
    // The scrambled Ints, the double and the three plain Ints before the hints.
    static constexpr int FixedPartBytes = 40;
    static constexpr int RecordBytes = FixedPartBytes + 4 * MAX_HINTS;

    std::string Name;
    int CurrentLevel = 0;
    int LockedLevel = 0;     // the first level not yet open
    int Score = 0;
    int Lives = 0;
    int Kills = 0;
    double TimeTaken = 0;
    int Difficulty = 0;
    int TipsFlag = 0;        // 1: show tips
    int InstructionsFlag = 0;
    std::array<int, MAX_HINTS> HintsShown{};  // 1 where that hint was shown
    // The game's own data after the record: written by the first, read
    // back by the second.
    std::function<void(const plat::Ref<plat::TStream>&)> SaveUserFunction, LoadUserFunction;

    // A new profile with the starting values, handed to ProfileCreateFunction.
    static plat::Ref<TProfile> Create(const std::string& name);
    // Level 1, level 2 locked, 3 lives, tips and instructions on, no hints.
    virtual void Init(const std::string& name);
    virtual void ClearHints();
    virtual void HintsSet(int value);
    // 1 when written.  A file that cannot be written, or a refused name, is
    // reported through ReportError ("Could not create file '" + path + "'",
    // which ends the program) and the old file is kept.
    virtual int Save();
    // 1 when the file was read.  0 for a refused name, and for a missing
    // file, which Save writes with the current values.  A file too short
    // for the record's fixed part, or whose game data ends early, counts
    // as missing: it is reported and kept beside as ".bad", and the values
    // read so far stay.  A file with fewer than 100 hints leaves the rest 0.
    virtual int Load();
    // 1 the first time hint `index` (0..99) is shown, saving when `save`;
    // 0 after that and for an index outside the hints.
    virtual int ShowHint(int index, int save);

    // The shell's profiles folder + Name + ".dat".
    std::string Path() const;
};

// Called with each profile Create makes (none: nothing is called).
extern std::function<void(TProfile&)> ProfileCreateFunction;

// Whether a name can be a profile's file name inside the profiles folder.
bool IsSafeProfileName(const std::string& name);

}  // namespace fw
