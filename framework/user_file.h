#pragma once
// The files a player keeps (settings, keys, scores): one road for reading
// and saving them, so that none of them is ever replaced without his
// knowing.  A file that exists but cannot be read is never saved over; a
// damaged one is kept as ".bad" before it is repaired (ReportDamagedFile).

#include <cstddef>
#include <string>
#include <vector>

#include "platform/io/stream.h"

namespace fw {

// The most of a player's text file that is read: a settings or key file
// takes a few hundred bytes, so anything past this is damage.
inline constexpr std::size_t MaxUserTextBytes = 64 * 1024;

// The lines of a player's text file.  A line ends at a line feed, a
// carriage return and line feed, or a carriage return alone.
struct UserText {
    plat::UserFileRead::State state = plat::UserFileRead::MISSING;
    // The lines that are text; a line holding a NUL or another control
    // character but the tab is left out.
    std::vector<std::string> lines;
    // What makes the file a damaged one ("not a text file", "larger than
    // 65536 bytes"), "" when nothing does.
    std::string damage;
    std::string reason;  // UNREADABLE: why
};
UserText ReadUserText(const std::string& path);
// Splits bytes into the lines of a UserText (`damage` and `lines` only).
UserText SplitUserText(const std::vector<std::uint8_t>& bytes);

// Tells the player (error output and error log) that his file `path` exists
// but cannot be read: the defaults are used and the file stays as it is.
void ReportUnreadableFile(const std::string& path, const std::string& reason);

// Saves `bytes` atomically as `path` unless the file holds them already.
// When it cannot be saved: ReportError("Failed to save file " + shownName +
// " (" + the system's reason + ")", 1), which ends the program.
void SaveUserFile(const std::string& path, const std::string& bytes, const std::string& shownName);

}  // namespace fw
