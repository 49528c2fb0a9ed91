#pragma once
// Errors are exceptions that carry the system's own text.  An error nobody
// catches ends the program with its text on the error output and exit -1.

#include <stdexcept>
#include <string>

namespace plat {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const std::string& text) : std::runtime_error(text) {}
};

// A read past the end of a stream (or a failed read).
class ReadError : public RuntimeError {
public:
    ReadError() : RuntimeError("Error reading from stream") {}
    explicit ReadError(const std::string& text) : RuntimeError(text) {}
};

class WriteError : public RuntimeError {
public:
    WriteError() : RuntimeError("Error writing to stream") {}
    explicit WriteError(const std::string& text) : RuntimeError(text) {}
};

// Something could not be decoded or loaded (image, font, sound...).
class LoadError : public RuntimeError {
public:
    explicit LoadError(const std::string& text) : RuntimeError(text) {}
};

// The process exit code after an uncaught error.
inline constexpr int kFatalExitCode = -1;

}  // namespace plat
