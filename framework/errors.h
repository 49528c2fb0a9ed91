#pragma once
// Reporting expected failures.  Before the game window exists a failure is a
// system message box plus a raised error (which ends the program with -1);
// once the window is open it is a modal panel inside the window that waits
// for a key or a click, and a copy in "ErrorLog.txt".

#include <exception>
#include <functional>
#include <string>

namespace fw {

// 0: system box and raised error; 1: in-game panel and log.
extern int ErrorReportMode;
// Folder of "ErrorLog.txt" (with its trailing slash); the shell sets it to
// its shared data folder.  Empty: the current folder.
extern std::string ErrorLogFolder;
// The start-up step in progress; only ReportException reads it.
extern int StartupStage;

// The exit code after a fatal reported error.
inline constexpr int ErrorExitCode = -1;

// Reports `message`.  Mode 0: Notify, then raises plat::RuntimeError(message).
// Mode 1: the panel, then the log; with endProgram non-zero the program ends
// with ErrorExitCode, otherwise the input mode is restored and it returns.
void ReportError(const std::string& message, int endProgram);
// The modal panel of width x height window pixels, centred on the window,
// until a key (0..255) or mouse button 1..3 is hit.
void ShowMessageBox(const std::string& message, int width, int height);
// "Date: 23 Apr 2010", "Time: 14:05:09" and the message, each ending in CR LF,
// to ErrorLogFolder + "ErrorLog.txt" (replacing it); nothing when it cannot
// be written.
void WriteErrorLog(const std::string& message);
// Top-level handler for a caught error: closes the graphics, shows the
// pointer, shows the text in a system box and logs it (run-time errors get
// "(" + StartupStage + ") " in front when the stage is not 0).
void ReportException(std::exception_ptr caught);

// The path of the log file.
std::string ErrorLogPath();

// Called after each frame the panel presents (tests watch the panel with it
// and press the key that closes it).  An empty function removes it.
void SetMessageBoxFrameHook(std::function<void(int frame)> hook);

}  // namespace fw
