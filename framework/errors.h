#pragma once
// Reporting expected failures.  Before the game window exists a failure is a
// system message box plus a raised error (which ends the program with -1);
// once the window is open it is a modal panel inside the window that waits
// for a key or a click, and a copy in "ErrorLog.txt".

#include <exception>
#include <functional>
#include <string>

#include "platform/core/error.h"

namespace fw {

// 0: system box and raised error; 1: in-game panel and log.
extern int ErrorReportMode;
// Folder of "ErrorLog.txt" (with its trailing slash); the shell sets it to
// its shared data folder.  Empty: the current folder.
extern std::string ErrorLogFolder;
// The start-up step in progress; only ReportException reads it.
extern int StartupStage;

// What ReportError raises before the window exists: the message was shown
// in a system message box already.
class ReportedError : public plat::RuntimeError {
public:
    using plat::RuntimeError::RuntimeError;
};

// The exit code after a fatal reported error.
inline constexpr int ErrorExitCode = -1;

// Reports `message`.  Mode 0: Notify, then raises ReportedError(message).
// Mode 1: the log, then the panel; with endProgram non-zero the message goes
// to the error output too and the program ends with ErrorExitCode, otherwise
// the input mode is restored and it returns.
void ReportError(const std::string& message, int endProgram);
// The modal panel of width x height window pixels, centred on the window,
// until a key (0..255) or mouse button 1..3 is hit or a close request
// (the window's close button, SIGTERM) arrives.
void ShowMessageBox(const std::string& message, int width, int height);
// "Date: 23 Apr 2010", "Time: 14:05:09" and the message, each ending in CR LF,
// to ErrorLogFolder + "ErrorLog.txt" (replacing it); nothing when it cannot
// be written.
void WriteErrorLog(const std::string& message);
// Adds "Date: ", "Time: " and the message lines to the error log: the first
// entry of a run replaces the log of an earlier run, later ones go below it.
void AppendErrorLog(const std::string& message);
// A damaged user file that is about to be replaced by repaired contents:
// keeps what it holds now as `copy` (path + ".bad" when empty) and says so,
// naming `damage`, on the error output and in the error log.  False when no
// copy could be kept: the caller then leaves the file as it is.
bool ReportDamagedFile(const std::string& path, const std::string& damage, std::string copy = "");

// Top-level handler for an error that ends the program: closes the
// graphics, shows the pointer, shows the text in a system box (with a copy
// on the error output) unless ReportError showed it already, and adds it to
// the error log (run-time errors get "(" + StartupStage + ") " in front when
// the stage is not 0).
void ReportException(std::exception_ptr caught);

// The path of the log file.
std::string ErrorLogPath();

// Called after each frame the panel presents (tests watch the panel with it
// and press the key that closes it).  An empty function removes it.
void SetMessageBoxFrameHook(std::function<void(int frame)> hook);

}  // namespace fw
