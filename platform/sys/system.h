#pragma once
// System services: messages to the user, the system's name and memory,
// process priority, ending the program.

#include <string>

namespace plat {

// A system message box (never blocking when there is no display) plus a
// copy on the error output.  `serious` marks an error.
void Notify(const std::string& text, bool serious = false);
// A line on the standard output.
void Print(const std::string& text);
// A line on the error output.
void PrintError(const std::string& text);

// "Linux 6.1.0" and the like.
std::string OSName();

struct MemoryStatus {
    long long totalBytes = 0;
    long long availableBytes = 0;
    long long processResidentBytes = 0;
};
MemoryStatus QueryMemory();

// For start-up measurements: one line on the standard output saying that
// `frames` frames are drawn, the moment (the monotonic clock, in
// nanoseconds, the clock other processes read too) and the resident memory.
void ReportFramesDrawn(int frames);

// Process / thread niceness; lack of permission is silently ignored.
// level: 0 normal, 1 above normal, 2 high (negative values lower it).
void SetProcessPriority(int level);
void SetThreadPriority(int level);

// Ends the program with `code` (after the layer shuts down cleanly).
[[noreturn]] void End(int code);

// Runs `body` and turns an uncaught error into its text on the error output
// and exit code -1: the one place the program's main catches errors.
int RunProgram(int (*body)());

}  // namespace plat
